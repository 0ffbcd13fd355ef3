#pragma once
#include <windows.h>

#include "CString.h"

// Removal of the staging directory once its files have been handled.
namespace engine {

// Deletes the directory's files and the unpack's two cache files (read-only
// ones too), then the directory itself. Subdirectories and other read-only
// files stay, and keep the directory with them. Links are removed without
// being entered or followed, and a staging directory that is itself a link
// is left alone: what it points to is not the run's.
void RemoveStagingDirectory(const CString& strStaging);

// Whether the entry at the path (a closing backslash aside) is a link: a
// symbolic link, a junction or any other reparse point.
bool IsLink(const char* pszPath);

// Opens a directory for listing, held without delete sharing so that it
// cannot be swapped for a link while the handle is open. INVALID_HANDLE_VALUE
// when it cannot be opened, and when the entry is a link or no directory;
// *pbRefused then tells whether it is there but refused (a link, or a name
// that is no directory).
HANDLE OpenDirectoryNotLink(const char* pszPath, bool* pbRefused);

// Removes a link (a symbolic link or a junction, to a directory or not)
// itself, without touching what it points to.
void RemoveLink(const char* pszPath, bool bToDirectory);

// Clears the read-only bit of a file and keeps its other attributes and its
// times; 1 when done or when there is no such file, 0 when it failed.
int ClearReadOnlyAttribute(const CString& strPath);

} // namespace engine
