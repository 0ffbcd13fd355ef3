#include "TAVIUpdata.h"

#include "AfxAppInit.h"
#include "TAVIUpdataDlg.h"

CTAVIUpdataApp theApp;

namespace {

// The main dialog's caption, by which a copy that carries no instance
// property is still found.
const char kMainWindowTitle[] = "TAVI升级工具";

// Shows the running copy's main window: the top-level window that carries
// the instance property, or else the one with the main dialog's title.
void ActivateRunningInstance(LPCSTR pszInstanceName)
{
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); ::IsWindow(hWnd);
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (::GetPropA(hWnd, pszInstanceName) == nullptr)
            continue;
        if (::IsIconic(hWnd))
            ::ShowWindow(hWnd, SW_RESTORE);
        ::SetForegroundWindow(hWnd);
        ::SetForegroundWindow(::GetLastActivePopup(hWnd));
        return;
    }
    if (HWND hWnd = ::FindWindowA(nullptr, kMainWindowTitle))
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
}

} // namespace

BOOL CTAVIUpdataApp::InitInstance()
{
    AfxEnableControlContainer();

    m_hInstanceMarker = ::CreateSemaphoreA(nullptr, 1, 1, m_pszExeName);
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(m_hInstanceMarker);
        m_hInstanceMarker = nullptr;
        ActivateRunningInstance(m_pszExeName);
        g_nExitCode = engine::RUN_OTHER_COPY;
        return FALSE;
    }

    Enable3dControlsStatic();
    CTAVIUpdataDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CTAVIUpdataApp::ExitInstance()
{
    // Read once the dialog has gone: its end waited for a worker still running.
    return g_nExitCode;
}
