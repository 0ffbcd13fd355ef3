#include "CClientDC.h"
#include "OwnerMenu.h"
#include "OwnerMenuFont.h"
#include "OwnerMenuResource.h"
#include "TestDialog.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const COLORREF kUnpainted = RGB(1, 2, 3);
const COLORREF kRed = RGB(255, 0, 0);            // the Open picture of the 16 x 15 toolbar
const int kItemWidth = 200;
const int W = 16, H = 15;                        // the default image size

// The items of the menu that the tests draw.
enum { ITEM_IMAGE, ITEM_CHECK, ITEM_RADIO, ITEM_SEPARATOR };

// Wine's colours make several parts white; these tell every part apart. The
// old colours come back when the scope ends.
class SysColorScope {
public:
    SysColorScope()
    {
        for (int i = 0; i < kCount; ++i)
            m_old[i] = GetSysColor(kIndices[i]);
        SetSysColors(kCount, kIndices, kColors);
    }
    ~SysColorScope() { SetSysColors(kCount, kIndices, m_old); }

private:
    static const int kCount = 9;
    static constexpr int kIndices[kCount] = {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                             COLOR_GRAYTEXT, COLOR_WINDOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT,
                                             COLOR_BTNSHADOW};
    static constexpr COLORREF kColors[kCount] = {RGB(212, 208, 200), RGB(0, 0, 0), RGB(10, 36, 106),
                                                 RGB(255, 255, 255), RGB(128, 128, 128), RGB(250, 250, 250),
                                                 RGB(236, 233, 216), RGB(255, 255, 224), RGB(96, 96, 96)};
    COLORREF m_old[kCount];
};

struct DrawModeScope {
    explicit DrawModeScope(UINT nMode) { COwnerMenu::SetDrawMode(nMode); }
    ~DrawModeScope() { COwnerMenu::SetDrawMode(0); }
};

COLORREF Sys(int nIndex)
{
    return GetSysColor(nIndex);
}

// Item nItem measured as a popup asks for it.
MEASUREITEMSTRUCT Measure(COwnerMenu& menu, int nItem)
{
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_DATA;
    GetMenuItemInfoW(menu, nItem, TRUE, &mii);
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, mii.wID, 0, 0, mii.dwItemData};
    menu.MeasureItem(&mis);
    return mis;
}

// A popup with an item with a picture and accelerator text, a plain item,
// a radio item (one with a checked bitmap of its own) and a separator. Made
// in the XP style, so that the picture has its faded and shadow variants.
class CPaintMenu : public COwnerMenu {
public:
    CPaintMenu()
    {
        DrawModeScope xp(1);
        m_radio.CreateBitmap(8, 8, 1, 1, nullptr);
        EXPECT_TRUE(CreatePopupMenu());
        EXPECT_TRUE(AppendItem(L"&Open\tCtrl+O", MF_OWNERDRAW, ID_PAINT_IMAGE, IDR_TOOLBAR_16X15));
        EXPECT_TRUE(AppendItem(L"Word &Wrap", MF_OWNERDRAW, ID_PAINT_CHECK));
        EXPECT_TRUE(AppendItem(L"&Large", MF_OWNERDRAW, ID_PAINT_RADIO));
        EXPECT_TRUE(AppendItem(L"", MF_OWNERDRAW, 0));
        SetMenuItemBitmaps(m_hMenu, ID_PAINT_RADIO, MF_BYCOMMAND, nullptr, m_radio);
    }

    // The item measured, then drawn kItemWidth wide as a popup asks for it.
    std::unique_ptr<CPixels> Draw(int nItem, UINT nState)
    {
        const MEASUREITEMSTRUCT mis = Measure(*this, nItem);
        auto pixels = std::make_unique<CPixels>(kItemWidth, static_cast<int>(mis.itemHeight), kUnpainted);
        COwnerMenuFont font(CDC::FromHandle(pixels->GetDC()));
        DRAWITEMSTRUCT dis = {ODT_MENU, 0, mis.itemID, ODA_DRAWENTIRE, nState, reinterpret_cast<HWND>(m_hMenu),
                              pixels->GetDC(), {0, 0, kItemWidth, static_cast<LONG>(mis.itemHeight)},
                              mis.itemData};
        DrawItem(&dis);
        return pixels;
    }

private:
    CBitmap m_radio;
};

// The smallest rectangle of the area that holds every pixel of the colour
// (with bInk, every pixel of another colour), empty if none.
CRect Bounds(const CPixels& p, COLORREF cr, const CRect& area, bool bInk = false)
{
    CRect box(area.right, area.bottom, area.left, area.top);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if ((p.At(x, y) == cr) != bInk) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box.left < box.right ? box : CRect();
}

TEST(OwnerMenuMeasuring, HeightsFollowTheStyleAndWidthsTheText)
{
    ASSERT_EQ(GetSystemMetrics(SM_CYMENU), 19);
    CPaintMenu menu;
    SIZE text = {};
    {
        CClientDC screen(nullptr);
        COwnerMenuFont font(&screen);
        GetTextExtentPoint32W(screen.m_hDC, L"&Open\tCtrl+O", 12, &text);
    }
    const LONG nText = text.cx;
    const struct {
        UINT nMode;
        int nItem;
        LONG nWidth, nHeight;
    } cases[] = {
        {0, ITEM_IMAGE, W + nText + W + 1, 19}, {0, ITEM_SEPARATOR, 0, 9},
        {1, ITEM_IMAGE, W + 7 + nText + 8, 22}, {1, ITEM_SEPARATOR, 0, 11},
    };
    for (const auto& c : cases) {
        DrawModeScope mode(c.nMode);
        const MEASUREITEMSTRUCT mis = Measure(menu, c.nItem);
        EXPECT_EQ(std::make_pair(static_cast<LONG>(mis.itemWidth), static_cast<LONG>(mis.itemHeight)),
                  std::make_pair(c.nWidth, c.nHeight))
            << c.nMode << " " << c.nItem;
    }

    // Popups draw their own items at the image size their owner was given.
    COwnerMenu owner;
    ASSERT_TRUE(owner.CreatePopupMenu());
    COwnerMenu* pBefore = owner.AppendSubMenu(L"Before");
    owner.SetImageSize(24, 24);
    COwnerMenu* pAfter = owner.AppendSubMenu(L"After");
    for (COwnerMenu* pSub : {pBefore, pAfter}) {
        ASSERT_TRUE(pSub->AppendItem(L"Item", MF_OWNERDRAW, ID_PAINT_CHECK));
        EXPECT_EQ(Measure(*pSub, 0).itemHeight, 24u + 4u);
    }
}

// Colours at chosen points of items drawn in each style and state.
TEST(OwnerMenuPainting, ColumnsHighlightsImagesAndChecksInBothStyles)
{
    SysColorScope colors;
    CPaintMenu menu;
    const COLORREF crHighlight = Sys(COLOR_HIGHLIGHT), crMenu = Sys(COLOR_MENU), crWindow = Sys(COLOR_WINDOW);
    const COLORREF crLight = Sys(COLOR_BTNHIGHLIGHT), crShadow = Sys(COLOR_BTNSHADOW);
    // Wine reports a Windows other than XP: the XP style's face and highlight are lightened.
    ASSERT_FALSE(COwnerMenu::IsThemedXP());
    const COLORREF crFace = COwnerMenu::BlendToWhite(Sys(COLOR_BTNFACE), 0.25);
    const COLORREF crSelect = COwnerMenu::BlendToWhite(crHighlight, 0.85);
    const COLORREF crRaisedShadow = COwnerMenu::BlendToWhite(crShadow, 0.49);
    struct Probe {
        int x, y;
        COLORREF cr;
    };
    const struct {
        UINT nMode;
        int nItem;
        UINT nState;
        BOOL bDib;
        std::vector<Probe> probes;
    } cases[] = {
        // Classic (19 high): the image cell is (1, 1, 19, 18), the picture at (2, 2).
        {0, ITEM_IMAGE, 0, FALSE, {{1, 9, crMenu}, {10, 9, kRed}, {21, 9, crMenu}}},
        // Beside a picture only the text is highlighted.
        {0, ITEM_IMAGE, ODS_SELECTED, FALSE, {{10, 9, kRed}, {19, 9, kUnpainted}, {21, 9, crHighlight}}},
        {0, ITEM_CHECK, ODS_SELECTED, FALSE, {{1, 9, crHighlight}, {100, 9, crHighlight}}},
        // A checked picture sits in a lighter cell.
        {0, ITEM_IMAGE, ODS_CHECKED, FALSE, {{0, 9, crMenu}, {1, 9, COwnerMenu::BlendToWhite(crMenu, 0.6)},
                                             {10, 9, kRed}, {19, 9, crMenu}}},
        // Greyed pictures: the shape in the shadow colour, a highlight copy one pixel down-right.
        {0, ITEM_IMAGE, ODS_GRAYED, FALSE, {{10, 9, crShadow}, {18, 9, crLight}, {2, 2, crMenu}}},
        {0, ITEM_IMAGE, ODS_GRAYED, TRUE, {{10, 9, crShadow}, {18, 9, crLight}, {2, 2, crMenu}}},
        // Classic lets a greyed item be highlighted.
        {0, ITEM_IMAGE, ODS_GRAYED | ODS_SELECTED, FALSE, {{10, 9, crShadow}, {21, 9, crHighlight}}},
        {0, ITEM_SEPARATOR, 0, FALSE, {{50, 3, crMenu}, {50, 4, crShadow}, {50, 5, crLight}}},
        // XP (22 high): the column is 23 wide, the picture at (4, 4).
        {1, ITEM_IMAGE, 0, FALSE, {{0, 10, crFace}, {22, 10, crFace}, {23, 10, crWindow},
                                   {10, 10, COwnerMenu::BlendToWhite(kRed, 0.3)}}},
        // Highlighted: a light fill framed in the highlight colour; the picture
        // lifts off its shadow, one pixel up-left of its place, the shadow one down-right.
        {1, ITEM_IMAGE, ODS_SELECTED, FALSE, {{0, 10, crHighlight}, {100, 0, crHighlight}, {100, 10, crSelect},
                                              {3, 10, kRed}, {18, 10, kRed}, {19, 10, crRaisedShadow},
                                              {20, 10, crRaisedShadow}, {10, 18, crRaisedShadow},
                                              {21, 10, crSelect}}},
        // Checked and highlighted: up-left inside a highlight frame, no shadow.
        {1, ITEM_IMAGE, ODS_SELECTED | ODS_CHECKED, FALSE, {{1, 10, crHighlight}, {3, 10, kRed}, {19, 10, crSelect}}},
        {1, ITEM_IMAGE, ODS_CHECKED, FALSE, {{1, 10, crHighlight}, {3, 10, kRed},
                                             {19, 10, COwnerMenu::BlendToWhite(crHighlight, 0.85)}}},
        {1, ITEM_IMAGE, ODS_GRAYED, FALSE, {{12, 11, crShadow}, {20, 11, crLight}, {4, 4, crFace}}},
        {1, ITEM_IMAGE, ODS_GRAYED, TRUE, {{12, 11, crShadow}, {20, 11, crLight}, {4, 4, crFace}}},
        // XP never highlights a greyed item.
        {1, ITEM_IMAGE, ODS_GRAYED | ODS_SELECTED, FALSE, {{0, 10, crFace}, {100, 10, crWindow}, {100, 0, crWindow}}},
        {1, ITEM_CHECK, ODS_CHECKED, FALSE, {{4, 10, crHighlight}, {6, 5, crSelect}}},
        {1, ITEM_SEPARATOR, 0, FALSE, {{2, 5, crFace}, {28, 5, crWindow}, {31, 5, crShadow}, {31, 6, crLight}}},
    };
    for (const auto& c : cases) {
        DrawModeScope mode(c.nMode);
        menu.UseDibDisabledImages(c.bDib);
        const auto pixels = menu.Draw(c.nItem, c.nState);
        for (const Probe& probe : c.probes)
            EXPECT_EQ(pixels->At(probe.x, probe.y), probe.cr)
                << "style " << c.nMode << " item " << c.nItem << " state " << std::hex << c.nState << std::dec
                << (c.bDib ? " DIB" : "") << " at " << probe.x << "," << probe.y;
    }
}

TEST(OwnerMenuPainting, TickDotAndLoadedCheckImagesInBothStyles)
{
    SysColorScope colors;
    CPaintMenu menu;
    const COLORREF crMark = Sys(COLOR_MENUTEXT);
    // The marks in the image column; a tick is 7 x 7, the dot 6 x 6.
    const struct {
        UINT nMode;
        int nItem;
        CRect rcMark;
    } marks[] = {
        {0, ITEM_CHECK, CRect(5, 6, 12, 13)}, {0, ITEM_RADIO, CRect(6, 6, 12, 12)},
        {1, ITEM_CHECK, CRect(9, 7, 16, 14)}, {1, ITEM_RADIO, CRect(9, 7, 15, 13)},
    };
    for (const auto& m : marks) {
        DrawModeScope mode(m.nMode);
        const auto pixels = menu.Draw(m.nItem, ODS_CHECKED);
        EXPECT_EQ(Bounds(*pixels, crMark, CRect(0, 0, W + 4, pixels->Height())), m.rcMark)
            << "style " << m.nMode << " item " << m.nItem;
    }

    // Loaded check images replace the marks: image 1 while highlighted.
    menu.LoadCheckImages(IDB_CHECK_PLAIN, IDB_CHECK_HIGHLIGHT);
    for (UINT nMode : {0u, 1u}) {
        DrawModeScope mode(nMode);
        const int nCentre = nMode == 1 ? 11 : 9;
        EXPECT_EQ(menu.Draw(ITEM_CHECK, ODS_CHECKED)->At(nCentre, nCentre), RGB(128, 0, 0)) << nMode;
        EXPECT_EQ(menu.Draw(ITEM_CHECK, ODS_CHECKED | ODS_SELECTED)->At(nCentre, nCentre), RGB(0, 0, 128)) << nMode;
        EXPECT_EQ(Bounds(*menu.Draw(ITEM_RADIO, ODS_CHECKED), crMark, CRect(0, 0, W + 4, 19)), CRect()) << nMode;
    }
}

TEST(OwnerMenuPainting, TextAfterTheColumnAcceleratorsRightAlignedGreyedTextEngraved)
{
    SysColorScope colors;
    CPaintMenu menu;
    const COLORREF crGray = Sys(COLOR_GRAYTEXT), crLight = Sys(COLOR_BTNHIGHLIGHT);
    for (UINT nMode : {0u, 1u}) {
        DrawModeScope mode(nMode);
        const int nTextLeft = nMode == 1 ? W + 7 + 8 : W + 9;
        const auto pixels = menu.Draw(ITEM_IMAGE, 0);
        // The text is smoothed: its ink is whatever differs from the background.
        const COLORREF crBack = Sys(nMode == 1 ? COLOR_WINDOW : COLOR_MENU);
        const CRect rcLine(nTextLeft - 3, 1, kItemWidth - 1, pixels->Height() - 1);
        const CRect rcInk = Bounds(*pixels, crBack, rcLine, true);
        EXPECT_GE(rcInk.left, nTextLeft) << nMode;
        EXPECT_LT(rcInk.left, nTextLeft + 3) << nMode;
        // Ctrl+O ends W pixels before the edge.
        EXPECT_LE(rcInk.right, kItemWidth - W) << nMode;
        EXPECT_GT(rcInk.right, kItemWidth - W - 3) << nMode;
    }

    const CRect rcText(W + 4, 0, kItemWidth, 19);
    DrawModeScope classic(0);
    const auto greyed = menu.Draw(ITEM_IMAGE, ODS_GRAYED);
    const CRect rcGray = Bounds(*greyed, crGray, rcText), rcLight = Bounds(*greyed, crLight, rcText);
    ASSERT_GT(rcGray.Width(), 0);
    EXPECT_EQ(rcLight.right, rcGray.right + 1);
    EXPECT_EQ(rcLight.bottom, rcGray.bottom + 1);
    // Highlighted, it is written in the menu's background colour.
    const auto selected = menu.Draw(ITEM_IMAGE, ODS_GRAYED | ODS_SELECTED);
    EXPECT_GT(selected->Count(rcText, Sys(COLOR_MENU)), 0);
    EXPECT_EQ(selected->Count(rcText, crGray), 0);

    // XP writes it once, in a lighter grey.
    DrawModeScope xp(1);
    const auto xpGreyed = menu.Draw(ITEM_IMAGE, ODS_GRAYED);
    const CRect rcXPText(W + 7, 0, kItemWidth, 22);
    EXPECT_GT(xpGreyed->Count(rcXPText, COwnerMenu::BlendToWhite(crGray, 0.4)), 0);
    EXPECT_EQ(xpGreyed->Count(rcXPText, crLight), 0);
}

TEST(OwnerMenuPainting, AToolbarStripTakenInTheClassicStyleShowsOnlyItsOwnPictureInTheXPStyle)
{
    SysColorScope colors;
    CPaintMenu menu;
    {
        // Taken in the classic style, the item's own list is the strip alone:
        // Open red, Save lime, Undo blue, Variant yellow, with no variants.
        DrawModeScope classic(0);
        ASSERT_TRUE(menu.ChangeItem(L"Strip", L"Word &Wrap", IDR_TOOLBAR_16X15));
    }
    DrawModeScope xp(1);
    for (UINT nState : {0u, static_cast<UINT>(ODS_SELECTED)}) {
        const auto pixels = menu.Draw(ITEM_CHECK, nState);
        const CRect rcColumn(0, 0, W + 7, pixels->Height());
        EXPECT_EQ(pixels->At(10, 10), kRed) << nState;
        for (COLORREF crOther : {RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)})
            EXPECT_EQ(pixels->Count(rcColumn, crOther), 0) << nState << " " << std::hex << crOther;
    }
}

// Wine reports the Windows version that the prefix, or the program's own
// settings, ask for; the probe says which style it drew an item in.
int RunStyleProbe()
{
    std::string command = ProgramDirectory() + "\\menu_style_probe.exe";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    DWORD dwExit = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &dwExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(dwExit);
}

TEST(OwnerMenuStyle, APrefixSetToWindowsXPDrawsTheXPStyleByDefault)
{
    EXPECT_EQ(RunStyleProbe(), 0);
    const char* kKey = "Software\\Wine\\AppDefaults\\menu_style_probe.exe";
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(hKey, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("winxp"), 6);
    RegCloseKey(hKey);
    EXPECT_EQ(RunStyleProbe(), 1);
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
}

}
