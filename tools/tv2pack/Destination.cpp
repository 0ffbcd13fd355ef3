#include "Destination.h"

#include "ZipNames.h"

#include <windows.h>

#include <cctype>
#include <cwctype>

namespace destination {

namespace {

constexpr UINT kGbk = 936;

std::wstring Number(std::size_t n)
{
    return std::to_wstring(n);
}

// Splits at backslashes, walking GBK characters (0x5C may be a second byte).
std::vector<std::string> Levels(const std::string& path)
{
    std::vector<std::string> levels(1);
    for (const char* p = path.c_str(); *p;) {
        const char* next = CharNextExA(kGbk, p, 0);
        if (*p == '\\')
            levels.emplace_back();
        else
            levels.back().append(p, next);
        p = next;
    }
    return levels;
}

std::wstring Upper(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

} // namespace

bool ToGbk(const std::wstring& text, std::string& out)
{
    out.clear();
    if (text.empty())
        return true;
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return false;
    out.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        &usedDefault);
    return !usedDefault;
}

std::wstring FromGbk(const std::string& text)
{
    return plinth::DecodeText(text, kGbk);
}

std::vector<std::wstring> NameProblems(const std::wstring& name)
{
    std::vector<std::wstring> problems;
    plinth::NameProblem p = plinth::CheckEntryName(name);
    if (p != plinth::NameProblem::NameOk) {
        problems.push_back(plinth::DecodeText(plinth::NameProblemText(p), CP_UTF8));
        return problems;
    }
    std::wstring upper = Upper(name);
    std::string gbk;
    if (!ToGbk(name, gbk))
        problems.push_back(L"the name has characters without a GBK form, so the configuration cannot name it");
    if (upper == L"TAVIBK.CFG")
        problems.push_back(L"the name is that of the package's own configuration file");
    std::wstring trimmed = upper;
    while (!trimmed.empty() && iswspace(trimmed.back()))
        trimmed.pop_back();
    while (!trimmed.empty() && iswspace(trimmed.front()))
        trimmed.erase(trimmed.begin());
    if (trimmed == L"TAVIBK")
        problems.push_back(L"the update tool never installs a file named TAVIBK");
    if (upper == L"PACKNAME" || upper == L"CNT")
        problems.push_back(L"the name would share its configuration key with the package's " + upper + L" entry");
    if (name.find(L'=') != std::wstring::npos)
        problems.push_back(L"the name holds '=', which a configuration key cannot");
    if (name.front() == L';' || name.front() == L'[')
        problems.push_back(L"the name begins with ';' or '[', which the configuration reader takes as a comment "
                           L"or a section");
    if (iswspace(name.front()))
        problems.push_back(L"the name begins with white space, which the configuration reader drops");
    return problems;
}

std::vector<std::wstring> PathProblems(const std::string& name, const std::string& path)
{
    std::vector<std::wstring> problems;
    if (path.size() > kMaxPath)
        problems.push_back(L"the destination is " + Number(path.size()) + L" bytes long; the update tool reads at most " +
                           Number(kMaxPath));
    if (path.size() <= name.size() + 1 || path.compare(path.size() - name.size(), name.size(), name) != 0 ||
        path[path.size() - name.size() - 1] != '\\') {
        problems.push_back(L"the destination does not end with \"\\" + FromGbk(name) + L"\"");
        return problems;
    }
    std::string dir = path.substr(0, path.size() - name.size()); // with its trailing backslash
    if (dir.size() > kMaxDirectory)
        problems.push_back(L"the destination's directory is " + Number(dir.size()) +
                           L" bytes long; the update tool takes at most " + Number(kMaxDirectory));
    std::vector<std::string> levels = Levels(dir.substr(0, dir.size() - 1));
    const std::string& drive = levels.front();
    if (drive.size() != 2 || drive[1] != ':' || !isalpha(static_cast<unsigned char>(drive[0])))
        problems.push_back(L"the destination does not begin with a drive such as D:\\");
    int below = static_cast<int>(levels.size()) - 1;
    if (below > kMaxLevels)
        problems.push_back(L"the destination lies " + Number(static_cast<std::size_t>(below)) +
                           L" levels below the drive; the update tool creates at most " +
                           Number(static_cast<std::size_t>(kMaxLevels)));
    for (std::size_t i = 1; i < levels.size(); ++i) {
        if (levels[i].empty())
            problems.push_back(L"the destination has an empty directory level");
        else if (levels[i].size() > kMaxLevelName)
            problems.push_back(L"the directory name \"" + FromGbk(levels[i]) + L"\" is " + Number(levels[i].size()) +
                               L" bytes long; the update tool takes at most " + Number(kMaxLevelName));
    }
    return problems;
}

} // namespace destination
