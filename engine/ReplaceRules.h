#pragma once
#include <windows.h>

#include "CString.h"

class CInstalledVersions;

// Whether a staged file replaces the installed one, and the directories it
// needs. Free of the dialog: the run's members call these.
namespace engine {

// A destination's directory: its path up to and including the last backslash.
CString DestinationDirectory(const CString& strDestination);

// The buffers of the run: a staged file's path must stay below 500 bytes, a
// destination's directory string at most 299 bytes, and each of its
// backslash-separated names below 40 bytes. A file that does not fit is not
// installed.
bool InstallPathsFit(const CString& strStagedPath, const CString& strDirectory);
bool DirectoryNamesFit(const CString& strDirectory);

// The version decision: 1 (copy the staged file) unless the installed file's
// version is higher, as the system library judges it, then 0. A missing staged
// file and an unversioned one ("0.0.0.0.0.0.0") are copied. The installed
// file's version text comes through pInstalled when given (a run's), else
// straight from the library.
int NeedReplaceFile(const char* pszDestPath, const char* pszStagedPath, CInstalledVersions* pInstalled = nullptr);

// The platform's file copy (CopyFileA), or another function that keeps its contract.
using CopyFileFunction = BOOL(WINAPI*)(LPCSTR pszSource, LPCSTR pszDest, BOOL bFailIfExists);

// Copies a staged file over the installed one; true when it was copied.
// Windows refuses to overwrite a read-only file (files copied from a disc or
// a share often are): when the copy fails and the destination is read-only,
// its read-only bit is cleared and the copy tried once more.
bool InstallFile(const char* pszStagedPath, const char* pszDestPath, CopyFileFunction copyFile = CopyFileA);

// How a copy to a destination believed not to be there ended.
enum NewFileResult { NEW_FILE_COPIED, NEW_FILE_EXISTS, NEW_FILE_FAILED };

// Copies a staged file to a destination that the run believes is not there,
// without overwriting: another program may have put a file there since the
// run looked (NEW_FILE_EXISTS), and that file is then judged by the full
// version rule before anything replaces it.
NewFileResult InstallNewFile(const char* pszStagedPath, const char* pszDestPath,
                             CopyFileFunction copyFile = CopyFileA);

// Whether a staged file is the system library itself, which the run also
// puts into the system directory and loads again.
bool IsSystemLibrary(const CString& strName);

// 1 when the path names a directory (a trailing backslash finds nothing).
int DirectoryExists(const char* pszPath);
// Creates "parent\name\"; 1 when it was created.
int CreateSubDirectory(const char* pszName, const char* pszParent);
// Creates every missing level of a destination's directory below its drive,
// at most nine, through the system library's field splitter.
void CreateDirectoryChain(const CString& strDirectory);

} // namespace engine
