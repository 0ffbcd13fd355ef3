#pragma once
#include "AnsiText.h"
#include "CImageList.h"
#include "CString.h"
#include <memory>
#include <string>

// One item of an owner-drawn menu: its text, command, flags and image. The
// menu item's data points at it; the menu whose item list holds it owns it.
// The item shows image m_nImageIndex of its own list when m_nImageSource is
// not negative, else image m_nSharedIndex of the menus' shared list when that
// is not negative, else none.
class COwnerMenuEntry {
public:
    COwnerMenuEntry() = default;
    COwnerMenuEntry(const COwnerMenuEntry&) = delete;
    COwnerMenuEntry& operator=(const COwnerMenuEntry&) = delete;

    // Possibly with an ampersand mnemonic and, after a tab, accelerator text.
    LPCWSTR GetText() const { return m_text.c_str(); }
    void SetText(LPCWSTR lpszText) { m_text = lpszText ? lpszText : L""; }
    CString GetAnsiText() const { return WideToAnsi(m_text.c_str()); }
    void SetAnsiText(LPCSTR lpszText) { m_text = AnsiToWide(lpszText); }

    int m_nImageIndex = -1;     // in the own list
    int m_nSharedIndex = -1;    // in the shared list
    // -1: no image of its own; 0: from an image list or bitmap; otherwise the
    // bitmap resource of the toolbar the image came from.
    int m_nImageSource = -1;
    UINT m_nFlags = 0;          // the MF_ flags of the last create or modify
    UINT_PTR m_nID = 0;         // command id, or a popup's menu handle
    BOOL m_bSyncMark = FALSE;   // work flag of COwnerMenu::ResyncItems
    std::unique_ptr<CImageList> m_pImages;
    // The own list ends in the faded and shadow variants of its image 0; a
    // list filled in the classic style has none, whatever it holds.
    BOOL m_bRaisedVariants = FALSE;

private:
    std::wstring m_text;
};
