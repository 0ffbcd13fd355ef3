#pragma once
#include "CImageList.h"
#include "CMenu.h"
#include "CRect.h"
#include "CSize.h"
#include "OwnerMenuEntry.h"
#include <memory>
#include <vector>

class CBitmap;
class CDC;
class CToolBar;
class CWnd;

// A menu whose items draw themselves: every item carries a COwnerMenuEntry
// (its item data) with its UTF-16 text, command, flags and image. Menus are
// loaded from a menu resource (the top level then stays plain text, which a
// menu bar draws natively, and every submenu is owner-drawn) or built item by
// item. Item images come from toolbar or bitmap resources, image lists or
// bitmaps; images from resources live once per command in a list shared by
// all menus. The popups that a menu creates (LoadMenu, AppendSubMenu) are
// owned by it and go with its DestroyMenu, as does any COwnerMenu object
// (made with new) whose popup is appended or inserted.
//
// Every operation that takes item text has an 8-bit form (ANSI code page),
// which converts the text and calls the UTF-16 form. An image bar is the id
// of a toolbar resource with a bitmap resource of the same id; a command's
// image is the picture of its button.
class COwnerMenu : public CMenu {
public:
    static const CRuntimeClass classCOwnerMenu;

    COwnerMenu() = default;
    ~COwnerMenu() override;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCOwnerMenu; }

    // Settings and queries
    // Of this menu and the popups below it, which draw their own items.
    void SetImageSize(int cx, int cy);
    void SetImageKeyColor(COLORREF crKey) { m_crImageKey = crKey; m_bImageKey = TRUE; }
    void ClearImageKeyColor() { m_bImageKey = FALSE; }
    void UseDibDisabledImages(BOOL bDib) { m_bDibDisabled = bDib; }
    BOOL UseDibDisabledImages() const { return m_bDibDisabled; }
    // Mode 1 draws every owner-drawn menu in the XP style, any other value in the classic style.
    static void SetDrawMode(UINT nMode);
    static UINT GetDrawMode();
    // NULL when the position holds no submenu or its menu is not owner-drawn.
    COwnerMenu* GetSubMenu(int nPos) const;
    // TRUE while the handle is registered as a popup of an owner-drawn menu.
    static BOOL IsOwnerDrawnMenu(CMenu* pMenu);
    static BOOL IsOwnerDrawnMenu(HMENU hMenu);

    // The system and the drawing style
    // 0 Windows 3.x, 1 NT 3.x and everything from 5.2 on, 2 Windows 95,
    // 3 Windows 98, 4 Windows Me, 5 NT 4, 6 Windows 2000, 7 Windows XP.
    static int ClassifyWindows(BOOL bNtFamily, DWORD dwMajor, DWORD dwMinor);
    static BOOL HasNewShell() { return s_osClass >= 2; }
    static BOOL IsThemedXP() { return s_osClass == 7 && !IsClassicThemeActive(); }
    static BOOL UsesXPStyle() { return GetDrawMode() == 1; }
    // Read once, at the first call.
    static BOOL IsClassicThemeActive();
    // Each channel moved towards white by the factor; a factor outside (0, 1] changes nothing.
    static COLORREF BlendToWhite(COLORREF crColor, double dFactor);
    // The command's first image in the shared list, -1 if it has none.
    static int FindSharedImage(UINT_PTR nID);
    // The shared image is followed by its faded and shadow variants.
    static BOOL HasRaisedVariants(int nIndex);

    // Building and changing items. nID 0 makes an owner-drawn separator; a
    // popup's nID is its menu handle. nImageBar -1 takes the command's
    // shared image, if any.
    BOOL AppendItem(LPCWSTR lpszText, UINT nFlags = MF_OWNERDRAW, UINT_PTR nID = 0, int nImageBar = -1);
    BOOL AppendItem(LPCSTR lpszText, UINT nFlags = MF_OWNERDRAW, UINT_PTR nID = 0, int nImageBar = -1);
    // Image nIndex of the list (NULL: none) copied into the item's own list.
    BOOL AppendItem(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages, int nIndex);
    BOOL AppendItem(LPCSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages, int nIndex);
    BOOL AppendItem(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, CBitmap* pBitmap);
    BOOL AppendItem(LPCSTR lpszText, UINT nFlags, UINT_PTR nID, CBitmap* pBitmap);
    // AppendItem in the framework's argument order.
    BOOL AppendMenu(UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, int nImageBar = -1);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, int nImageBar = -1);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, CImageList* pImages, int nIndex);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CImageList* pImages, int nIndex);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, CBitmap* pBitmap);
    BOOL AppendMenu(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CBitmap* pBitmap);
    // Without MF_BYPOSITION nPosition is a command, and the item goes before
    // it in the menu that holds it. Position -1 is the end. A list's image
    // goes into the shared list under nID.
    BOOL InsertItem(UINT nPosition, LPCWSTR lpszText, UINT nFlags = MF_OWNERDRAW, UINT_PTR nID = 0, int nImageBar = -1);
    BOOL InsertItem(UINT nPosition, LPCSTR lpszText, UINT nFlags = MF_OWNERDRAW, UINT_PTR nID = 0, int nImageBar = -1);
    BOOL InsertItem(UINT nPosition, LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages, int nIndex);
    BOOL InsertItem(UINT nPosition, LPCSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages, int nIndex);
    // InsertItem in the framework's argument order; a bitmap goes the list's way.
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, int nImageBar = -1);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText, int nImageBar = -1);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, CImageList* pImages, int nIndex);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CImageList* pImages, int nIndex);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCWSTR lpszText, CBitmap* pBitmap);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CBitmap* pBitmap);
    // Every item of the command, anywhere in the tree, gets the text (unless
    // NULL) and the image; FALSE if no item has the command or one could not
    // be modified.
    BOOL ChangeItem(LPCWSTR lpszText, UINT nID, int nImageBar);
    BOOL ChangeItem(LPCSTR lpszText, UINT nID, int nImageBar);
    BOOL ChangeItem(LPCWSTR lpszText, UINT nID, CImageList* pImages, int nIndex);
    BOOL ChangeItem(LPCSTR lpszText, UINT nID, CImageList* pImages, int nIndex);
    BOOL ChangeItem(LPCWSTR lpszText, UINT nID, CBitmap* pBitmap);
    BOOL ChangeItem(LPCSTR lpszText, UINT nID, CBitmap* pBitmap);
    // A colour swatch: a rectangle of crFill (hatched with nHatch unless -1)
    // framed in crBorder, pSize big (the image size for NULL), centred.
    BOOL ChangeItem(LPCWSTR lpszText, UINT nID, COLORREF crFill, COLORREF crBorder, int nHatch = -1,
                    const CSize* pSize = nullptr);
    BOOL ChangeItem(LPCSTR lpszText, UINT nID, COLORREF crFill, COLORREF crBorder, int nHatch = -1,
                    const CSize* pSize = nullptr);
    // The item with the text lpszFind gets the new text and, from bitmap
    // resource nBitmap, an image of its own; FALSE if no item has that text.
    BOOL ChangeItem(LPCWSTR lpszText, LPCWSTR lpszFind, int nBitmap);
    BOOL ChangeItem(LPCSTR lpszText, LPCSTR lpszFind, int nBitmap);
    // A new owner-drawn popup, owned by this menu, with its check images.
    COwnerMenu* AppendSubMenu(LPCWSTR lpszText);
    COwnerMenu* AppendSubMenu(LPCSTR lpszText);
    // A popup goes with its items and its menu object.
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    // The item of this menu with the text; nOption 1 or 2 also removes the
    // item before it, 3 the two items before it. The position, -1 if none.
    int RemoveMenu(LPCWSTR lpszText, int nOption);
    int RemoveMenu(LPCSTR lpszText, int nOption);
    int DeleteMenu(LPCWSTR lpszText, int nOption);
    int DeleteMenu(LPCSTR lpszText, int nOption);
    // By position (in the item list) or by command.
    BOOL SetItemText(UINT nID, LPCWSTR lpszText, UINT nFlags = MF_BYPOSITION);
    BOOL SetItemText(UINT nID, LPCSTR lpszText, UINT nFlags = MF_BYPOSITION);
    BOOL GetItemText(UINT nID, std::wstring& text, UINT nFlags = MF_BYPOSITION);
    BOOL GetItemText(UINT nID, CString& text, UINT nFlags = MF_BYPOSITION);

    // Painting. The owner of a popup passes the items' WM_MEASUREITEM and
    // WM_DRAWITEM here; the item data is the item's entry.
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;
    // In the XP style when the draw mode is 1 and the DC has no palette, else classic.
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    // Loading
    // The whole menu from a menu resource (current resource module, else the program's own).
    virtual BOOL LoadMenu(UINT nResource);
    virtual BOOL LoadMenu(LPCSTR lpszResourceName);
    // Every item whose command has a button on the toolbar gets its picture;
    // the image size grows to the toolbar's.
    BOOL LoadImagesFromToolbar(UINT nToolbar);
    // All of them, even after a failure; TRUE if all succeeded.
    BOOL LoadImagesFromToolbars(const UINT* arIds, int nCount);
    // The items of the toolbar's commands get images of their own from bitmap
    // nBitmap at the buttons' image indices. The number of such commands.
    int TakeImagesFromToolBar(CToolBar* pToolBar, UINT nBitmap);
    // Check images from two bitmap resources, shared with the submenus; both
    // ids above 0, else nothing changes. A failure leaves the check glyphs.
    void LoadCheckImages(int nPlain, int nHighlight);

    // Finding and maintenance
    // Depth first in position order: the menu holding the command and its
    // position there; NULL and -1 if none.
    COwnerMenu* LocateCommand(UINT nID, int& nLoc);
    // The same, skipping the (menu, position) pairs found before.
    COwnerMenu* LocateNextCommand(UINT nID, int& nLoc, const std::vector<COwnerMenu*>& menusFound,
                                  const std::vector<int>& locsFound);
    // The entry of a command or separator with exactly that text, depth first.
    COwnerMenuEntry* LocateText(LPCWSTR lpszText);
    COwnerMenuEntry* LocateText(LPCSTR lpszText);
    COwnerMenuEntry* FindItemData(UINT nID);
    // The owner-drawn submenu whose item has exactly that text, depth first.
    COwnerMenu* FindSubMenuByText(LPCWSTR lpszText);
    COwnerMenu* FindSubMenuByText(LPCSTR lpszText);
    // Index of this menu's first command or separator entry with the text, -1 if none.
    int FindItemPosition(LPCWSTR lpszText) const;
    int FindItemPosition(LPCSTR lpszText) const;
    // Rebuilds the entries from the menu's items, after others changed it.
    void ResyncItems();
    static void ResyncMenu(COwnerMenu* pMenu);
    // The answer to WM_MENUCHAR: the first item whose mnemonic is the
    // character, ignoring case, executed; 0 when none is.
    static LRESULT FindAccelerator(UINT nChar, UINT nFlags, COwnerMenu* pMenu);
    virtual BOOL DestroyMenu();

protected:
    // Images
    COLORREF GetImageKeyColor() const;
    // The bitmap resource (mapped to the system colours when it has 16
    // colours) added to the list, with its faded and shadow variants in the XP style.
    BOOL AddResourceImage(CImageList* pList, int nBitmap);
    BOOL AddResourceBitmap(CImageList* pList, int nBitmap) const;
    static HBITMAP LoadMappedBitmap(int nBitmap);
    // The image drawn at the image size over the button face colour.
    BOOL ExtractImageBitmap(CDC* pDC, CImageList* pList, int nIndex, CBitmap& bitmap) const;
    static void MakeFadedImage(CBitmap& bitmap);
    static void MakeShadowImage(CBitmap& bitmap);
    // The faded and the shadow variant of an image.
    BOOL MakeRaisedVariants(CImageList* pList, int nIndex, CBitmap& faded, CBitmap& shadow) const;
    // Those of image 0, added at the end of the list; TRUE when both were.
    BOOL AppendRaisedVariants(CImageList* pList) const;
    // The image's index in the shared list, replaced in place when the
    // command has one; -1 on failure.
    int AddSharedImage(CImageList* pList, int nIndex, UINT_PTR nID);
    BOOL CopyImageToList(CImageList* pList, int nIndex, CImageList* pOwnList);
    // The entry's own list from the bitmap resource (with the raised variants
    // in the XP style), showing image nIndex, from source nSource; on failure
    // the entry has no image of its own.
    BOOL LoadOwnImages(COwnerMenuEntry& entry, int nBitmap, int nSource, int nIndex);
    // The image index of the command's button on the toolbar resource, when above 0.
    static BOOL LocateToolbarImage(UINT nID, UINT nToolbar, int& nIndex);
    BOOL MakeSwatchBitmap(CBitmap& bitmap, COLORREF crFill, COLORREF crBorder, int nHatch, const CSize* pSize) const;

    // The window whose DC measures and draws: the main window, else the desktop.
    static CWnd* GetDCWindow();

    // Painting
    // What one paint of an item takes from its entry and state.
    struct ItemImage {
        CImageList* pList = nullptr;   // the list of the item's image; NULL: no image
        int nIndex = -1;
        int nFaded = -1;               // the image's raised variants, -1 if none
        int nShadow = -1;
        BOOL bCheckImage = FALSE;      // a loaded check image stands for the check mark
        BOOL bImage = FALSE;           // otherwise, the item shows its image
        BOOL bHighlightedImage = FALSE;
        BOOL bDisabledImage = FALSE;
        BOOL Any() const { return bCheckImage || bImage; }
    };
    ItemImage DeriveItemImage(const COwnerMenuEntry& entry, UINT nState) const;
    void DrawItemClassic(LPDRAWITEMSTRUCT lpDIS);
    void DrawItemXP(LPDRAWITEMSTRUCT lpDIS);
    // The image greyed at pt, over crBack, in the form the menu is set to.
    void DrawDisabledItemImage(CDC* pDC, const ItemImage& image, CPoint pt, COLORREF crBack) const;
    // Check marks in a cell; a radio item (one with a checked bitmap) gets the dot, others the tick.
    static void DrawClassicCheck(CDC* pDC, const CRect& rc, BOOL bHighlighted, HBITMAP hbmCheck);
    static void DrawXPCheck(CDC* pDC, const CRect& rc, HBITMAP hbmCheck, COLORREF crHighlight);
    static void DrawDotGlyph(CDC* pDC, int x, int y, COLORREF crColor);
    static void DrawTickGlyph(CDC* pDC, int x, int y, COLORREF crColor);
    // The image's dark shape in the shadow colour with a highlight copy one
    // pixel down-right, over crBack; the DIB form sorts light from dark by
    // a black and white DIB section rather than by the face colour.
    static void DrawDisabledImage(CDC* pDC, int x, int y, int cx, int cy, HBITMAP hbm, int xSrc, int ySrc,
                                  COLORREF crBack);
    static void DrawDisabledImageDib(HDC hdcDest, int x, int y, int cx, int cy, HBITMAP hbm, int xSrc, int ySrc,
                                     COLORREF crBack);

    // Pads the texts before their first tab so that the accelerator texts line up.
    void AlignAccelerators();
    // Popups of the top level as plain text, for a menu loaded from a resource.
    void UnOwnerDrawTopLevel();
    void ShowAsText(int nPos, COwnerMenuEntry* pEntry);
    // The number of items that a frame put in front of the loaded ones.
    int GetFirstOwnItem();

    std::vector<std::unique_ptr<COwnerMenuEntry>> m_items;   // one per item, in position order
    std::vector<HMENU> m_subMenus;                           // popups appended to this menu
    int m_nImageWidth = 16;
    int m_nImageHeight = 15;
    COLORREF m_crImageKey = RGB(192, 192, 192);
    BOOL m_bImageKey = FALSE;         // else the button face colour is transparent
    BOOL m_bDibDisabled = FALSE;
    // Image 0 for a checked item, image 1 for a highlighted checked one; NULL draws glyphs.
    CImageList* m_pCheckImages = nullptr;
    BOOL m_bSharedCheckImages = FALSE;   // the parent menu's list
    int m_nHighlightCheckId = -1;        // bitmap resources of the check images
    int m_nPlainCheckId = -1;
    BOOL m_bFromResource = FALSE;

    static std::vector<HMENU> s_registeredMenus;
    static CImageList s_sharedImages;
    static std::vector<UINT_PTR> s_sharedImageIds;   // the command of each shared image
    static const int s_osClass;
    static UINT s_drawModeXP;       // while IsThemedXP
    static UINT s_drawModeOther;
    static constexpr BOOL s_raisedImages = TRUE;         // faded and shadow variants in the XP style
    static constexpr BOOL s_selectDisabledXP = FALSE;    // a disabled item may be highlighted
    static constexpr BOOL s_selectDisabledClassic = TRUE;

private:
    // Registration of popup handles.
    static void RegisterMenu(HMENU hMenu) { s_registeredMenus.push_back(hMenu); }
    static void UnregisterMenu(HMENU hMenu);
    void RemoveSubMenu(HMENU hMenu);
    // A new popup object that shares this menu's check images.
    COwnerMenu* NewSubMenu();
    void ShareCheckImages(COwnerMenu* pSubMenu) const;
    // This menu's image size to every popup below it.
    void PassImageSizeDown();
    // To every submenu below that shares check images, the owner's.
    void PassCheckImagesDown(const COwnerMenu* pOwner);
    // The owner-drawn menu object of a handle, or NULL.
    static COwnerMenu* FromHandleOwnerDrawn(HMENU hMenu);

    // Item creation
    static UINT OwnerDrawFlags(UINT nFlags, UINT_PTR nID);
    COwnerMenuEntry* NewEntry(LPCWSTR lpszText, UINT nFlags, UINT_PTR nID, size_t nAt);
    // The menu and position where an insertion goes; NULL if none.
    COwnerMenu* InsertionPlace(UINT& nPosition, UINT& nFlags);
    COwnerMenuEntry* NewInsertedEntry(UINT nPosition, LPCWSTR lpszText, UINT nFlags, UINT_PTR nID);
    int ImageBarImage(UINT_PTR nID, int nImageBar);
    // The bitmap as image 0 of a new list of the image size.
    BOOL BitmapToList(CBitmap* pBitmap, CImageList& list) const;
    BOOL ChangeCommand(LPCWSTR lpszText, UINT nID, int nSharedIndex);
    // The entry of the command's item at the position, created when it has none.
    COwnerMenuEntry* EntryForCommand(int nPos, UINT_PTR nID);
    // The entry at the position in the item list, or of the command's item; NULL if none.
    COwnerMenuEntry* ItemEntry(UINT nID, UINT nFlags);
    int RemoveByText(LPCWSTR lpszText, int nOption, BOOL bDelete);
    BOOL RemoveItem(UINT nPosition, UINT nFlags, BOOL bDelete);
    void DeleteEntryWithID(UINT_PTR nID);
    // The entry of the command item at the position.
    void DeleteEntryOfItem(int nPos);

    // Searches
    COwnerMenu* LocateCommandFrom(UINT nID, int& nLoc, const std::vector<COwnerMenu*>* pMenusFound,
                                  const std::vector<int>* pLocsFound);
    COwnerMenuEntry* LocateEntry(LPCWSTR lpszText, BOOL bPopup);

    // Loading
    BOOL BuildFromTemplate(const BYTE* pbData, DWORD dwSize);
};
