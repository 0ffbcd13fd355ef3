#include "CFile.h"
#include "CFileException.h"

BOOL CFile::GetStatus(LPCSTR pszFileName, CFileStatus& rStatus)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(pszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    if (!GetFullPathNameA(pszFileName, MAX_PATH, rStatus.m_szFullName, nullptr))
        rStatus.m_szFullName[0] = '\0';
    rStatus.m_ctime = CTime(data.ftCreationTime);
    rStatus.m_atime = CTime(data.ftLastAccessTime);
    rStatus.m_mtime = CTime(data.ftLastWriteTime);
    rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes);
    return TRUE;
}

void CFile::SetStatus(LPCSTR pszFileName, const CFileStatus& status)
{
    // Times first: FILE_WRITE_ATTRIBUTES is granted on a read-only file too, and
    // the attribute byte, written last, may be the one that makes it read-only.
    HANDLE hFile = CreateFileA(pszFileName, FILE_WRITE_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        throw CFileException(GetLastError(), pszFileName);
    const FILETIME ftCreation = status.m_ctime.ToFileTime();
    const FILETIME ftAccess = status.m_atime.ToFileTime();
    const FILETIME ftWrite = status.m_mtime.ToFileTime();
    const BOOL bTimesSet = SetFileTime(hFile, &ftCreation, &ftAccess, &ftWrite);
    const DWORD dwError = GetLastError();
    CloseHandle(hFile);
    if (!bTimesSet)
        throw CFileException(dwError, pszFileName);

    const DWORD dwAttributes = status.m_attribute ? status.m_attribute : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileAttributesA(pszFileName, dwAttributes))
        throw CFileException(GetLastError(), pszFileName);
}
