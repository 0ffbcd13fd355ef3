#include "StagingCleanup.h"

#include "CFile.h"
#include "CFileFind.h"

namespace engine {

namespace {
// Cache files that the unpack may leave read-only.
const char* const CACHE_FILES[] = {"OP_CACHE.ATR", "OP_CACHE.IDX"};
}

void RemoveStagingDirectory(const CString& strStaging)
{
    CFileFind finder;
    BOOL bMore = finder.FindFile(strStaging + "\\*.*");
    while (bMore) {
        bMore = finder.FindNextFile();
        if (finder.IsDots())
            continue;
        CString strPath;
        strPath.Format("%s\\%s", static_cast<LPCSTR>(strStaging), static_cast<LPCSTR>(finder.GetFileName()));
        // Subdirectories and read-only files stay, and keep the directory with them.
        DeleteFileA(strPath);
    }
    finder.Close();

    for (const char* pszCache : CACHE_FILES) {
        CString strPath;
        strPath.Format("%s\\%s", static_cast<LPCSTR>(strStaging), pszCache);
        ClearReadOnlyAttribute(strPath);
        DeleteFileA(strPath);
    }
    RemoveDirectoryA(strStaging);
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
