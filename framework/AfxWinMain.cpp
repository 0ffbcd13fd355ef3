#include "CWinApp.h"
#include <commctrl.h>

// The process's entry: the application object was built during static
// initialisation; its InitInstance is the whole run. A dialog application
// has no message loop of its own (its modal dialog's loop is the only one);
// ExitInstance gives the exit status.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const INITCOMMONCONTROLSEX icc = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 0;
    pApp->InitInstance();
    return pApp->ExitInstance();
}
