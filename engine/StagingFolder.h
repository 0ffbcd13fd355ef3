#pragma once
#include <windows.h>
#include <functional>

// The staging directory of one run, D\TAVIBACKTmp beside the package, held
// for the run's whole life:
// - one run per package folder, whatever the executable is called: a lock
//   named after the folder's identity (its volume and file index, so that a
//   short name or a junction to the same folder names the same lock);
// - never a link: the tool writes and deletes in it with rights to the
//   system directory, so a symbolic link or junction there would turn the
//   unpack and the cleanup against whatever folder it points to. Once
//   checked, the directory is held open without delete sharing, so that it
//   cannot be renamed away and replaced by one;
// - only this package's files: what an earlier run left is deleted before
//   the unpack.
// Used by the worker; the lock is the worker thread's.
class CStagingFolder {
public:
    enum Result { STAGING_READY, STAGING_OTHER_RUN, STAGING_IS_LINK };

    CStagingFolder() = default;
    ~CStagingFolder();
    CStagingFolder(const CStagingFolder&) = delete;
    CStagingFolder& operator=(const CStagingFolder&) = delete;

    // Whether the staging directory under the update directory is a link
    // (any reparse point); false when it is not there.
    static bool IsLink(const char* pszUpdateDir);

    // Takes the package folder's lock, waiting up to dwWaitMs for a run that
    // holds it. whileWaiting is called before each fifth of a second of the
    // wait; it answers false to give up. STAGING_OTHER_RUN when the other run
    // still holds the lock.
    Result Lock(const char* pszUpdateDir, DWORD dwWaitMs, const std::function<bool()>& whileWaiting);

    // Creates the staging directory when it is missing, holds it open and
    // deletes what an earlier run left in it: files (read-only ones too) and
    // links, without entering them. Subdirectories stay, as the run never
    // installs from them. STAGING_IS_LINK when the directory is a link. A
    // directory that cannot be made or opened is left to the unpack, which
    // then fails.
    Result Prepare(const char* pszUpdateDir);

    // Lets go of the directory, so that the cleanup can remove it.
    void ReleaseDirectory();

private:
    HANDLE m_hLock = nullptr;
    bool m_bLockOwned = false;
    HANDLE m_hDirectory = INVALID_HANDLE_VALUE;
};
