#include "OwnerMenu.h"
#include "CBitmap.h"
#include <algorithm>

// Building, changing and removing items (UTF-16 forms).

UINT COwnerMenu::OwnerDrawFlags(UINT nFlags, UINT_PTR nID)
{
    if (nID == 0)
        return MF_SEPARATOR | MF_OWNERDRAW | (nFlags & MF_BYPOSITION);
    return nFlags | MF_OWNERDRAW;
}

COwnerMenuEntry* COwnerMenu::NewEntry(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, size_t nAt)
{
    if (nFlags & MF_POPUP) {
        HMENU hSubMenu = reinterpret_cast<HMENU>(nID);
        RegisterMenu(hSubMenu);
        m_subMenus.push_back(hSubMenu);
    }
    auto pEntry = std::make_unique<COwnerMenuEntry>();
    pEntry->SetText(lpszText);
    pEntry->m_nFlags = nFlags;
    pEntry->m_nID = nID;
    return m_items.insert(m_items.begin() + std::min(nAt, m_items.size()), std::move(pEntry))->get();
}

int COwnerMenu::ImageBarImage(UINT_PTR nID, int nImageBar)
{
    if (nImageBar < 0)
        return FindSharedImage(nID);
    int nIndex = 0;
    LocateToolbarImage(static_cast<UINT>(nID), nImageBar, nIndex);
    CImageList images;
    if (!images.Create(m_nImageWidth, m_nImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1) ||
        !AddResourceImage(&images, nImageBar))
        return -1;
    return AddSharedImage(&images, nIndex, nID);
}

BOOL COwnerMenu::BitmapToList(CBitmap* pBitmap, CImageList& list) const
{
    return pBitmap && list.Create(m_nImageWidth, m_nImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1) &&
           list.Add(pBitmap, GetImageKeyColor()) >= 0;
}

// ---------------------------------------------------------------------------
// Appending

BOOL COwnerMenu::AppendItem(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, int nImageBar)
{
    COwnerMenuEntry* pEntry = NewEntry(lpszText, OwnerDrawFlags(nFlags, nID), nID, m_items.size());
    pEntry->m_nSharedIndex = ImageBarImage(nID, nImageBar);
    const BOOL bDone = CMenu::AppendMenu(pEntry->m_nFlags, nID, reinterpret_cast<LPCSTR>(pEntry));
    if (m_bFromResource)
        UnOwnerDrawTopLevel();
    return bDone;
}

BOOL COwnerMenu::AppendItem(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages, int nIndex)
{
    COwnerMenuEntry* pEntry = NewEntry(lpszText, OwnerDrawFlags(nFlags, nID), nID, m_items.size());
    if (pImages) {
        pEntry->m_pImages = std::make_unique<CImageList>();
        if (CopyImageToList(pImages, nIndex, pEntry->m_pImages.get())) {
            pEntry->m_nImageSource = 0;
            pEntry->m_nImageIndex = 0;
            // The one picture, followed by its variants when they were made.
            pEntry->m_bRaisedVariants = pEntry->m_pImages->GetImageCount() > 1;
        } else {
            pEntry->m_pImages.reset();
        }
    }
    return CMenu::AppendMenu(pEntry->m_nFlags, nID, reinterpret_cast<LPCSTR>(pEntry));
}

BOOL COwnerMenu::AppendItem(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, CBitmap* pBitmap)
{
    CImageList list;
    return AppendItem(lpszText, nFlags, nID, BitmapToList(pBitmap, list) ? &list : nullptr, 0);
}

BOOL COwnerMenu::AppendMenu(UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, int nImageBar)
{
    return AppendItem(lpszText, nFlags, nID, nImageBar);
}

BOOL COwnerMenu::AppendMenu(UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, CImageList* pImages, int nIndex)
{
    return AppendItem(lpszText, nFlags, nID, pImages, nIndex);
}

BOOL COwnerMenu::AppendMenu(UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, CBitmap* pBitmap)
{
    return AppendItem(lpszText, nFlags, nID, pBitmap);
}

COwnerMenu* COwnerMenu::AppendSubMenu(LPCWSTR lpszText)
{
    COwnerMenu* pSubMenu = NewSubMenu();
    // Registered among the popups, the new menu goes with this one.
    if (pSubMenu)
        AppendItem(lpszText, MF_POPUP, reinterpret_cast<UINT_PTR>(pSubMenu->m_hMenu), -1);
    return pSubMenu;
}

// ---------------------------------------------------------------------------
// Inserting

COwnerMenu* COwnerMenu::InsertionPlace(UINT& nPosition, UINT& nFlags)
{
    if (!(nFlags & MF_BYPOSITION)) {
        int nLoc = -1;
        COwnerMenu* pMenu = LocateCommand(nPosition, nLoc);
        nPosition = static_cast<UINT>(nLoc);
        nFlags |= MF_BYPOSITION;
        return pMenu;
    }
    if (nPosition == static_cast<UINT>(-1))
        nPosition = static_cast<UINT>(GetMenuItemCount());
    return this;
}

COwnerMenuEntry* COwnerMenu::NewInsertedEntry(UINT nPosition, LPCWSTR lpszText, UINT nFlags, UINT_PTR nID)
{
    // Items that a frame put in front of the loaded ones have no entries.
    const UINT nFirstOwn = static_cast<UINT>(GetFirstOwnItem());
    return NewEntry(lpszText, OwnerDrawFlags(nFlags, nID), nID, nPosition >= nFirstOwn ? nPosition - nFirstOwn : 0);
}

BOOL COwnerMenu::InsertItem(UINT nPosition, LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, int nImageBar)
{
    COwnerMenu* pMenu = InsertionPlace(nPosition, nFlags);
    if (!pMenu)
        return FALSE;
    COwnerMenuEntry* pEntry = pMenu->NewInsertedEntry(nPosition, lpszText, nFlags, nID);
    pEntry->m_nSharedIndex = pMenu->ImageBarImage(nID, nImageBar);
    const BOOL bDone = pMenu->CMenu::InsertMenu(nPosition, pEntry->m_nFlags, nID, reinterpret_cast<LPCSTR>(pEntry));
    if (pMenu->m_bFromResource)
        pMenu->UnOwnerDrawTopLevel();
    return bDone;
}

BOOL COwnerMenu::InsertItem(UINT nPosition, LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages,
                            int nIndex)
{
    COwnerMenu* pMenu = InsertionPlace(nPosition, nFlags);
    if (!pMenu)
        return FALSE;
    COwnerMenuEntry* pEntry = pMenu->NewInsertedEntry(nPosition, lpszText, nFlags, nID);
    if (pImages)
        pEntry->m_nSharedIndex = pMenu->AddSharedImage(pImages, nIndex, nID);
    return pMenu->CMenu::InsertMenu(nPosition, pEntry->m_nFlags, nID, reinterpret_cast<LPCSTR>(pEntry));
}

BOOL COwnerMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, int nImageBar)
{
    return InsertItem(nPosition, lpszText, nFlags, nID, nImageBar);
}

BOOL COwnerMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, CImageList* pImages,
                            int nIndex)
{
    return InsertItem(nPosition, lpszText, nFlags, nID, pImages, nIndex);
}

BOOL COwnerMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, CBitmap* pBitmap)
{
    CImageList list;
    return InsertItem(nPosition, lpszText, nFlags, nID, BitmapToList(pBitmap, list) ? &list : nullptr, 0);
}

// ---------------------------------------------------------------------------
// Changing

COwnerMenuEntry* COwnerMenu::EntryForCommand(int nPos, UINT_PTR nID)
{
    if (nPos >= 0 && static_cast<size_t>(nPos) < m_items.size() && m_items[nPos]->m_nID == nID)
        return m_items[nPos].get();
    for (const auto& pEntry : m_items) {
        if (pEntry->m_nID == nID)
            return pEntry.get();
    }
    // A plain item: its text goes into a new entry at its place, so that
    // the entries stay in the items' order.
    CString text;
    GetMenuString(static_cast<UINT>(nPos), text, MF_BYPOSITION);
    const size_t nAt = static_cast<size_t>(std::max(nPos - GetFirstOwnItem(), 0));
    return NewEntry(AnsiToWide(text).c_str(), MF_OWNERDRAW, nID, nAt);
}

BOOL COwnerMenu::ChangeCommand(LPCWSTR lpszText, UINT nID, int nSharedIndex)
{
    auto change = [&](COwnerMenuEntry* pEntry) {
        if (lpszText)
            pEntry->SetText(lpszText);
        pEntry->m_nImageSource = -1;
        pEntry->m_nImageIndex = -1;
        pEntry->m_pImages.reset();
        pEntry->m_bRaisedVariants = FALSE;
        pEntry->m_nSharedIndex = nSharedIndex;
        pEntry->m_nFlags = (pEntry->m_nFlags & ~MF_BYPOSITION) | MF_OWNERDRAW;
        pEntry->m_nID = nID;
        return pEntry;
    };
    std::vector<COwnerMenu*> menusFound;
    std::vector<int> locsFound;
    BOOL bDone = TRUE;
    int nLoc = -1;
    for (COwnerMenu* pMenu = LocateCommand(nID, nLoc); pMenu; pMenu = LocateNextCommand(nID, nLoc, menusFound, locsFound)) {
        menusFound.push_back(pMenu);
        locsFound.push_back(nLoc);
        // Each item gets its own menu's entry, which goes only when that item goes.
        COwnerMenuEntry* pEntry = change(pMenu->EntryForCommand(nLoc, nID));
        bDone = pMenu->CMenu::ModifyMenu(static_cast<UINT>(nLoc), pEntry->m_nFlags | MF_BYPOSITION, nID,
                                         reinterpret_cast<LPCSTR>(pEntry)) && bDone;
    }
    if (!menusFound.empty())
        return bDone;
    // A command that no item has still gets an entry; ResyncItems drops it later.
    COwnerMenuEntry* pEntry = change(NewEntry(nullptr, MF_OWNERDRAW, nID, m_items.size()));
    return CMenu::ModifyMenu(nID, pEntry->m_nFlags, nID, reinterpret_cast<LPCSTR>(pEntry));
}

BOOL COwnerMenu::ChangeItem(LPCWSTR lpszText, UINT nID, int nImageBar)
{
    return ChangeCommand(lpszText, nID, ImageBarImage(nID, nImageBar));
}

BOOL COwnerMenu::ChangeItem(LPCWSTR lpszText, UINT nID, CImageList* pImages, int nIndex)
{
    return ChangeCommand(lpszText, nID, pImages ? AddSharedImage(pImages, nIndex, nID) : -1);
}

BOOL COwnerMenu::ChangeItem(LPCWSTR lpszText, UINT nID, CBitmap* pBitmap)
{
    CImageList list;
    return ChangeItem(lpszText, nID, BitmapToList(pBitmap, list) ? &list : nullptr, 0);
}

BOOL COwnerMenu::ChangeItem(LPCWSTR lpszText, UINT nID, COLORREF crFill, COLORREF crBorder, int nHatch,
                            const CSize* pSize)
{
    CBitmap swatch;
    return ChangeItem(lpszText, nID, MakeSwatchBitmap(swatch, crFill, crBorder, nHatch, pSize) ? &swatch : nullptr);
}

BOOL COwnerMenu::ChangeItem(LPCWSTR lpszText, LPCWSTR lpszFind, int nBitmap)
{
    COwnerMenuEntry* pEntry = LocateText(lpszFind);
    if (!pEntry)
        return FALSE;
    if (lpszText)
        pEntry->SetText(lpszText);
    LoadOwnImages(*pEntry, nBitmap, 0, 0);
    return TRUE;
}

COwnerMenuEntry* COwnerMenu::ItemEntry(UINT nID, UINT nFlags)
{
    if (!(nFlags & MF_BYPOSITION)) {
        int nLoc = -1;
        COwnerMenu* pMenu = LocateCommand(nID, nLoc);
        return pMenu ? pMenu->ItemEntry(static_cast<UINT>(nLoc), MF_BYPOSITION) : nullptr;
    }
    return nID < m_items.size() ? m_items[nID].get() : nullptr;
}

BOOL COwnerMenu::SetItemText(UINT nID, LPCWSTR lpszText, UINT nFlags)
{
    COwnerMenuEntry* pEntry = ItemEntry(nID, nFlags);
    if (pEntry)
        pEntry->SetText(lpszText);
    return pEntry != nullptr;
}

BOOL COwnerMenu::GetItemText(UINT nID, std::wstring& text, UINT nFlags)
{
    const COwnerMenuEntry* pEntry = ItemEntry(nID, nFlags);
    if (pEntry)
        text = pEntry->GetText();
    return pEntry != nullptr;
}

// ---------------------------------------------------------------------------
// Removing

void COwnerMenu::DeleteEntryWithID(UINT_PTR nID)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if ((*it)->m_nID == nID) {
            m_items.erase(it);
            return;
        }
    }
}

void COwnerMenu::DeleteEntryOfItem(int nPos)
{
    // Several items may share a command: the entry that goes is the item's
    // own, its data when it is owner-drawn, else the one at its place.
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    if (!::GetMenuItemInfoW(m_hMenu, static_cast<UINT>(nPos), TRUE, &mii))
        return;
    auto it = m_items.end();
    if (mii.fType & MFT_OWNERDRAW) {
        it = std::find_if(m_items.begin(), m_items.end(), [&mii](const auto& pEntry) {
            return reinterpret_cast<ULONG_PTR>(pEntry.get()) == mii.dwItemData;
        });
    } else {
        const size_t nIndex = static_cast<size_t>(std::max(nPos - GetFirstOwnItem(), 0));
        if (nIndex < m_items.size() && m_items[nIndex]->m_nID == mii.wID)
            it = m_items.begin() + nIndex;
    }
    if (it != m_items.end())
        m_items.erase(it);
    else
        DeleteEntryWithID(mii.wID);
}

BOOL COwnerMenu::RemoveItem(UINT nPosition, UINT nFlags, BOOL bDelete)
{
    if (!(nFlags & MF_BYPOSITION)) {
        int nLoc = -1;
        COwnerMenu* pMenu = LocateCommand(nPosition, nLoc);
        return pMenu && pMenu->RemoveItem(static_cast<UINT>(nLoc), MF_BYPOSITION, bDelete);
    }
    const int nPos = static_cast<int>(nPosition);
    if (HMENU hSubMenu = ::GetSubMenu(m_hMenu, nPos)) {
        RemoveSubMenu(hSubMenu);
        COwnerMenu* pSubMenu = FromHandleOwnerDrawn(hSubMenu);
        for (int i = pSubMenu ? pSubMenu->GetMenuItemCount() - 1 : -1; i >= 0; --i)
            pSubMenu->RemoveItem(static_cast<UINT>(i), MF_BYPOSITION, bDelete);
        DeleteEntryWithID(reinterpret_cast<UINT_PTR>(hSubMenu));
        delete pSubMenu;
    } else if (GetMenuState(nPosition, MF_BYPOSITION) & MF_SEPARATOR) {
        if (nPosition < m_items.size() && (!bDelete || !*m_items[nPos]->GetText()))
            m_items.erase(m_items.begin() + nPos);
    } else {
        DeleteEntryOfItem(nPos);
    }
    return bDelete ? CMenu::DeleteMenu(nPosition, MF_BYPOSITION) : CMenu::RemoveMenu(nPosition, MF_BYPOSITION);
}

BOOL COwnerMenu::RemoveMenu(UINT nPosition, UINT nFlags)
{
    return RemoveItem(nPosition, nFlags, FALSE);
}

BOOL COwnerMenu::DeleteMenu(UINT nPosition, UINT nFlags)
{
    return RemoveItem(nPosition, nFlags, TRUE);
}

int COwnerMenu::RemoveByText(LPCWSTR lpszText, int nOption, BOOL bDelete)
{
    const int nPos = FindItemPosition(lpszText);
    if (nPos < 0)
        return -1;
    RemoveItem(static_cast<UINT>(nPos), MF_BYPOSITION, bDelete);
    // Options 1 and 2 take the item before along, 3 the two before.
    const int nBefore = nOption == 1 || nOption == 2 ? 1 : nOption == 3 ? 2 : 0;
    for (int i = 1; i <= nBefore && nPos - i >= 0; ++i)
        RemoveItem(static_cast<UINT>(nPos - i), MF_BYPOSITION, bDelete);
    return nPos;
}

int COwnerMenu::RemoveMenu(LPCWSTR lpszText, int nOption)
{
    return RemoveByText(lpszText, nOption, FALSE);
}

int COwnerMenu::DeleteMenu(LPCWSTR lpszText, int nOption)
{
    return RemoveByText(lpszText, nOption, TRUE);
}
