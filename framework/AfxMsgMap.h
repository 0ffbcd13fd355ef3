#pragma once
#include <windows.h>
#include "CPoint.h"

// Message maps: each window class lists its handlers in a table, searched
// from the most derived class to CWnd. An entry matches a message (and for
// WM_COMMAND a notification code and control id) and calls the handler
// through a small function that unpacks the message's parameters and
// answers whether the message was handled.
//
//   BEGIN_MESSAGE_MAP(CMyDialog, CDialog)
//       ON_WM_TIMER()
//       ON_BN_CLICKED(IDC_GO, OnGoClicked)      // a member name, not &CMyDialog::OnGoClicked
//       ON_MESSAGE(WM_APP + 1, OnWorkerDone)   // LRESULT OnWorkerDone(WPARAM, LPARAM)
//   END_MESSAGE_MAP()
//
// and DECLARE_MESSAGE_MAP() inside the class.

class CWnd;

// Old-style WM_CTLCOLOR, which the map uses for every WM_CTLCOLORxxx.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
// Notifications a parent reflects back to the child control they came from.
#define WM_REFLECT_BASE 0xBC00

// What a WM_CTLCOLOR entry receives in place of the message's lParam.
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

// Mouse coordinates are signed 16-bit values.
inline CPoint AfxPointFromLParam(LPARAM lParam)
{
    return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

typedef BOOL (*AFX_MSGHANDLER)(CWnd* pWnd, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;     // WM_COMMAND: notification code
    UINT nID;       // WM_COMMAND: control id
    AFX_MSGHANDLER pfnHandler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const AFX_MSGMAP* GetThisMessageMap();               \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                              \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                         \
    {                                                                       \
        typedef theClass ThisClass;                                         \
        typedef baseClass TheBaseClass;                                     \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                   \
            {0, 0, 0, nullptr}                                              \
        };                                                                  \
        static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                        \
    }

// One entry; the body sees pThis, wParam, lParam and pResult.
#define AFX_MSG_ENTRY(message, code, id, ...)                               \
    {(message), (code), static_cast<UINT>(id),                              \
     [](CWnd* pWnd_, WPARAM wParam, LPARAM lParam, LRESULT* pResult) -> BOOL { \
         ThisClass* pThis = static_cast<ThisClass*>(pWnd_);                 \
         (void)wParam; (void)lParam; (void)pResult;                         \
         __VA_ARGS__                                                        \
     }},

#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, 0, 0, pThis->OnPaint(); return TRUE;)
#define ON_WM_TIMER() \
    AFX_MSG_ENTRY(WM_TIMER, 0, 0, pThis->OnTimer(static_cast<UINT_PTR>(wParam)); return TRUE;)
#define ON_WM_ERASEBKGND() AFX_MSG_ENTRY(WM_ERASEBKGND, 0, 0, \
    *pResult = pThis->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))); return TRUE;)
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, 0, 0, \
    pThis->OnSysCommand(static_cast<UINT>(wParam), lParam); return TRUE;)
#define ON_WM_QUERYDRAGICON() AFX_MSG_ENTRY(WM_QUERYDRAGICON, 0, 0, \
    *pResult = reinterpret_cast<LRESULT>(pThis->OnQueryDragIcon()); return TRUE;)
#define ON_WM_CTLCOLOR() AFX_MSG_ENTRY(WM_CTLCOLOR, 0, 0, \
    const AFX_CTLCOLOR* pCtl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam); \
    *pResult = reinterpret_cast<LRESULT>(pThis->OnCtlColor(CDC::FromHandle(pCtl->hDC), \
        CWnd::FromHandle(pCtl->hWnd), pCtl->nCtlType)); \
    return TRUE;)
#define ON_WM_LBUTTONDOWN() AFX_MSG_ENTRY(WM_LBUTTONDOWN, 0, 0, \
    pThis->OnLButtonDown(static_cast<UINT>(wParam), AfxPointFromLParam(lParam)); return TRUE;)
#define ON_WM_MOUSEMOVE() AFX_MSG_ENTRY(WM_MOUSEMOVE, 0, 0, \
    pThis->OnMouseMove(static_cast<UINT>(wParam), AfxPointFromLParam(lParam)); return TRUE;)
#define ON_WM_SETCURSOR() AFX_MSG_ENTRY(WM_SETCURSOR, 0, 0, \
    *pResult = pThis->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), \
        LOWORD(lParam), HIWORD(lParam)); return TRUE;)
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, 0, 0, \
    pThis->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); return TRUE;)
#define ON_WM_ACTIVATE() AFX_MSG_ENTRY(WM_ACTIVATE, 0, 0, \
    pThis->OnActivate(LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam)); return TRUE;)
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, 0, 0, pThis->OnEnable(static_cast<BOOL>(wParam)); return TRUE;)
#define ON_WM_CANCELMODE() AFX_MSG_ENTRY(WM_CANCELMODE, 0, 0, pThis->OnCancelMode(); return TRUE;)
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, 0, 0, *pResult = pThis->OnGetDlgCode(); return TRUE;)
#define ON_WM_SYSCOLORCHANGE() AFX_MSG_ENTRY(WM_SYSCOLORCHANGE, 0, 0, pThis->OnSysColorChange(); return TRUE;)
#define ON_WM_DRAWITEM() AFX_MSG_ENTRY(WM_DRAWITEM, 0, 0, \
    pThis->OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); *pResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM() AFX_MSG_ENTRY(WM_MEASUREITEM, 0, 0, \
    pThis->OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); \
    *pResult = TRUE; return TRUE;)
#define ON_WM_MENUCHAR() AFX_MSG_ENTRY(WM_MENUCHAR, 0, 0, \
    *pResult = pThis->OnMenuChar(LOWORD(wParam), HIWORD(wParam), CMenu::FromHandle(reinterpret_cast<HMENU>(lParam))); \
    return TRUE;)

// void memberFxn()
#define ON_COMMAND(id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, 0, id, pThis->memberFxn(); return TRUE;)
#define ON_BN_CLICKED(id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, BN_CLICKED, id, pThis->memberFxn(); return TRUE;)
// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) \
    AFX_MSG_ENTRY(message, 0, 0, *pResult = pThis->memberFxn(wParam, lParam); return TRUE;)

// Reflected to the control: BOOL memberFxn(); TRUE keeps the notification
// from the parent, FALSE lets the parent handle it as well.
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, return pThis->memberFxn();)
// Reflected to the control: HBRUSH CtlColor(CDC*, UINT); NULL leaves it to the parent.
#define ON_WM_CTLCOLOR_REFLECT() AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, \
    const AFX_CTLCOLOR* pCtl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam); \
    HBRUSH hBrush = pThis->CtlColor(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType); \
    *pResult = reinterpret_cast<LRESULT>(hBrush); \
    return hBrush != nullptr;)
