#pragma once
#include <windows.h>
#include <commdlg.h>
#include "CString.h"

class CWnd;

// The platform's file-open (or save-as) dialog. The filter is the usual
// "label|pattern|label|pattern||" text.
class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK when a file was chosen, IDCANCEL otherwise (also when the dialog failed).
    INT_PTR DoModal();
    CString GetPathName() const { return CString(m_szFile); }  // full path of the chosen file
    CString GetFileName() const;                                 // its name with extension

    OPENFILENAMEA m_ofn{};

private:
    BOOL m_bOpenFileDialog;
    CString m_strDefExt;
    CString m_strFilter;  // '|' turned into the NULs the platform wants
    char m_szFile[MAX_PATH] = {};
};
