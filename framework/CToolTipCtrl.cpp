#include "CToolTipCtrl.h"

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    const INITCOMMONCONTROLSEX icc = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    // Subclassed, so that the object lets go of the window when it is destroyed with its owner.
    if (!hWnd || !SubclassWindow(hWnd)) {
        if (hWnd)
            ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

TOOLINFOA CToolTipCtrl::MakeToolInfo(CWnd* pWnd, LPCSTR lpszText, UINT_PTR nIDTool)
{
    TOOLINFOA ti = {};
    // The first version's size: comctl32 5.x refuses the larger structure
    // that the headers give for Windows XP and later, and no later field is used.
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = pWnd->m_hWnd;
    ti.uId = nIDTool;
    ti.hinst = ::GetModuleHandleA(nullptr);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return ti;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFOA ti = MakeToolInfo(pWnd, lpszText, nIDTool);
    if (lpRectTool)
        ti.rect = *lpRectTool;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFOA ti = MakeToolInfo(pWnd, lpszText, nIDTool);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}
