#pragma once
#include <windows.h>
#include "CFileStatus.h"

// File status by path. (Only the static status operations; no open files.)
class CFile {
public:
    // Reads the times, size, attribute byte and full name; FALSE when the file cannot be found.
    static BOOL GetStatus(LPCSTR pszFileName, CFileStatus& rStatus);
    // Applies the attribute byte and the three times (to the second) to the file.
    // Throws CFileException when the platform refuses.
    static void SetStatus(LPCSTR pszFileName, const CFileStatus& status);
};
