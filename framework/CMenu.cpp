#include "CMenu.h"
#include "CWnd.h"
#include <memory>
#include <mutex>
#include <unordered_map>

const CRuntimeClass CMenu::classCMenu = {"CMenu", nullptr};

namespace {
// Menus bound to objects, for every thread, as windows are (CWnd).
std::mutex g_permanentLock;
std::unordered_map<HMENU, CMenu*> g_permanent;

// Wrappers for menus without an object of ours; they own nothing.
struct TemporaryMenu : CMenu {
    explicit TemporaryMenu(HMENU hMenu) { m_hMenu = hMenu; }
    ~TemporaryMenu() override { m_hMenu = nullptr; }
};
thread_local std::unordered_map<HMENU, std::unique_ptr<TemporaryMenu>> t_tempMenus;

// The popup that TrackPopupMenu shows on this thread, and its owner.
struct TrackedPopup {
    HWND hWnd;
    HMENU hMenu;
};
thread_local TrackedPopup t_tracked = {nullptr, nullptr};
}

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    std::lock_guard<std::mutex> lock(g_permanentLock);
    auto it = g_permanent.find(hMenu);
    return it == g_permanent.end() ? nullptr : it->second;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    if (CMenu* pMenu = FromHandlePermanent(hMenu))
        return pMenu;
    std::unique_ptr<TemporaryMenu>& menu = t_tempMenus[hMenu];
    if (!menu)
        menu.reset(new TemporaryMenu(hMenu));
    return menu.get();
}

void CMenu::DeleteTempMap()
{
    t_tempMenus.clear();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu)
        return FALSE;
    DestroyMenu();
    std::lock_guard<std::mutex> lock(g_permanentLock);
    if (!g_permanent.emplace(hMenu, this).second)
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu) {
        std::lock_guard<std::mutex> lock(g_permanentLock);
        auto it = g_permanent.find(hMenu);
        if (it != g_permanent.end() && it->second == this)
            g_permanent.erase(it);
    }
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    const int nLength = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength <= 0) {
        rString.Empty();
        return 0;
    }
    const int nCopied = ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(nLength), nLength + 1, nFlags);
    rString.ReleaseBuffer(nCopied);
    return nCopied;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    const TrackedPopup previous = t_tracked;
    t_tracked = {pWnd ? pWnd->m_hWnd : nullptr, m_hMenu};
    const BOOL bResult = ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, t_tracked.hWnd, lpRect);
    t_tracked = previous;
    return bResult;
}

HMENU CMenu::GetTrackingMenu(HWND hWnd)
{
    return hWnd && t_tracked.hWnd == hWnd ? t_tracked.hMenu : nullptr;
}
