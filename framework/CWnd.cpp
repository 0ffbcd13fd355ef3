#include "CWnd.h"
#include "CDataExchange.h"
#include "CMenu.h"
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {
// Windows bound to objects, for every thread: a window's procedure may run on
// the thread that owns it while another thread looks it up.
std::mutex g_permanentLock;
std::unordered_map<HWND, CWnd*> g_permanent;

// Wrappers for windows without an object of ours; they own nothing.
struct TemporaryWnd : CWnd {
    explicit TemporaryWnd(HWND hWnd) { m_hWnd = hWnd; }
    ~TemporaryWnd() override { m_hWnd = nullptr; }
};
thread_local std::unordered_map<HWND, std::unique_ptr<TemporaryWnd>> t_temporary;

thread_local MSG t_currentMsg;

bool IsCommandEntry(UINT message)
{
    return message == WM_COMMAND || message == WM_REFLECT_BASE + WM_COMMAND;
}

// The object of the menu, at or below hMenu, that holds the command item nID.
// A popup item's id is its menu's handle, so only command items are matched.
CMenu* FindMenuOfCommand(HMENU hMenu, UINT nID)
{
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int nPos = 0; nPos < nCount; ++nPos) {
        if (HMENU hSubMenu = ::GetSubMenu(hMenu, nPos)) {
            if (CMenu* pFound = FindMenuOfCommand(hSubMenu, nID))
                return pFound;
        } else if (::GetMenuItemID(hMenu, nPos) == nID) {
            return CMenu::FromHandlePermanent(hMenu);
        }
    }
    return nullptr;
}
}

// CWnd's own map: the notifications a parent reflects to its owner-drawn and
// self-colouring children.
const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    typedef CWnd ThisClass;
    static const AFX_MSGMAP_ENTRY entries[] = {
        ON_WM_DRAWITEM()
        ON_WM_MEASUREITEM()
        ON_WM_CTLCOLOR()
        {0, 0, 0, nullptr}
    };
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}

CWnd::~CWnd()
{
    if (m_hWnd) {
        if (m_pfnSuper)
            UnsubclassWindow();
        else
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    std::lock_guard<std::mutex> lock(g_permanentLock);
    auto it = g_permanent.find(hWnd);
    return it == g_permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    std::unique_ptr<TemporaryWnd>& temp = t_temporary[hWnd];
    if (!temp)
        temp.reset(new TemporaryWnd(hWnd));
    return temp.get();
}

void CWnd::DeleteTempMap()
{
    t_temporary.clear();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (!hWnd || m_hWnd)
        return FALSE;
    std::lock_guard<std::mutex> lock(g_permanentLock);
    if (!g_permanent.emplace(hWnd, this).second)
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd) {
        std::lock_guard<std::mutex> lock(g_permanentLock);
        g_permanent.erase(hWnd);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
    if (!m_pfnSuper) {
        Detach();
        return FALSE;
    }
    return TRUE;
}

HWND CWnd::UnsubclassWindow()
{
    // Only while no one has subclassed the window after us, or their chain would break.
    const LONG_PTR current = ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
    if (m_pfnSuper && current == reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc))
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    return Detach();
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::GetWindowText(CString& rString) const
{
    const int nLength = GetWindowTextLength();
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLength), nLength + 1);
    rString.ReleaseBuffer();
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    const DWORD dwStyle = GetStyle();
    const DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl ? pWndCtl->m_hWnd : nullptr, bPrevious));
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    const MSG previous = t_currentMsg;
    t_currentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    const LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd)
        pWnd->Detach();
    t_currentMsg = previous;
    return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_currentMsg.message, t_currentMsg.wParam, t_currentMsg.lParam);
}

const AFX_MSGMAP_ENTRY* CWnd::FindEntry(UINT message, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnHandler; ++pEntry) {
            if (pEntry->nMessage != message)
                continue;
            if (IsCommandEntry(message) && pEntry->nCode != nCode)
                continue;
            if (message == WM_COMMAND && pEntry->nID != nID)
                continue;
            return pEntry;
        }
    }
    return nullptr;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam);

    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        const AFX_MSGMAP_ENTRY* pEntry = FindEntry(WM_CTLCOLOR, 0, 0);
        if (!pEntry)
            return FALSE;
        AFX_CTLCOLOR ctl = {reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        return pEntry->pfnHandler(this, wParam, reinterpret_cast<LPARAM>(&ctl), pResult);
    }

    const AFX_MSGMAP_ENTRY* pEntry = FindEntry(message, 0, 0);
    return pEntry ? pEntry->pfnHandler(this, wParam, lParam, pResult) : FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl) {
        CWnd* pChild = FromHandlePermanent(hWndCtrl);
        LRESULT lResult = 0;
        if (pChild && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, &lResult))
            return TRUE;
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindEntry(WM_COMMAND, HIWORD(wParam), LOWORD(wParam));
    LRESULT lResult = 0;
    return pEntry ? pEntry->pfnHandler(this, wParam, lParam, &lResult) : FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        const AFX_MSGMAP_ENTRY* pEntry = FindEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
        return pEntry ? pEntry->pfnHandler(this, wParam, lParam, pResult) : FALSE;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        const AFX_MSGMAP_ENTRY* pEntry = FindEntry(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
        if (!pEntry)
            return FALSE;
        AFX_CTLCOLOR ctl = {reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        return pEntry->pfnHandler(this, wParam, reinterpret_cast<LPARAM>(&ctl), pResult);
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindEntry(WM_REFLECT_BASE + message, 0, 0);
    return pEntry ? pEntry->pfnHandler(this, wParam, lParam, pResult) : FALSE;
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    // The control may colour itself (a reflected WM_CTLCOLOR); else the default brush.
    const MSG& msg = t_currentMsg;
    LRESULT lResult = 0;
    if (pWnd && pWnd->OnChildNotify(msg.message, msg.wParam, msg.lParam, &lResult))
        return reinterpret_cast<HBRUSH>(lResult);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        if (CMenu* pMenu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem))) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else {
        CWnd* pChild = FromHandlePermanent(lpDrawItemStruct->hwndItem);
        LRESULT lResult = 0;
        if (pChild && pChild->OnChildNotify(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(lpDrawItemStruct), &lResult))
            return;
    }
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        HMENU hTracked = CMenu::GetTrackingMenu(m_hWnd);
        if (CMenu* pMenu = hTracked ? FindMenuOfCommand(hTracked, lpMeasureItemStruct->itemID) : nullptr) {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    }
    Default();
}
