#pragma once
#include <windows.h>

#include <map>
#include <set>
#include <string>

// The version texts of a run's destination files, as the system library's
// GetVers writes them, with one query saved: a destination that the run
// believes is not there gets the text that the library writes for a file
// that is not there, learned once per loaded library from a name that no
// file can have. Asking the platform whether a file is there costs as much
// as the query itself under Wine, which reads the whole directory to answer
// for a missing name: a millisecond per file in a folder of a few thousand.
//
// What the run believes: each destination directory is listed once, when the
// run first asks about a file in it, and the run reports every file it
// writes and every directory chain it makes. Other programs may write into
// the folder meanwhile, so such an answer is only a belief: the caller asks
// AnsweredAbsent and then writes the file only if it is still not there
// (engine::InstallNewFile), falling back to the full version rule when it
// is. Only plain paths are answered from the listings (a drive, single
// backslashes, names without a tilde, wildcard, colon, trailing dot or
// blank, and no device names), and a listing that ends in an error is not
// kept; for any other path the library is asked. Names compare as the file
// system compares them, without regard to case. Used by the worker alone.
class CInstalledVersions {
public:
    // Writes the version text of the file at pszPath into pszOut (1024 bytes).
    void Read(const char* pszPath, char* pszOut);
    // Whether the last Read answered for this path from the listings, as for
    // a file that is not there.
    bool AnsweredAbsent(const char* pszPath) const;
    // The run wrote, or tried to write, this file, or found it there.
    void FileWritten(const char* pszPath);
    // The run made the directory chain of this directory string.
    void ChainMade(const char* pszDirectory);
    // The system library was unloaded or loaded again: its text for a missing
    // file is asked anew.
    void LibraryChanged();
    // Forgets everything, for a new run.
    void Reset();

    // The path as the listings key it, upper case, or empty when it is not plain.
    static std::wstring PlainKey(const char* pszPath);

private:
    static std::wstring KeyOf(const std::wstring& path);
    // Whether the file (its path and key) is believed not to be there: its
    // directory is listed (now, for its first file) and holds no such name.
    bool IsKnownAbsent(const std::wstring& path, const std::wstring& key);
    // Adds the name at the end of key to its directory's listing, if it has one.
    void Add(const std::wstring& key);

    // Upper-case directory, with its trailing backslash: the upper-case names in it.
    std::map<std::wstring, std::set<std::wstring>> m_listings;
    bool m_bAbsentTextKnown = false;
    char m_szAbsentText[1024] = {};  // the size of the caller's buffer
    std::string m_strAnsweredAbsent; // the path of the last Read answered from the listings
};

// The call that continues a listing; a test puts a stand-in here.
extern BOOL(WINAPI* g_pfnVersionsFindNextFileW)(HANDLE, LPWIN32_FIND_DATAW);
