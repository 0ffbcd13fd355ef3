#pragma once
#include "CString.h"

// Removal of the staging directory once its files have been handled.
namespace engine {

// Deletes the directory's files and the unpack's two cache files (read-only
// ones too), then the directory itself. Subdirectories and other read-only
// files stay, and keep the directory with them.
void RemoveStagingDirectory(const CString& strStaging);

// Clears the read-only bit of a file and keeps its other attributes and its
// times; 1 when done or when there is no such file, 0 when it failed.
int ClearReadOnlyAttribute(const CString& strPath);

} // namespace engine
