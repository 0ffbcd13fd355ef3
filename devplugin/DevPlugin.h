#pragma once
#include <windows.h>

#include "CString.h"

// A device plug-in library of the suite, loaded by path. Its 131 entry points
// (DevPluginEntries.def) are resolved leniently: a name the library does not
// export leaves its member null, and the load still succeeds. Each member has
// a wrapper that answers a fixed value when the member is null or when the
// call raised anything at all (PluginGuard.h), so a faulty plug-in never ends
// the program.
//
// No lock: LoadPlugin and FreePlugin must not run while another thread calls a
// wrapper of the same object. Wrappers may run on several threads at once.

constexpr int DEVPLUGIN_NOT_RESOLVED = -1007;
constexpr int DEVPLUGIN_EXCEPTION = -1008;

// A wrapper's result type and what it answers when its member is null
// (NotResolved) and when the call raised (Raised); the list's answers column.
namespace DevPluginAnswers {
struct Common {
    using Result = int;
    static int NotResolved() { return DEVPLUGIN_NOT_RESOLVED; }
    static int Raised() { return DEVPLUGIN_EXCEPTION; }
};
struct Zero {
    using Result = int;
    static int NotResolved() { return 0; }
    static int Raised() { return 0; }
};
struct ZeroMinusOne {
    using Result = int;
    static int NotResolved() { return 0; }
    static int Raised() { return -1; }
};
struct Version {
    using Result = const char*;
    static const char* NotResolved() { return "NULL"; }
    static const char* Raised() { return "CATCH-DevGetVersion"; }
};
struct None {
    using Result = void;
    static void NotResolved() {}
    static void Raised() {}
};
} // namespace DevPluginAnswers

class CDevPlugin {
public:
    CDevPlugin() = default;
    ~CDevPlugin();
    CDevPlugin(const CDevPlugin&) = delete;
    CDevPlugin& operator=(const CDevPlugin&) = delete;

    bool IsLoaded() const { return m_hModule != nullptr; }
    // Loads the library (LoadLibraryA, the path as given) and resolves every
    // member. True when a library is loaded on return; while one is loaded,
    // true at once without looking at the path.
    bool LoadPlugin(LPCSTR pszPath);
    // Releases the library, if any, and clears the handle and every member.
    void FreePlugin();

    // One wrapper per member, with the member's parameters.
#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) \
    DevPluginAnswers::answers::Result wrapper parameters;
#include "DevPluginEntries.def"

    // A string resource of the current resource module, empty when there is
    // none. LoadText's text holds at most 999 bytes, cut before a character
    // that does not fit whole; it stays valid until the same thread's next
    // LoadText.
    static LPCSTR LoadText(UINT nID);
    static CString LoadCString(UINT nID);

    HMODULE m_hModule = nullptr;

    // The members in the list's order, typed as the plug-in exports them;
    // null until resolved. Called directly, they have no guard.
#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) \
    DevPluginAnswers::answers::Result(__stdcall* m_pfn##wrapper) parameters = nullptr;
#include "DevPluginEntries.def"
};
