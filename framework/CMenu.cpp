#include "CMenu.h"
#include <memory>
#include <unordered_map>

namespace {
struct TemporaryMenu : CMenu {
    ~TemporaryMenu() override { Detach(); }
};
thread_local std::unordered_map<HMENU, std::unique_ptr<TemporaryMenu>> t_tempMenus;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    std::unique_ptr<TemporaryMenu>& menu = t_tempMenus[hMenu];
    if (!menu) {
        menu.reset(new TemporaryMenu);
        menu->Attach(hMenu);
    }
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
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}
