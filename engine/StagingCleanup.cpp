#include "StagingCleanup.h"

#include <string>

#include "CFile.h"
#include "CFileFind.h"

namespace engine {

namespace {
// Cache files that the unpack may leave read-only.
const char* const CACHE_FILES[] = {"OP_CACHE.ATR", "OP_CACHE.IDX"};
}

void RemoveStagingDirectory(const CString& strStaging)
{
    // Held open until the directory itself goes: it cannot be swapped for a
    // link while its entries are deleted.
    bool bRefused = false;
    const HANDLE hDirectory = OpenDirectoryNotLink(strStaging, &bRefused);
    if (hDirectory == INVALID_HANDLE_VALUE)
        return;

    CFileFind finder;
    BOOL bMore = finder.FindFile(strStaging + "\\*.*");
    while (bMore) {
        bMore = finder.FindNextFile();
        if (finder.IsDots())
            continue;
        CString strPath;
        strPath.Format("%s\\%s", static_cast<LPCSTR>(strStaging), static_cast<LPCSTR>(finder.GetFileName()));
        // Subdirectories and read-only files stay, and keep the directory with them.
        if (finder.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT))
            RemoveLink(strPath, finder.IsDirectory());
        else
            DeleteFileA(strPath);
    }
    finder.Close();

    for (const char* pszCache : CACHE_FILES) {
        CString strPath;
        strPath.Format("%s\\%s", static_cast<LPCSTR>(strStaging), pszCache);
        ClearReadOnlyAttribute(strPath);
        DeleteFileA(strPath);
    }
    CloseHandle(hDirectory);
    RemoveDirectoryA(strStaging);
}

bool IsLink(const char* pszPath)
{
    // The entry itself: with a closing backslash, the name would be followed.
    std::string path(pszPath);
    if (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    const DWORD dwAttributes = GetFileAttributesA(path.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

HANDLE OpenDirectoryNotLink(const char* pszPath, bool* pbRefused)
{
    *pbRefused = false;
    const HANDLE hDirectory = CreateFileA(pszPath, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (hDirectory == INVALID_HANDLE_VALUE) {
        *pbRefused = IsLink(pszPath);
        return INVALID_HANDLE_VALUE;
    }
    // By its name too: a file system that opens the link's target all the
    // same still marks the link in its listing.
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool bRead = GetFileInformationByHandle(hDirectory, &info) != FALSE;
    *pbRefused = !bRead || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                 || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsLink(pszPath);
    if (*pbRefused) {
        CloseHandle(hDirectory);
        return INVALID_HANDLE_VALUE;
    }
    return hDirectory;
}

void RemoveLink(const char* pszPath, bool bToDirectory)
{
    // Either call removes the link itself; neither follows it.
    if (bToDirectory)
        RemoveDirectoryA(pszPath);
    else
        DeleteFileA(pszPath);
}

int ClearReadOnlyAttribute(const CString& strPath)
{
    CFileFind finder;
    if (!finder.FindFile(strPath))
        return 1;
    finder.Close();
    try {
        CFileStatus status;
        if (!CFile::GetStatus(strPath, status))
            return 0;
        status.m_attribute &= 0x3E;
        CFile::SetStatus(strPath, status);
    } catch (...) {
        return 0;
    }
    return 1;
}

} // namespace engine
