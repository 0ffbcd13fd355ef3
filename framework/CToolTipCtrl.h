#pragma once
#include "CWnd.h"
#include <commctrl.h>

// A tooltip window. Tools are windows of the parent's, each with an id and
// a rectangle in its client coordinates; the tip shows when the mouse rests there.
class CToolTipCtrl : public CWnd {
public:
    ~CToolTipCtrl() override { DestroyWindow(); }

    // A pop-up owned by the parent's top-level window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool);
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool);
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    // Mouse messages for the tools must pass through here.
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }
    int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }

private:
    static TOOLINFOA MakeToolInfo(CWnd* pWnd, LPCSTR lpszText, UINT_PTR nIDTool);
};
