#pragma once
#include <windows.h>
#include "CRuntimeClass.h"
#include "CString.h"

class CWnd;

// A menu handle; destroys the menu it holds when it goes, so menus owned by
// a window (the system menu) come through FromHandle. A menu created or
// attached by an object is bound to it: FromHandle answers that object, and
// a temporary wrapper (valid until the message loop next goes idle) for a
// handle that no object holds.
class CMenu {
public:
    HMENU m_hMenu = nullptr;

    static const CRuntimeClass classCMenu;

    CMenu() = default;
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCMenu; }
    BOOL IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

    static CMenu* FromHandle(HMENU hMenu);
    // The object bound to the handle, or NULL.
    static CMenu* FromHandlePermanent(HMENU hMenu);
    static void DeleteTempMap();

    // FALSE if the handle is bound to another object already.
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL DestroyMenu();
    operator HMENU() const { return m_hMenu; }

    // For owner-drawn items the text argument carries the item data.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr)
    {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr)
    {
        return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr)
    {
        return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

    // Owner-drawn items. The window that receives WM_MEASUREITEM and
    // WM_DRAWITEM for them passes them to the object of their menu.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
    // While it runs, the owner's WM_MEASUREITEM finds the items' menus
    // below this one. With TPM_RETURNCMD, the command chosen (0 if none).
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    // The popup that TrackPopupMenu shows for the window on this thread, or NULL.
    static HMENU GetTrackingMenu(HWND hWnd);
};
