#include "DevPlugin.h"

#include "AfxResource.h"
#include "ListPositions.h"
#include "PluginGuard.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

namespace {

// The list's positions in its order: members and wrappers follow them.
constexpr int kPositions[] = {
#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) position,
#include "DevPluginEntries.def"
};

static_assert(sizeof kPositions / sizeof kPositions[0] == 131, "the list has 131 entry points");
static_assert(PositionsRunFromOne(kPositions), "the list's positions run from 1 to 131 in order");

// The text LoadText answers, terminator included.
constexpr int TEXT_SIZE = 1000;
constexpr WORD GBK_CODE_PAGE = 936;

template <typename Fn>
void Resolve(HMODULE hModule, Fn& pfn, LPCSTR pszName)
{
    // Through void (*)(), the generic function pointer type, to the member's own.
    pfn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(hModule, pszName)));
}

// Stack words that an argument of type T takes in a __stdcall call.
template <typename T>
constexpr int WordsOf()
{
    return static_cast<int>((sizeof(T) + sizeof(DWORD) - 1) / sizeof(DWORD));
}

// Calls a member under the guard: its arguments are laid out as the stack
// words a __stdcall call pushes (a RECT as its four words in place, a WORD
// widened to one) and the answers come from Answers.
template <typename Answers, typename... Parameters>
class GuardedMember {
public:
    using Result = typename Answers::Result;
    using Function = Result(__stdcall*)(Parameters...);

    explicit GuardedMember(Function pfn) : m_pfn(pfn) {}

    Result operator()(Parameters... args) const
    {
        if (!m_pfn)
            return Answers::NotResolved();
        DWORD dwWords[(0 + ... + WordsOf<Parameters>()) + 1] = {};  // one spare: never empty
        int nCount = 0;
        ((std::memcpy(&dwWords[nCount], &args, sizeof args), nCount += WordsOf<Parameters>()), ...);

        DWORD dwResult = 0;
        if (!GuardedPluginCall(reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(m_pfn)), dwWords, nCount,
                               dwResult))
            return Answers::Raised();
        if constexpr (!std::is_void_v<Result>) {
            static_assert(sizeof(Result) == sizeof dwResult, "results come back in eax");
            Result result;
            std::memcpy(&result, &dwResult, sizeof result);
            return result;
        }
    }

private:
    Function m_pfn;
};

template <typename Answers, typename... Parameters>
GuardedMember<Answers, Parameters...> Guarded(typename Answers::Result(__stdcall* pfn)(Parameters...))
{
    return GuardedMember<Answers, Parameters...>(pfn);
}

} // namespace

CDevPlugin::~CDevPlugin()
{
    FreePlugin();
}

bool CDevPlugin::LoadPlugin(LPCSTR pszPath)
{
    if (m_hModule)
        return true;
    m_hModule = LoadLibraryA(pszPath);
    if (!m_hModule)
        return false;
    GuardPluginImports(m_hModule);

    // The plug-in's module is the current resource module while it is bound.
    HINSTANCE hPrevious = AfxGetResourceHandle();
    AfxSetResourceHandle(m_hModule);
#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) \
    Resolve(m_hModule, m_pfn##wrapper, #exportName);
#include "DevPluginEntries.def"
    AfxSetResourceHandle(hPrevious);
    return true;
}

void CDevPlugin::FreePlugin()
{
    if (!m_hModule)
        return;
    FreeLibrary(m_hModule);
    m_hModule = nullptr;
#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) m_pfn##wrapper = nullptr;
#include "DevPluginEntries.def"
}

#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) \
    DevPluginAnswers::answers::Result CDevPlugin::wrapper parameters                 \
    {                                                                                \
        return Guarded<DevPluginAnswers::answers>(m_pfn##wrapper) arguments;        \
    }
#include "DevPluginEntries.def"

LPCSTR CDevPlugin::LoadText(UINT nID)
{
    // One text per thread: a text handed out stays put while other threads
    // load theirs.
    thread_local char szText[TEXT_SIZE];

    CString str = LoadCString(nID);
    LPCSTR psz = str;
    LPCSTR pszEnd = psz;
    while (*pszEnd) {
        LPCSTR pszNext = CharNextExA(GBK_CODE_PAGE, pszEnd, 0);
        if (pszNext - psz > TEXT_SIZE - 1)
            break;
        pszEnd = pszNext;
    }
    std::snprintf(szText, sizeof szText, "%.*s", static_cast<int>(pszEnd - psz), psz);
    return szText;
}

CString CDevPlugin::LoadCString(UINT nID)
{
    CString str;
    str.LoadString(nID);
    return str;
}
