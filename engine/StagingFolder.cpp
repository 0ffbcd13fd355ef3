#include "StagingFolder.h"

#include <cstdio>
#include <string>

#include "StagingCleanup.h"
#include "UpdateRun.h"

namespace {

constexpr DWORD LOCK_POLL_MS = 200;

std::string StagingPath(const char* pszUpdateDir)
{
    return std::string(pszUpdateDir) + "\\" + engine::STAGING_NAME;
}

// The lock's name: the folder's volume serial number and file index, which
// every spelling of the folder shares; the folder's full path in upper case
// where the file system gives no index.
std::string LockName(const char* pszUpdateDir)
{
    char szName[MAX_PATH + 64];
    const HANDLE hFolder = CreateFileA(pszUpdateDir, FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool bKnown = hFolder != INVALID_HANDLE_VALUE && GetFileInformationByHandle(hFolder, &info)
        && (info.nFileIndexHigh | info.nFileIndexLow) != 0;
    if (hFolder != INVALID_HANDLE_VALUE)
        CloseHandle(hFolder);
    if (bKnown) {
        snprintf(szName, sizeof szName, "Global\\TAVIUpdata.Staging.%08lX.%08lX%08lX", info.dwVolumeSerialNumber,
                 info.nFileIndexHigh, info.nFileIndexLow);
        return szName;
    }
    char szFull[MAX_PATH] = {};
    const DWORD nLength = GetFullPathNameA(pszUpdateDir, sizeof szFull, szFull, nullptr);
    std::string strName = "Global\\TAVIUpdata.Staging.";
    strName += nLength > 0 && nLength < sizeof szFull ? szFull : pszUpdateDir;
    for (char& c : strName)
        if (c == '\\')
            c = '/';  // a backslash after the prefix would name a namespace
    CharUpperBuffA(&strName[0], static_cast<DWORD>(strName.size()));
    return strName;
}

} // namespace

CStagingFolder::~CStagingFolder()
{
    ReleaseDirectory();
    if (m_hLock) {
        if (m_bLockOwned)
            ReleaseMutex(m_hLock);
        CloseHandle(m_hLock);
    }
}

bool CStagingFolder::IsLink(const char* pszUpdateDir)
{
    return engine::IsLink(StagingPath(pszUpdateDir).c_str());
}

CStagingFolder::Result CStagingFolder::Lock(const char* pszUpdateDir, DWORD dwWaitMs,
                                            const std::function<bool()>& whileWaiting)
{
    const std::string strName = LockName(pszUpdateDir);
    const DWORD dwStart = GetTickCount();
    for (DWORD dwSlice = 0;; dwSlice = LOCK_POLL_MS) {
        // A lock that another account's run made may refuse this one even
        // a look: that run holds it all the same.
        if (!m_hLock) {
            m_hLock = CreateMutexA(nullptr, FALSE, strName.c_str());
            if (!m_hLock && GetLastError() != ERROR_ACCESS_DENIED)
                return STAGING_READY;  // no lock to be had at all: none for another run either
        }
        if (dwSlice && !m_hLock)
            Sleep(dwSlice);
        if (m_hLock) {
            // An abandoned lock is the lock of a run that was killed: this
            // run takes it and, unpacking anew, completes that run's work.
            const DWORD dwResult = WaitForSingleObject(m_hLock, dwSlice);
            m_bLockOwned = dwResult == WAIT_OBJECT_0 || dwResult == WAIT_ABANDONED;
            if (m_bLockOwned)
                return STAGING_READY;
        }
        if (GetTickCount() - dwStart >= dwWaitMs || !whileWaiting())
            return STAGING_OTHER_RUN;
    }
}

CStagingFolder::Result CStagingFolder::Prepare(const char* pszUpdateDir)
{
    const std::string strStaging = StagingPath(pszUpdateDir);
    CreateDirectoryA(strStaging.c_str(), nullptr);  // an existing one is fine
    ReleaseDirectory();
    bool bRefused = false;
    m_hDirectory = engine::OpenDirectoryNotLink(strStaging.c_str(), &bRefused);
    if (m_hDirectory == INVALID_HANDLE_VALUE)
        return bRefused ? STAGING_IS_LINK : STAGING_READY;

    WIN32_FIND_DATAA data;
    const HANDLE hFind = FindFirstFileA((strStaging + "\\*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return STAGING_READY;
    do {
        const std::string strPath = strStaging + "\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            engine::RemoveLink(strPath.c_str(), data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
            continue;
        }
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(strPath.c_str(), data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
        DeleteFileA(strPath.c_str());
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return STAGING_READY;
}

void CStagingFolder::ReleaseDirectory()
{
    if (m_hDirectory != INVALID_HANDLE_VALUE)
        CloseHandle(m_hDirectory);
    m_hDirectory = INVALID_HANDLE_VALUE;
}
