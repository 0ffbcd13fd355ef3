#include "CWinApp.h"
#include <commctrl.h>

// The process's entry: the application object was built during static
// initialisation; its InitInstance is the whole run. A dialog application
// has no message loop of its own (its modal dialog's loop is the only one),
// and the exit status carries no meaning.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const INITCOMMONCONTROLSEX icc = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp* pApp = AfxGetApp();
    if (pApp)
        pApp->InitInstance();
    return 0;
}
