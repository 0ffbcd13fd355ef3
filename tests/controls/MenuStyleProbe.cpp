// Draws an item of an owner-drawn menu with the draw mode that the system
// gives by default and answers with the style it came out in: exit code 1
// for the XP style (an image column unlike the text's background), 0 for
// the classic one, 2 if the item could not be made.
#include "OwnerMenu.h"
#include "TestDialog.h"

int main()
{
    COwnerMenu menu;
    if (!menu.CreatePopupMenu() || !menu.AppendItem(L"Item", MF_OWNERDRAW, 1))
        return 2;
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, 0, TRUE, &mii);
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 1, 0, 0, mii.dwItemData};
    menu.MeasureItem(&mis);
    const int cy = static_cast<int>(mis.itemHeight);
    CPixels pixels(100, cy, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis = {ODT_MENU, 0, 1, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(menu.m_hMenu),
                          pixels.GetDC(), {0, 0, 100, cy}, mii.dwItemData};
    menu.DrawItem(&dis);
    return pixels.At(2, cy / 2) != pixels.At(80, cy / 2) ? 1 : 0;
}
