#pragma once
#include <windows.h>
#include "CString.h"

// Thrown by the file classes when the platform refuses an operation.
class CFileException {
public:
    CFileException(DWORD dwError, LPCSTR pszFileName) : m_lOsError(dwError), m_strFileName(pszFileName) {}

    DWORD m_lOsError;        // the platform's error code
    CString m_strFileName;   // the file concerned, as the caller named it
};
