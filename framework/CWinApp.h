#pragma once
#include "CString.h"
#include <windows.h>

class CWnd;

// The application: one global object of a class derived from CWinApp, built
// during static initialisation. The framework's WinMain calls its
// InitInstance; a dialog application runs its main dialog there, and the
// process ends when InitInstance returns, with ExitInstance's answer as its
// exit code.
class CWinApp {
public:
    // Without a name, the application is named after the executable.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return FALSE; }
    // The process's exit code.
    virtual int ExitInstance() { return 0; }
    // An icon of the current resource module, at the standard icon size.
    HICON LoadIcon(UINT nIDResource) const;

    HINSTANCE m_hInstance;
    LPCSTR m_pszAppName;
    // The executable's file name without directory and extension.
    LPCSTR m_pszExeName;
    CWnd* m_pMainWnd = nullptr;

private:
    CString m_strAppName;
    CString m_strExeName;
};

CWinApp* AfxGetApp();
