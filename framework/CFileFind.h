#pragma once
#include <windows.h>
#include "CString.h"

// Enumerates the files that match a path or pattern. After FindFile, each
// FindNextFile makes the next match current and answers whether another one
// follows, so the usual loop is:
//     BOOL bMore = finder.FindFile(pattern);
//     while (bMore) { bMore = finder.FindNextFile(); ...use the current match... }
class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search; FALSE when nothing matches. A null pattern means "*.*".
    BOOL FindFile(LPCSTR pszName = nullptr);
    BOOL FindNextFile();
    void Close();

    BOOL IsDots() const;
    BOOL IsDirectory() const;
    // Whether the current match has any of the attributes in the mask.
    BOOL MatchesMask(DWORD dwMask) const;
    CString GetFileName() const;   // name with extension
    CString GetFileTitle() const;  // name without extension

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_next{};     // the match that the next FindNextFile makes current
    WIN32_FIND_DATAA m_current{};
    bool m_bHasNext = false;
    bool m_bHasCurrent = false;
};
