#pragma once
#include <windows.h>

class CWnd;

// Passed to DoDataExchange: which dialog, and which way the data goes.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds the dialog's control nIDC to rControl by subclassing it, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
