#include "CToolBar.h"
#include "OwnerMenu.h"
#include "OwnerMenuResource.h"
#include "TestDialog.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace {

const COLORREF kBackground = RGB(1, 2, 3);

// Reaches the menu's protected state for the checks.
class CMenuProbe : public COwnerMenu {
public:
    using COwnerMenu::m_nImageHeight;
    using COwnerMenu::m_nImageWidth;
    using COwnerMenu::s_sharedImages;
    static CImageList* CheckImages(const COwnerMenu& menu) { return menu.*(&CMenuProbe::m_pCheckImages); }
};

// The draw mode of all owner-drawn menus for one test; classic again afterwards.
struct DrawModeScope {
    explicit DrawModeScope(UINT nMode) { COwnerMenu::SetDrawMode(nMode); }
    ~DrawModeScope() { COwnerMenu::SetDrawMode(0); }
};

COwnerMenuEntry* EntryOf(HMENU hMenu, int nPos)
{
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA;
    GetMenuItemInfoW(hMenu, nPos, TRUE, &mii);
    return reinterpret_cast<COwnerMenuEntry*>(mii.dwItemData);
}

// The texts of the entries that the menu's items carry, in position order.
std::vector<std::wstring> ItemTexts(HMENU hMenu)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        COwnerMenuEntry* pEntry = EntryOf(hMenu, i);
        texts.push_back(pEntry ? pEntry->GetText() : L"(no entry)");
    }
    return texts;
}

std::vector<HMENU> PopupsBelow(HMENU hMenu)
{
    std::vector<HMENU> popups;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        if (HMENU hSubMenu = GetSubMenu(hMenu, i)) {
            popups.push_back(hSubMenu);
            for (HMENU hBelow : PopupsBelow(hSubMenu))
                popups.push_back(hBelow);
        }
    }
    return popups;
}

// Image nIndex of the list drawn over kBackground: the colour at (x, y), the
// centre when x is negative.
COLORREF ImagePixel(HIMAGELIST hList, int nIndex, int x = -1, int y = -1)
{
    int cx = 0, cy = 0;
    ImageList_GetIconSize(hList, &cx, &cy);
    CPixels pixels(cx, cy, kBackground);
    ImageList_Draw(hList, nIndex, pixels.GetDC(), 0, 0, ILD_TRANSPARENT);
    return x < 0 ? pixels.At(cx / 2, cy / 2) : pixels.At(x, y);
}

COLORREF SharedPixel(UINT nID, int x = -1, int y = -1)
{
    return ImagePixel(CMenuProbe::s_sharedImages, COwnerMenu::FindSharedImage(nID), x, y);
}

// In every item with a tab the text before it is padded with the fewest
// spaces that make it as wide, in the menu font, as the widest text before a
// tab (or the whole text) with one space.
void ExpectAcceleratorsAligned(HMENU hMenu)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);  // built for XP: without the field that Vista added
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    HDC hDC = GetDC(nullptr);
    HFONT hFont = CreateFontIndirectA(&metrics.lfMenuFont);
    HGDIOBJ hOld = SelectObject(hDC, hFont);
    auto width = [hDC](const CString& text) {
        SIZE size = {};
        GetTextExtentPoint32A(hDC, text, text.GetLength(), &size);
        return size.cx;
    };
    std::vector<CString> texts;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        texts.push_back(EntryOf(hMenu, i)->GetAnsiText());
    LONG nWidest = 0;
    for (const CString& text : texts) {
        CString label = text.Find('\t') < 0 ? text : text.Left(text.Find('\t'));
        nWidest = std::max(nWidest, width(label.TrimRight() + " "));
    }
    int nTabbed = 0;
    for (const CString& text : texts) {
        const int nTab = text.Find('\t');
        if (nTab < 0)
            continue;
        ++nTabbed;
        const CString label = text.Left(nTab);
        EXPECT_EQ(label.Mid(nTab - 1), " ") << static_cast<LPCSTR>(text);
        EXPECT_GE(width(label), nWidest) << static_cast<LPCSTR>(text);
        EXPECT_LT(width(label.Left(nTab - 1)), nWidest) << static_cast<LPCSTR>(text);
    }
    EXPECT_GT(nTabbed, 0);
    SelectObject(hDC, hOld);
    DeleteObject(hFont);
    ReleaseDC(nullptr, hDC);
}

TEST(OwnerMenuLoading, TopLevelIsPlainTextAndSubmenusOwnerDrawnWithAlignedAccelerators)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    const char* tops[] = {"&File", "&Edit", "&About"};
    ASSERT_EQ(menu.GetMenuItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE;
        GetMenuItemInfoA(menu, i, TRUE, &mii);
        EXPECT_EQ(mii.fType & MFT_OWNERDRAW, 0u) << i;
        CString text;
        menu.GetMenuString(i, text, MF_BYPOSITION);
        EXPECT_EQ(text, tops[i]);
    }

    COwnerMenu* pFile = menu.GetSubMenu(0);
    COwnerMenu* pEdit = menu.GetSubMenu(1);
    ASSERT_TRUE(pFile && pEdit);
    COwnerMenu* pRecent = pFile->GetSubMenu(4);
    ASSERT_NE(pRecent, nullptr);
    EXPECT_EQ(menu.FindSubMenuByText("最近的文件(&R)"), pRecent);
    for (COwnerMenu* pSubMenu : {pFile, pRecent, pEdit}) {
        EXPECT_TRUE(COwnerMenu::IsOwnerDrawnMenu(pSubMenu));
        for (int i = 0; i < pSubMenu->GetMenuItemCount(); ++i) {
            MENUITEMINFOW mii = {};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU;
            GetMenuItemInfoW(*pSubMenu, i, TRUE, &mii);
            EXPECT_NE(mii.fType & MFT_OWNERDRAW, 0u) << i;
            const auto* pEntry = reinterpret_cast<COwnerMenuEntry*>(mii.dwItemData);
            ASSERT_NE(pEntry, nullptr);
            EXPECT_EQ(pEntry->m_nID, mii.hSubMenu ? reinterpret_cast<UINT_PTR>(mii.hSubMenu) : mii.wID);
        }
        ExpectAcceleratorsAligned(*pSubMenu);
    }
    EXPECT_NE(GetMenuState(*pFile, 3, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_NE(menu.GetMenuState(ID_EDIT_UNDO, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(menu.GetMenuState(ID_EDIT_WRAP, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(std::wstring(pFile->FindItemData(ID_FILE_SAVEAS)->GetText()), L"Save &As...");
}

TEST(OwnerMenuLoading, MissingOrMalformedResourcesFail)
{
    COwnerMenu menu;
    for (UINT nResource : {999, IDR_EXTENDED_MENU, IDR_TRUNCATED_MENU}) {
        EXPECT_FALSE(menu.LoadMenu(nResource)) << nResource;
        EXPECT_EQ(menu.m_hMenu, nullptr);
    }
    EXPECT_FALSE(menu.LoadImagesFromToolbar(IDR_TOOLBAR_NO_BITMAP));
    EXPECT_FALSE(menu.LoadImagesFromToolbar(999));
}

TEST(OwnerMenuAccelerators, TheFirstItemWithTheMnemonicIsExecuted)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    COwnerMenu* pFile = menu.GetSubMenu(0);
    COwnerMenu* pEdit = menu.GetSubMenu(1);
    ASSERT_TRUE(pFile && pEdit);
    auto execute = [](int nPos) { return static_cast<LRESULT>(MAKELRESULT(nPos, MNC_EXECUTE)); };
    const struct {
        COwnerMenu* pMenu;
        UINT nChar;
        UINT nFlags;
        LRESULT expected;
    } cases[] = {
        {pFile, 'o', MF_POPUP, execute(0)},
        {pFile, 'O', MF_POPUP, execute(0)},
        {pFile, 'a', MF_POPUP, execute(2)},   // an item without a tab
        {pFile, 'x', MF_POPUP, execute(6)},
        {pFile, 'q', MF_POPUP, 0},
        {pEdit, 'o', MF_POPUP, execute(2)},   // &Options comes before &Overwrite
        {pEdit, 'u', MF_POPUP, execute(0)},   // after double-byte characters
        {pEdit, 'p', MF_POPUP, 0},            // Plain has no ampersand
        {pFile, 'o', 0, 0},                   // not for a popup
        {nullptr, 'o', MF_POPUP, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(COwnerMenu::FindAccelerator(c.nChar, c.nFlags, c.pMenu), c.expected) << static_cast<char>(c.nChar);

    // A change for a command that no item has leaves a stray entry; the
    // count mismatch drops it again and keeps the other texts.
    EXPECT_FALSE(pFile->ChangeItem(L"&Zoo", 4242u, -1));
    EXPECT_EQ(COwnerMenu::FindAccelerator('z', MF_POPUP, pFile), 0);
    EXPECT_EQ(COwnerMenu::FindAccelerator('o', MF_POPUP, pFile), execute(0));
    EXPECT_EQ(pFile->FindItemData(4242), nullptr);
    EXPECT_EQ(ItemTexts(*pFile).size(), 7u);
}

TEST(OwnerMenuText, EightBitAndUtf16FormsRoundTripThroughTheAnsiCodePage)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem("打开文件(&O)\t控制+O", MF_OWNERDRAW, 1));
    ASSERT_TRUE(menu.AppendItem(L"打开文件(&O)\t控制+O", MF_OWNERDRAW, 2));
    for (UINT nPos = 0; nPos < 2; ++nPos) {
        CString ansi;
        std::wstring wide;
        ASSERT_TRUE(menu.GetItemText(nPos, ansi));
        ASSERT_TRUE(menu.GetItemText(nPos, wide));
        EXPECT_EQ(ansi, "打开文件(&O)\t控制+O");
        EXPECT_EQ(wide, L"打开文件(&O)\t控制+O");
    }
    EXPECT_EQ(menu.LocateText("打开文件(&O)\t控制+O"), menu.FindItemData(1));
    EXPECT_EQ(menu.LocateText(L"打开文件(&O)\t控制+O"), menu.FindItemData(1));
    ASSERT_TRUE(menu.SetItemText(2, "保存", MF_BYCOMMAND));
    EXPECT_EQ(std::wstring(menu.FindItemData(2)->GetText()), L"保存");
    EXPECT_EQ(menu.FindItemPosition(L"保存"), 1);
    EXPECT_EQ(menu.FindItemPosition("保存"), 1);
    CString loaded;
    COwnerMenu resourceMenu;
    ASSERT_TRUE(resourceMenu.LoadMenu(IDR_TEST_MENU));
    ASSERT_TRUE(resourceMenu.GetItemText(ID_EDIT_UNDO, loaded, MF_BYCOMMAND));
    EXPECT_EQ(loaded.Left(8), "撤销(&U)");
}

TEST(OwnerMenuBuilding, ItemsStayInStepWithTheirEntries)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem(L"&Open\tCtrl+O", MF_OWNERDRAW, ID_FILE_OPEN));
    // Id 0 makes an owner-drawn separator, whatever the flags.
    ASSERT_TRUE(menu.AppendItem("ignored", MF_STRING | MF_CHECKED | MF_GRAYED, 0));
    EXPECT_EQ(menu.GetMenuState(1, MF_BYPOSITION) & (MF_SEPARATOR | MF_OWNERDRAW | MF_CHECKED),
              static_cast<UINT>(MF_SEPARATOR | MF_OWNERDRAW));
    COwnerMenu* pSub = menu.AppendSubMenu("子菜单");
    ASSERT_NE(pSub, nullptr);
    EXPECT_TRUE(COwnerMenu::IsOwnerDrawnMenu(pSub));
    ASSERT_TRUE(pSub->AppendMenu(MF_OWNERDRAW, ID_FILE_OPEN, L"Open too"));
    ASSERT_TRUE(pSub->AppendItem(L"Exit", MF_OWNERDRAW, ID_FILE_EXIT));
    // By command: before the command's item, found depth first from the top.
    ASSERT_TRUE(menu.InsertItem(ID_FILE_EXIT, L"Save", MF_OWNERDRAW, ID_FILE_SAVE));
    ASSERT_TRUE(menu.InsertMenu(static_cast<UINT>(-1), MF_BYPOSITION, ID_ABOUT, "About"));
    EXPECT_FALSE(menu.InsertItem(4242u, L"Nowhere", MF_OWNERDRAW, ID_EDIT_PLAIN));
    EXPECT_EQ(ItemTexts(menu), (std::vector<std::wstring>{L"&Open\tCtrl+O", L"ignored", L"子菜单", L"About"}));
    EXPECT_EQ(ItemTexts(*pSub), (std::vector<std::wstring>{L"Open too", L"Save", L"Exit"}));

    // Every item of the command changes, wherever it is.
    EXPECT_TRUE(menu.ChangeItem("打开", ID_FILE_OPEN, -1));
    EXPECT_EQ(ItemTexts(menu)[0], L"打开");
    EXPECT_EQ(ItemTexts(*pSub)[0], L"打开");
    EXPECT_TRUE(menu.SetItemText(ID_FILE_EXIT, L"Quit", MF_BYCOMMAND));
    EXPECT_EQ(menu.LocateText(L"Quit"), pSub->FindItemData(ID_FILE_EXIT));
    EXPECT_EQ(menu.FindSubMenuByText(L"子菜单"), pSub);
    EXPECT_EQ(menu.FindSubMenuByText(L"Quit"), nullptr);

    // Removing by text takes the item before along when asked.
    EXPECT_EQ(pSub->DeleteMenu(L"Quit", 1), 2);
    EXPECT_EQ(ItemTexts(*pSub), (std::vector<std::wstring>{L"打开"}));
    EXPECT_EQ(pSub->RemoveMenu(L"Missing", 0), -1);
    EXPECT_EQ(pSub->FindItemData(ID_FILE_SAVE), nullptr);

    // A popup goes with its items and its menu object.
    HMENU hSub = pSub->m_hMenu;
    EXPECT_TRUE(menu.RemoveMenu(2, MF_BYPOSITION));
    EXPECT_FALSE(COwnerMenu::IsOwnerDrawnMenu(hSub));
    EXPECT_EQ(CMenu::FromHandlePermanent(hSub), nullptr);
    EXPECT_EQ(ItemTexts(menu), (std::vector<std::wstring>{L"打开", L"ignored", L"About"}));
}

TEST(OwnerMenuBuilding, RemovingAnItemFreesItsOwnRecordNotAnotherOfTheSameCommand)
{
    for (BOOL bDelete : {FALSE, TRUE}) {
        COwnerMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        ASSERT_TRUE(menu.AppendItem(L"First", MF_OWNERDRAW, ID_FILE_OPEN));
        ASSERT_TRUE(menu.AppendItem(L"Second", MF_OWNERDRAW, ID_FILE_OPEN));
        ASSERT_TRUE(bDelete ? menu.DeleteMenu(1, MF_BYPOSITION) : menu.RemoveMenu(1, MF_BYPOSITION));
        ASSERT_EQ(menu.GetMenuItemCount(), 1);
        // The first item's record is the one left, and the item still points at it.
        std::wstring text;
        ASSERT_TRUE(menu.GetItemText(0, text));
        EXPECT_EQ(text, L"First") << bDelete;
        EXPECT_EQ(menu.FindItemData(ID_FILE_OPEN), EntryOf(menu, 0)) << bDelete;
    }
}

TEST(OwnerMenuBuilding, ARecordMadeForAPlainItemTakesThatItemsPlace)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    COwnerMenu* pFile = menu.GetSubMenu(0);
    ASSERT_NE(pFile, nullptr);
    // An item that someone else put between Open and Save.
    ASSERT_TRUE(InsertMenuA(*pFile, 1, MF_BYPOSITION | MF_STRING, ID_EDIT_PLAIN, "&Window"));
    ASSERT_TRUE(pFile->ChangeItem(static_cast<LPCWSTR>(nullptr), ID_EDIT_PLAIN, -1));
    EXPECT_EQ(std::wstring(EntryOf(*pFile, 1)->GetText()), L"&Window");
    EXPECT_EQ(ItemTexts(*pFile)[1], L"&Window");
    EXPECT_EQ(COwnerMenu::FindAccelerator('w', MF_POPUP, pFile), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(COwnerMenu::FindAccelerator('s', MF_POPUP, pFile), MAKELRESULT(2, MNC_EXECUTE));
    EXPECT_EQ(COwnerMenu::FindAccelerator('x', MF_POPUP, pFile), MAKELRESULT(7, MNC_EXECUTE));
}

TEST(OwnerMenuBuilding, PlainItemsAndLiveToolbarsAreTakenIn)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    COwnerMenu* pFile = menu.GetSubMenu(0);
    ASSERT_NE(pFile, nullptr);
    // An item that someone else appended becomes owner-drawn with its text.
    ASSERT_TRUE(AppendMenuA(*pFile, MF_STRING, ID_EDIT_PLAIN, "&Window"));
    EXPECT_EQ(COwnerMenu::FindAccelerator('w', MF_POPUP, pFile), MAKELRESULT(7, MNC_EXECUTE));
    EXPECT_EQ(EntryOf(*pFile, 7), pFile->FindItemData(ID_EDIT_PLAIN));
    EXPECT_EQ(std::wstring(EntryOf(*pFile, 7)->GetText()), L"&Window");

    CToolBar bar;
    ASSERT_TRUE(bar.Create(CWnd::FromHandle(GetDesktopWindow())));
    ASSERT_TRUE(bar.LoadToolBar(IDR_TOOLBAR_16X15));
    // Open, Save and Undo are in the menu; the variant button is not.
    EXPECT_EQ(menu.TakeImagesFromToolBar(&bar, IDR_TOOLBAR_16X15), 3);
    for (const auto& image : {std::make_pair(ID_FILE_OPEN, RGB(255, 0, 0)), std::make_pair(ID_EDIT_UNDO, RGB(0, 0, 255))}) {
        const COwnerMenuEntry* pEntry = menu.FindItemData(image.first);
        ASSERT_TRUE(pEntry && pEntry->m_pImages);
        EXPECT_EQ(pEntry->m_nImageSource, IDR_TOOLBAR_16X15);
        EXPECT_EQ(ImagePixel(*pEntry->m_pImages, pEntry->m_nImageIndex), image.second);
    }
}

TEST(OwnerMenuDestroying, DestroyMenuDeletesEveryPopupObjectAndUnregistersIt)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    EXPECT_TRUE(menu.IsKindOf(&CMenu::classCMenu));
    EXPECT_FALSE(CMenu().IsKindOf(&COwnerMenu::classCOwnerMenu));
    const std::vector<HMENU> popups = PopupsBelow(menu);
    ASSERT_EQ(popups.size(), 3u);
    for (HMENU hPopup : popups) {
        EXPECT_TRUE(COwnerMenu::IsOwnerDrawnMenu(hPopup));
        CMenu* pPopup = CMenu::FromHandle(hPopup);
        ASSERT_EQ(pPopup, CMenu::FromHandlePermanent(hPopup));
        EXPECT_TRUE(pPopup->IsKindOf(&COwnerMenu::classCOwnerMenu));
    }

    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_EQ(menu.m_hMenu, nullptr);
    for (HMENU hPopup : popups) {
        EXPECT_FALSE(COwnerMenu::IsOwnerDrawnMenu(hPopup));
        EXPECT_EQ(CMenu::FromHandlePermanent(hPopup), nullptr);
        EXPECT_FALSE(IsMenu(hPopup));
    }
}

TEST(OwnerMenuDestroying, AMenuBuiltAgainAfterALoadedOneKeepsItsItemsOwnerDrawn)
{
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    ASSERT_TRUE(menu.DestroyMenu());
    ASSERT_TRUE(menu.CreatePopupMenu());
    COwnerMenu* pSub = menu.AppendSubMenu(L"More");
    ASSERT_NE(pSub, nullptr);
    ASSERT_TRUE(menu.AppendItem(L"About", MF_OWNERDRAW, ID_ABOUT));
    for (int i = 0; i < 2; ++i) {
        MENUITEMINFOW mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &mii));
        EXPECT_NE(mii.fType & MFT_OWNERDRAW, 0u) << i;
    }
    EXPECT_EQ(menu.GetSubMenu(0), pSub);
    EXPECT_EQ(EntryOf(menu, 0), menu.FindItemData(reinterpret_cast<UINT_PTR>(pSub->m_hMenu)));
}

TEST(OwnerMenuImages, ToolbarsGrowTheImageSizeAndReplaceACommandsImageInPlace)
{
    CMenuProbe menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    ASSERT_TRUE(menu.LoadImagesFromToolbar(IDR_TOOLBAR_16X15));
    EXPECT_EQ(menu.m_nImageWidth, 16);
    EXPECT_EQ(menu.m_nImageHeight, 15);
    const int nOpen = COwnerMenu::FindSharedImage(ID_FILE_OPEN);
    ASSERT_GE(nOpen, 0);
    EXPECT_EQ(menu.FindItemData(ID_FILE_OPEN)->m_nSharedIndex, nOpen);
    EXPECT_EQ(SharedPixel(ID_FILE_OPEN), RGB(255, 0, 0));
    // The standard light grey is the system's face colour, hence transparent;
    // the dark grey is the system's shadow colour.
    EXPECT_EQ(SharedPixel(ID_FILE_OPEN, 0, 0), kBackground);
    EXPECT_EQ(SharedPixel(ID_FILE_OPEN, 1, 0), GetSysColor(COLOR_BTNSHADOW));
    // Past the separator the button's image index counts, not its position.
    EXPECT_EQ(SharedPixel(ID_EDIT_UNDO), RGB(0, 0, 255));

    const bool bExitIsNew = COwnerMenu::FindSharedImage(ID_FILE_EXIT) < 0;
    const int nImages = CMenuProbe::s_sharedImages.GetImageCount();
    ASSERT_TRUE(menu.LoadImagesFromToolbar(IDR_TOOLBAR_24X24));
    EXPECT_EQ(menu.m_nImageWidth, 24);
    EXPECT_EQ(menu.m_nImageHeight, 24);
    EXPECT_EQ(COwnerMenu::FindSharedImage(ID_FILE_OPEN), nOpen);
    EXPECT_EQ(CMenuProbe::s_sharedImages.GetImageCount(), nImages + (bExitIsNew ? 1 : 0));
    EXPECT_EQ(SharedPixel(ID_FILE_OPEN), RGB(255, 128, 0));
    EXPECT_EQ(SharedPixel(ID_FILE_EXIT), RGB(0, 128, 255));

    ASSERT_TRUE(menu.LoadImagesFromToolbar(IDR_TOOLBAR_16X16));
    EXPECT_EQ(menu.m_nImageWidth, 24);
    EXPECT_EQ(menu.m_nImageHeight, 24);
    EXPECT_EQ(SharedPixel(ID_FILE_SAVE), RGB(255, 0, 255));
    EXPECT_EQ(SharedPixel(ID_RECENT_ONE), RGB(0, 128, 128));

    // A colour swatch is one more image for the command.
    ASSERT_TRUE(menu.ChangeItem(L"Plain", ID_EDIT_PLAIN, RGB(0, 200, 0), RGB(0, 0, 0)));
    EXPECT_EQ(menu.FindItemData(ID_EDIT_PLAIN)->m_nSharedIndex, COwnerMenu::FindSharedImage(ID_EDIT_PLAIN));
    EXPECT_EQ(SharedPixel(ID_EDIT_PLAIN), RGB(0, 200, 0));
}

TEST(OwnerMenuImages, XPStyleGivesFadedAndShadowVariantsReplacedInPlaceToo)
{
    DrawModeScope xp(1);
    ASSERT_TRUE(COwnerMenu::UsesXPStyle());
    COwnerMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem(L"Variant", MF_OWNERDRAW, ID_VARIANT, IDR_TOOLBAR_16X15));
    const int nIndex = COwnerMenu::FindSharedImage(ID_VARIANT);
    ASSERT_GE(nIndex, 0);
    EXPECT_EQ(menu.FindItemData(ID_VARIANT)->m_nSharedIndex, nIndex);
    ASSERT_TRUE(COwnerMenu::HasRaisedVariants(nIndex));
    const COLORREF crShadow = COwnerMenu::IsThemedXP() ? GetSysColor(COLOR_BTNSHADOW)
                                                        : COwnerMenu::BlendToWhite(GetSysColor(COLOR_BTNSHADOW), 0.49);
    HIMAGELIST hShared = CMenuProbe::s_sharedImages;
    EXPECT_EQ(ImagePixel(hShared, nIndex), RGB(255, 255, 0));
    EXPECT_EQ(ImagePixel(hShared, nIndex + 1), COwnerMenu::BlendToWhite(RGB(255, 255, 0), 0.3));
    EXPECT_EQ(ImagePixel(hShared, nIndex + 2), crShadow);
    EXPECT_EQ(ImagePixel(hShared, nIndex + 2, 0, 0), kBackground);

    // The same command from another toolbar: new pictures at the same indices.
    const int nImages = CMenuProbe::s_sharedImages.GetImageCount();
    ASSERT_TRUE(menu.AppendItem(L"Variant again", MF_OWNERDRAW, ID_VARIANT, IDR_TOOLBAR_16X16));
    EXPECT_EQ(COwnerMenu::FindSharedImage(ID_VARIANT), nIndex);
    EXPECT_EQ(CMenuProbe::s_sharedImages.GetImageCount(), nImages);
    EXPECT_EQ(ImagePixel(hShared, nIndex), RGB(0, 255, 255));
    EXPECT_EQ(ImagePixel(hShared, nIndex + 1), COwnerMenu::BlendToWhite(RGB(0, 255, 255), 0.3));
    EXPECT_EQ(ImagePixel(hShared, nIndex + 2), crShadow);

    // An image list's picture is copied into the item's own list, with its variants.
    CImageList source;
    ASSERT_TRUE(source.Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1));
    CBitmap strip;
    ASSERT_TRUE(strip.LoadBitmap(IDR_TOOLBAR_16X15));
    ASSERT_EQ(source.Add(&strip, RGB(192, 192, 192)), 0);
    ASSERT_TRUE(menu.AppendItem(L"Own", MF_OWNERDRAW, ID_EDIT_OPTIONS, &source, 1));
    const COwnerMenuEntry* pOwn = menu.FindItemData(ID_EDIT_OPTIONS);
    ASSERT_TRUE(pOwn->m_pImages);
    EXPECT_EQ(pOwn->m_nImageSource, 0);
    EXPECT_EQ(pOwn->m_pImages->GetImageCount(), 3);
    EXPECT_EQ(ImagePixel(*pOwn->m_pImages, 0), RGB(0, 255, 0));
}

TEST(OwnerMenuImages, CheckImagesAreSharedWithEverySubmenu)
{
    DrawModeScope xp(1);
    COwnerMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
    const std::vector<HMENU> popups = PopupsBelow(menu);
    auto expectShared = [&](CImageList* pExpected) {
        for (HMENU hPopup : popups)
            EXPECT_EQ(CMenuProbe::CheckImages(*static_cast<COwnerMenu*>(CMenu::FromHandle(hPopup))), pExpected);
    };

    menu.LoadCheckImages(IDB_CHECK_PLAIN, IDB_CHECK_HIGHLIGHT);
    CImageList* pChecks = CMenuProbe::CheckImages(menu);
    ASSERT_NE(pChecks, nullptr);
    // Plain first, highlighted second, with no variants between them.
    EXPECT_EQ(pChecks->GetImageCount(), 2);
    EXPECT_EQ(ImagePixel(*pChecks, 0), RGB(128, 0, 0));
    EXPECT_EQ(ImagePixel(*pChecks, 1), RGB(0, 0, 128));
    expectShared(pChecks);

    // Loaded again in place, where the submenus see it.
    menu.LoadCheckImages(IDB_CHECK_HIGHLIGHT, IDB_CHECK_PLAIN);
    EXPECT_EQ(CMenuProbe::CheckImages(menu), pChecks);
    EXPECT_EQ(ImagePixel(*pChecks, 0), RGB(0, 0, 128));
    expectShared(pChecks);

    menu.LoadCheckImages(IDB_CHECK_PLAIN, 999);
    EXPECT_EQ(CMenuProbe::CheckImages(menu), nullptr);
    expectShared(nullptr);
}

TEST(OwnerMenuStatics, BlendToWhite)
{
    const struct {
        COLORREF crColor;
        double dFactor;
        COLORREF crExpected;
    } cases[] = {
        {RGB(0, 0, 128), 0.5, RGB(127, 127, 191)},
        {RGB(100, 100, 100), 0.3, RGB(146, 146, 146)},
        {RGB(10, 20, 30), 1.0, RGB(255, 255, 255)},
        {RGB(0, 0, 128), 0.0, RGB(0, 0, 128)},
        {RGB(0, 0, 128), 1.5, RGB(0, 0, 128)},
        {RGB(200, 100, 0), -0.5, RGB(200, 100, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(COwnerMenu::BlendToWhite(c.crColor, c.dFactor), c.crExpected) << c.dFactor;
}

TEST(OwnerMenuStatics, WindowsVersionClass)
{
    const struct {
        BOOL bNtFamily;
        DWORD dwMajor, dwMinor;
        int nClass;
    } cases[] = {
        {TRUE, 5, 1, 7},  {TRUE, 5, 2, 1},  {TRUE, 6, 0, 1},    {TRUE, 6, 1, 1},  {TRUE, 10, 0, 1},
        {TRUE, 5, 0, 6},  {TRUE, 4, 0, 5},  {TRUE, 3, 51, 1},   {FALSE, 4, 10, 3}, {FALSE, 4, 90, 4},
        {FALSE, 4, 0, 2}, {FALSE, 3, 95, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(COwnerMenu::ClassifyWindows(c.bNtFamily, c.dwMajor, c.dwMinor), c.nClass)
            << c.bNtFamily << " " << c.dwMajor << "." << c.dwMinor;
}

// The GDI and USER objects the process holds, as counts to compare. Wine
// answers GetGuiResources with 0; there the room left is measured instead,
// by creating objects until the system refuses and deleting them again, and
// its negative compares the same way.
struct GuiObjects {
    long nGdi;
    long nUser;
};

template <class Create, class Destroy>
long RoomFor(Create create, Destroy destroy)
{
    std::vector<HANDLE> handles;
    while (handles.size() < 1000000) {
        HANDLE h = create();
        if (!h)
            break;
        handles.push_back(h);
    }
    for (HANDLE h : handles)
        destroy(h);
    return static_cast<long>(handles.size());
}

GuiObjects CountGuiObjects()
{
    const DWORD dwGdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD dwUser = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (dwGdi && dwUser)
        return {static_cast<long>(dwGdi), static_cast<long>(dwUser)};
    return {-RoomFor([] { return static_cast<HANDLE>(CreatePen(PS_SOLID, 1, 0)); },
                     [](HANDLE h) { DeleteObject(h); }),
            -RoomFor([] { return static_cast<HANDLE>(CreatePopupMenu()); },
                     [](HANDLE h) { DestroyMenu(static_cast<HMENU>(h)); })};
}

TEST(OwnerMenuResources, NoGdiOrUserObjectsLeakOverLoadAndDestroyCycles)
{
    auto cycle = [] {
        COwnerMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
        const UINT toolbars[] = {IDR_TOOLBAR_16X15, IDR_TOOLBAR_24X24, IDR_TOOLBAR_16X16};
        ASSERT_TRUE(menu.LoadImagesFromToolbars(toolbars, 3));
        menu.LoadCheckImages(IDB_CHECK_PLAIN, IDB_CHECK_HIGHLIGHT);
        menu.ChangeItem(L"Plain", ID_EDIT_PLAIN, RGB(0, 200, 0), RGB(0, 0, 0), HS_CROSS);
        COwnerMenu* pSub = menu.AppendSubMenu(L"More");
        ASSERT_NE(pSub, nullptr);
        pSub->AppendItem(L"Variant", MF_OWNERDRAW, ID_VARIANT, IDR_TOOLBAR_16X15);
        COwnerMenu::FindAccelerator('o', MF_POPUP, menu.GetSubMenu(0));
        EXPECT_TRUE(menu.DestroyMenu());
    };
    // The XP style makes everything the classic one does, and the variants.
    DrawModeScope xp(1);
    cycle();   // the first use creates the shared list and what the system caches
    const GuiObjects before = CountGuiObjects();
    for (int i = 0; i < 100; ++i)
        cycle();
    const GuiObjects after = CountGuiObjects();
    EXPECT_EQ(after.nGdi, before.nGdi);
    EXPECT_EQ(after.nUser, before.nUser);
}

}
