#pragma once
#include <windows.h>

// A menu handle; destroys the menu it holds when it goes, so menus owned by
// a window (the system menu) come through FromHandle.
class CMenu {
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // A temporary wrapper, valid until the message loop next goes idle.
    static CMenu* FromHandle(HMENU hMenu);
    static void DeleteTempMap();

    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr)
    {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
};
