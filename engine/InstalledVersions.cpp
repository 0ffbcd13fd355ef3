#include "InstalledVersions.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "AnsiText.h"
#include "PlinthWrappers.h"
#include "ZipNames.h"

BOOL(WINAPI* g_pfnVersionsFindNextFileW)(HANDLE, LPWIN32_FIND_DATAW) = &FindNextFileW;

namespace {
// Upper case as the file system compares names: LCMAP_UPPERCASE without
// linguistic casing, in the invariant locale (no Turkish dotted I).
std::wstring Upper(const std::wstring& text)
{
    std::wstring upper(text);
    if (!upper.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()), &upper[0],
                     static_cast<int>(upper.size()));
    return upper;
}

// A name that no other spelling reaches: no short-name tilde, no wildcard,
// stream colon or other character that a name cannot hold, and no trailing
// dot or blank, which the platform strips.
bool IsPlainName(const std::wstring& upperName)
{
    if (upperName.empty() || upperName == L"." || upperName == L"..")
        return false;
    for (wchar_t c : upperName)
        if (c < 0x20 || std::wcschr(L"\"*/:<>?\\|~", c))
            return false;
    return upperName.back() != L'.' && upperName.back() != L' ' && !plinth::IsReservedDevice(upperName);
}

// The directory part of a key, with its trailing backslash.
std::wstring DirectoryOf(const std::wstring& key)
{
    return key.substr(0, key.rfind(L'\\') + 1);
}
}

std::wstring CInstalledVersions::PlainKey(const char* pszPath)
{
    return KeyOf(AnsiToWide(pszPath));
}

std::wstring CInstalledVersions::KeyOf(const std::wstring& path)
{
    const std::wstring key = Upper(path);
    if (key.size() < 4 || key.size() >= MAX_PATH || key[0] < L'A' || key[0] > L'Z' || key[1] != L':'
        || key[2] != L'\\')
        return {};
    for (size_t nStart = 3;;) {
        const size_t nSlash = key.find(L'\\', nStart);
        if (!IsPlainName(key.substr(nStart, nSlash == std::wstring::npos ? nSlash : nSlash - nStart)))
            return {};
        if (nSlash == std::wstring::npos)
            return key;
        nStart = nSlash + 1;
    }
}

void CInstalledVersions::Read(const char* pszPath, char* pszOut)
{
    m_strAnsweredAbsent.clear();
    const std::wstring path = AnsiToWide(pszPath);
    if (!IsKnownAbsent(path, KeyOf(path))) {
        GetVers(pszPath, pszOut);
        return;
    }
    if (!m_bAbsentTextKnown) {
        // Asked for a name that no file can have ("|" is forbidden in names),
        // so that a file that has appeared since the listing cannot lend its
        // version to every missing file. A library that cannot be called
        // writes nothing: it is asked each time.
        const CString strImpossible = WideToAnsi((path.substr(0, path.rfind(L'\\') + 1) + L"|").c_str());
        std::memset(m_szAbsentText, 0, sizeof m_szAbsentText);
        if (GetVers(strImpossible, m_szAbsentText) == PLINTH_NOT_RESOLVED) {
            GetVers(pszPath, pszOut);
            return;
        }
        m_bAbsentTextKnown = true;
    }
    std::memcpy(pszOut, m_szAbsentText, sizeof m_szAbsentText);
    m_strAnsweredAbsent = pszPath;
}

bool CInstalledVersions::AnsweredAbsent(const char* pszPath) const
{
    return !m_strAnsweredAbsent.empty() && m_strAnsweredAbsent == pszPath;
}

void CInstalledVersions::FileWritten(const char* pszPath)
{
    const std::wstring key = PlainKey(pszPath);
    if (key.empty())
        m_listings.clear();  // it may be a listed file by another name
    else
        Add(key);
}

void CInstalledVersions::ChainMade(const char* pszDirectory)
{
    std::wstring directory = AnsiToWide(pszDirectory);
    while (!directory.empty() && directory.back() == L'\\')
        directory.pop_back();
    if (directory.size() == 2 && directory[1] == L':')
        return;  // a drive's root: no level to make
    const std::wstring key = KeyOf(directory);
    if (key.empty()) {
        m_listings.clear();  // it may have made a level of a listed directory by another name
        return;
    }
    // Any level may be new: each is a name in its parent's listing.
    for (size_t nSlash = key.find(L'\\', 3);; nSlash = key.find(L'\\', nSlash + 1)) {
        Add(key.substr(0, nSlash));
        if (nSlash == std::wstring::npos)
            return;
    }
}

void CInstalledVersions::LibraryChanged()
{
    m_bAbsentTextKnown = false;
}

void CInstalledVersions::Reset()
{
    m_listings.clear();
    m_strAnsweredAbsent.clear();
    LibraryChanged();
}

bool CInstalledVersions::IsKnownAbsent(const std::wstring& path, const std::wstring& key)
{
    if (key.empty())
        return false;
    const std::wstring directory = DirectoryOf(key);
    auto listing = m_listings.find(directory);
    if (listing == m_listings.end()) {
        WIN32_FIND_DATAW data;
        HANDLE hFind = FindFirstFileW((path.substr(0, directory.size()) + L"*").c_str(), &data);
        if (hFind == INVALID_HANDLE_VALUE) {
            // A directory that is not there holds nothing (until a chain makes it).
            const DWORD dwError = GetLastError();
            if (dwError != ERROR_FILE_NOT_FOUND && dwError != ERROR_PATH_NOT_FOUND)
                return false;
        }
        std::set<std::wstring> names;
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                names.insert(Upper(data.cFileName));
                if (data.cAlternateFileName[0])
                    names.insert(Upper(data.cAlternateFileName));
            } while (g_pfnVersionsFindNextFileW(hFind, &data));
            const DWORD dwError = GetLastError();
            FindClose(hFind);
            // A listing cut short (a share that hiccups) would hide files.
            if (dwError != ERROR_NO_MORE_FILES)
                return false;
        }
        listing = m_listings.emplace(directory, std::move(names)).first;
    }
    return listing->second.count(key.substr(directory.size())) == 0;
}

void CInstalledVersions::Add(const std::wstring& key)
{
    auto listing = m_listings.find(DirectoryOf(key));
    if (listing != m_listings.end())
        listing->second.insert(key.substr(listing->first.size()));
}
