#include "TAVIUpdata.h"

#include "AfxAppInit.h"
#include "TAVIUpdataDlg.h"

CTAVIUpdataApp theApp;

namespace {

// The main dialog's caption, by which a copy that carries no instance
// property is still found.
const char kMainWindowTitle[] = "TAVI升级工具";

// How long a start waits for a copy that holds the marker without a window,
// and how often it looks again. A copy whose window was closed during a long
// unpack keeps the marker until the unpack returns.
constexpr DWORD FIRST_COPY_WAIT_MS = 60000;
constexpr DWORD FIRST_COPY_POLL_MS = 200;

// Shows the running copy's main window: the top-level window that carries
// the instance property, or else the one with the main dialog's title.
// False when there is neither.
bool ActivateRunningInstance(LPCSTR pszInstanceName)
{
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); ::IsWindow(hWnd);
         hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (::GetPropA(hWnd, pszInstanceName) == nullptr)
            continue;
        if (::IsIconic(hWnd))
            ::ShowWindow(hWnd, SW_RESTORE);
        ::SetForegroundWindow(hWnd);
        ::SetForegroundWindow(::GetLastActivePopup(hWnd));
        return true;
    }
    HWND hWnd = ::FindWindowA(nullptr, kMainWindowTitle);
    if (hWnd)
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
    return hWnd != nullptr;
}

} // namespace

BOOL CTAVIUpdataApp::InitInstance()
{
    AfxEnableControlContainer();
    if (!TakeInstanceMarker()) {
        g_nExitCode = engine::RUN_OTHER_COPY;
        return FALSE;
    }

    Enable3dControlsStatic();
    // With a package to apply, nothing has run until the dialog says so: a
    // dialog that cannot be made (no desktop to put it on) leaves this code.
    if (__argc > 1)
        g_nExitCode = engine::RUN_NOT_FINISHED;
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

bool CTAVIUpdataApp::TakeInstanceMarker()
{
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        // A marker that cannot be created at all does not stop the tool; one
        // that another account's copy made (an elevated one, say) refuses
        // this copy even a look, and counts as that copy running.
        m_hInstanceMarker = ::CreateSemaphoreA(nullptr, 1, 1, m_pszExeName);
        const DWORD dwError = ::GetLastError();
        if (m_hInstanceMarker ? dwError != ERROR_ALREADY_EXISTS : dwError != ERROR_ACCESS_DENIED)
            return true;
        // Not held open while waiting: the marker must go with the other copy.
        if (m_hInstanceMarker)
            ::CloseHandle(m_hInstanceMarker);
        m_hInstanceMarker = nullptr;
        if (ActivateRunningInstance(m_pszExeName) || ::GetTickCount() - dwStart >= FIRST_COPY_WAIT_MS)
            return false;
        ::Sleep(FIRST_COPY_POLL_MS);
    }
}
