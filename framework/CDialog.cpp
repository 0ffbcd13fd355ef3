#include "CDialog.h"
#include "AfxResource.h"
#include "CMenu.h"
#include "CWinApp.h"
#include <commctrl.h>
#include <cstring>

namespace {
// The dialog whose window the creation hook is waiting for.
thread_local CDialog* t_pDialogInit = nullptr;
// Modal loops running on this thread; temporary wrappers go only when the
// outermost one is idle, since inner loops run inside handlers that may hold some.
thread_local int t_nModalDepth = 0;

bool IsInputMessage(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

void DeleteTemporaryObjects()
{
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CMenu::DeleteTempMap();
}
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, OnInitDialogMessage)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

HWND CDialog::FindOwner() const
{
    // Without a parent, the application's main window owns the dialog.
    CWnd* pOwner = m_pParentWnd;
    if (!pOwner && AfxGetApp() && AfxGetApp()->m_pMainWnd != this)
        pOwner = AfxGetApp()->m_pMainWnd;
    HWND hOwner = pOwner ? pOwner->m_hWnd : nullptr;
    return hOwner && ::IsWindow(hOwner) ? ::GetAncestor(hOwner, GA_ROOT) : nullptr;
}

INT_PTR CDialog::DoModal()
{
    const INITCOMMONCONTROLSEX icc = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    HWND hOwner = FindOwner();
    const bool bEnableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (bEnableOwner)
        ::EnableWindow(hOwner, FALSE);

    m_bEnded = false;
    m_nModalResult = -1;
    CDialog* pPreviousInit = t_pDialogInit;
    t_pDialogInit = this;
    HHOOK hHook = ::SetWindowsHookExA(WH_CBT, &CDialog::CreationHook, nullptr, ::GetCurrentThreadId());
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hOwner,
                                     &CDialog::DialogProc, 0);
    ::UnhookWindowsHookEx(hHook);
    t_pDialogInit = pPreviousInit;

    if (hWnd && !m_bEnded)
        RunModalLoop();

    if (bEnableOwner)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    DestroyWindow();
    return hWnd ? m_nModalResult : -1;
}

void CDialog::RunModalLoop()
{
    ++t_nModalDepth;
    bool bShown = false;
    while (!m_bEnded) {
        MSG msg;
        while (!m_bEnded && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            // A template without WS_VISIBLE is shown once the queue first runs dry.
            if (!bShown) {
                bShown = true;
                if (!IsWindowVisible()) {
                    ShowWindow(SW_SHOWNORMAL);
                    UpdateWindow();
                    continue;
                }
            }
            if (t_nModalDepth == 1)
                DeleteTemporaryObjects();
            ::WaitMessage();
        }
        if (m_bEnded)
            break;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            // WM_QUIT ends the dialog and goes on to the enclosing loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!CWnd::WalkPreTranslateTree(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    --t_nModalDepth;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEnded = true;
    // Wakes the loop should it be waiting for messages.
    PostMessage(WM_NULL);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    return IsInputMessage(pMsg->message) && ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM)
{
    return OnInitDialog();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM)
{
    // Everything is handled in the window procedure; the dialog manager's defaults do the rest.
    return FALSE;
}

LRESULT CALLBACK CDialog::CreationHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    // The first dialog window created is ours (the system may create helper
    // windows, an input method's, along the way): bind it before its first message.
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    char szClass[16] = "";
    if (nCode == HCBT_CREATEWND && t_pDialogInit && ::GetClassNameA(hWnd, szClass, sizeof(szClass)) &&
        std::strcmp(szClass, "#32770") == 0) {
        CDialog* pDialog = t_pDialogInit;
        t_pDialogInit = nullptr;
        if (pDialog->Attach(hWnd)) {
            pDialog->m_pfnSuper = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
