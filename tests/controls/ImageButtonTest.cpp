#include "AfxWin.h"
#include "ImageButton.h"
#include "TestDialog.h"
#include "TestResource.h"
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

CWinApp theApp;

const COLORREF FACE_NORMAL = RGB(0, 96, 160);
const COLORREF FACE_HOVER = RGB(160, 0, 96);
const COLORREF FACE_FOCUS = RGB(96, 160, 0);
const COLORREF TEXT_NORMAL = RGB(200, 0, 0);
const COLORREF TEXT_HOVER = RGB(0, 0, 200);
const COLORREF RED = RGB(255, 0, 0);
const COLORREF BLACK = RGB(0, 0, 0);

COLORREF Sys(int nIndex)
{
    return GetSysColor(nIndex);
}

// The button's state, open to the tests.
class CButtonProbe : public CImageButton {
public:
    using CImageButton::m_bCheckBox;
    using CImageButton::m_bDefault;
    using CImageButton::m_bGrayDisabledBitmap;
    using CImageButton::m_bHover;
    using CImageButton::m_bitmaps;
    using CImageButton::m_byAlign;
    using CImageButton::m_hHoverCursor;
    using CImageButton::m_hint;
    using CImageButton::m_icons;
    using CImageButton::m_nButtonType;
    using CImageButton::m_nCheck;
    using CImageButton::m_szLink;

    void UseColours()
    {
        SetStateColor(IMGBTN_FACE_NORMAL, FACE_NORMAL, FALSE);
        SetStateColor(IMGBTN_FACE_HOVER, FACE_HOVER, FALSE);
        SetStateColor(IMGBTN_FACE_FOCUS, FACE_FOCUS, FALSE);
        SetStateColor(IMGBTN_TEXT_NORMAL, TEXT_NORMAL, FALSE);
        SetStateColor(IMGBTN_TEXT_HOVER, TEXT_HOVER, FALSE);
    }
};

// A dialog of the test templates with its buttons bound as image buttons,
// a background of one colour, and a count of the clicks it receives.
class CButtonDialog : public CTestDialog {
public:
    using CTestDialog::CTestDialog;
    CButtonProbe m_button;    // IDC_BUTTON1
    CButtonProbe m_check;     // IDC_CHECK
    CButtonProbe m_default;   // IDC_DEFAULT
    int m_nClicks = 0;
    COLORREF m_crBack = RGB(0, 128, 0);

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CTestDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_BUTTON1, m_button);
        if (::GetDlgItem(m_hWnd, IDC_CHECK)) {
            DDX_Control(pDX, IDC_CHECK, m_check);
            DDX_Control(pDX, IDC_DEFAULT, m_default);
        }
    }
    void OnButtonClicked() { ++m_nClicks; }
    BOOL OnEraseBkgnd(CDC* pDC)
    {
        CRect rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(&rc, m_crBack);
        return TRUE;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CButtonDialog, CTestDialog)
    ON_BN_CLICKED(IDC_BUTTON1, OnButtonClicked)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void RunButtonDialog(UINT nTemplate, const std::function<void(CButtonDialog&)>& body)
{
    CButtonDialog dlg(nTemplate, [&body](CTestDialog& d) { body(static_cast<CButtonDialog&>(d)); });
    ASSERT_EQ(dlg.Run(), IDOK);
}

// The button as it paints itself: WM_PRINTCLIENT, the owner-draw request to
// the dialog and its reflection to the button, into a memory bitmap.
std::unique_ptr<CPixels> Render(CWnd& button)
{
    CRect rc;
    button.GetClientRect(&rc);
    auto pixels = std::make_unique<CPixels>(rc.Width(), rc.Height(), RGB(1, 2, 3));
    button.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(pixels->GetDC()), PRF_CLIENT);
    return pixels;
}

// The smallest rectangle holding every pixel of the colour (empty if none).
CRect Bounds(const CPixels& p, COLORREF cr)
{
    CRect box(p.Width(), p.Height(), 0, 0);
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x)
            if (p.At(x, y) == cr) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box.left < box.right ? box : CRect();
}

// Where the caption's ink is: every pixel that is neither the face nor the image.
// Small captions are smoothed and may hold no pixel of the text colour itself.
CRect InkBounds(const CPixels& p, COLORREF crFace, COLORREF crImage)
{
    CRect box(p.Width(), p.Height(), 0, 0);
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x)
            if (p.At(x, y) != crFace && p.At(x, y) != crImage) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box.left < box.right ? box : CRect();
}

int Count(const CPixels& p, COLORREF cr)
{
    return p.Count(CRect(0, 0, p.Width(), p.Height()), cr);
}

// An icon drawn in memory: fn gives each pixel's colour, or -1 for transparent.
HICON MakeIcon(int size, const std::function<int(int, int)>& fn)
{
    HDC hScreen = GetDC(nullptr);
    HBITMAP hColor = CreateCompatibleBitmap(hScreen, size, size);
    HBITMAP hMask = CreateBitmap(size, size, 1, 1, nullptr);
    HDC hDC = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hDC, hColor);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int c = fn(x, y);
            SetPixel(hDC, x, y, c < 0 ? BLACK : static_cast<COLORREF>(c));
        }
    SelectObject(hDC, hMask);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            SetPixel(hDC, x, y, fn(x, y) < 0 ? RGB(255, 255, 255) : BLACK);
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    ReleaseDC(nullptr, hScreen);
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = CreateIconIndirect(&ii);
    DeleteObject(hColor);
    DeleteObject(hMask);
    return hIcon;
}

HICON MakeSolidIcon(int size, COLORREF cr)
{
    return MakeIcon(size, [cr](int, int) { return static_cast<int>(cr); });
}

// A bitmap of one colour with a square of another in its middle.
HBITMAP MakeFramedBitmap(int size, COLORREF crOuter, COLORREF crInner)
{
    HDC hScreen = GetDC(nullptr);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, size, size);
    HDC hDC = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool inner = x >= size / 4 && x < size * 3 / 4 && y >= size / 4 && y < size * 3 / 4;
            SetPixel(hDC, x, y, inner ? crInner : crOuter);
        }
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    ReleaseDC(nullptr, hScreen);
    return hBitmap;
}

COLORREF PixelOf(HBITMAP hBitmap, int x, int y)
{
    HDC hDC = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    const COLORREF cr = GetPixel(hDC, x, y);
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    return cr;
}

CPoint ScreenCentre(CWnd& wnd)
{
    CRect rc;
    wnd.GetWindowRect(&rc);
    return CPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

void MoveMouse(CWnd& wnd, UINT nFlags)
{
    CRect rc;
    wnd.GetClientRect(&rc);
    wnd.SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(rc.Width() / 2, rc.Height() / 2));
}

// ---------------------------------------------------------------------------
// Setters

TEST(ImageButtonSetters, ShiftStateColorMovesAllChannelsAlikeWithinRange)
{
    CButtonProbe button;
    COLORREF cr = 0;
    button.SetStateColor(IMGBTN_FACE_HOVER, RGB(240, 240, 240), FALSE);
    EXPECT_EQ(button.ShiftStateColor(IMGBTN_FACE_HOVER, 30, FALSE), IMGBTN_OK);
    button.GetStateColor(IMGBTN_FACE_HOVER, &cr);
    EXPECT_EQ(cr, RGB(255, 255, 255));

    button.SetStateColor(IMGBTN_TEXT_NORMAL, RGB(10, 100, 200), FALSE);
    EXPECT_EQ(button.ShiftStateColor(IMGBTN_TEXT_NORMAL, -30, FALSE), IMGBTN_OK);
    button.GetStateColor(IMGBTN_TEXT_NORMAL, &cr);
    EXPECT_EQ(cr, RGB(0, 90, 190));

    button.SetStateColor(IMGBTN_FACE_FOCUS, RGB(1, 2, 3), FALSE);
    EXPECT_EQ(button.ShiftStateColor(IMGBTN_FACE_FOCUS, 0, FALSE), IMGBTN_OK);
    EXPECT_EQ(button.ShiftStateColor(IMGBTN_FACE_FOCUS, 256, FALSE), IMGBTN_BAD_PARAM);
    EXPECT_EQ(button.ShiftStateColor(IMGBTN_FACE_FOCUS, -256, FALSE), IMGBTN_BAD_PARAM);
    button.GetStateColor(IMGBTN_FACE_FOCUS, &cr);
    EXPECT_EQ(cr, RGB(1, 2, 3));
    EXPECT_EQ(button.ShiftStateColor(6, 10, FALSE), IMGBTN_BAD_INDEX);
}

TEST(ImageButtonSetters, BadIndexAlignmentAndLinkLengthAreRefused)
{
    CButtonProbe button;
    COLORREF cr = RGB(9, 9, 9);
    EXPECT_EQ(button.SetStateColor(6, RGB(1, 1, 1), FALSE), IMGBTN_BAD_INDEX);
    EXPECT_EQ(button.GetStateColor(6, &cr), IMGBTN_BAD_INDEX);
    EXPECT_EQ(cr, RGB(9, 9, 9));
    EXPECT_EQ(button.GetStateColor(IMGBTN_TEXT_FOCUS, &cr), IMGBTN_OK);
    EXPECT_EQ(cr, GetSysColor(COLOR_BTNTEXT));

    EXPECT_EQ(button.SetImageAlignment(IMGBTN_ALIGN_TOP, FALSE), IMGBTN_OK);
    EXPECT_EQ(button.SetImageAlignment(3, FALSE), IMGBTN_BAD_ALIGN);
    EXPECT_EQ(button.m_byAlign, IMGBTN_ALIGN_TOP);

    // Only check boxes keep a check state.
    EXPECT_EQ(button.SetCheckState(1, FALSE), IMGBTN_OK);
    EXPECT_EQ(button.GetCheckState(), 0);

    const std::string url(300, 'u');
    EXPECT_EQ(button.SetLinkTarget(url.c_str()), IMGBTN_OK);
    EXPECT_EQ(std::strlen(button.m_szLink), 259u);
    button.SetLinkTarget(nullptr);
    EXPECT_EQ(button.m_szLink[0], '\0');

    EXPECT_EQ(button.LoadHoverCursor(0, FALSE), IMGBTN_OK);
    EXPECT_EQ(button.LoadHoverCursor(IDI_FRAME_RED, FALSE), IMGBTN_BAD_RESOURCE);
    EXPECT_EQ(button.m_hHoverCursor, nullptr);
}

TEST(ImageButtonSetters, IconsAndBitmapsReplaceEachOther)
{
    CButtonProbe button;
    EXPECT_EQ(button.SetStateIcons(MakeSolidIcon(16, RED)), IMGBTN_OK);
    ASSERT_NE(button.m_icons[0].hIcon, nullptr);
    EXPECT_EQ(button.m_icons[0].dwWidth, 16u);
    EXPECT_EQ(button.m_icons[0].dwHeight, 16u);
    EXPECT_EQ(button.m_icons[1].hIcon, nullptr);

    HBITMAP hBitmap = MakeFramedBitmap(8, RGB(255, 0, 255), RGB(0, 0, 255));
    EXPECT_EQ(button.SetStateBitmaps(hBitmap, RGB(255, 0, 255)), IMGBTN_OK);
    EXPECT_EQ(button.m_icons[0].hIcon, nullptr);
    ASSERT_EQ(button.m_bitmaps[0].hBitmap, hBitmap);
    EXPECT_NE(button.m_bitmaps[0].hMask, nullptr);
    // The transparent colour has turned black; the rest stays.
    EXPECT_EQ(PixelOf(hBitmap, 0, 0), BLACK);
    EXPECT_EQ(PixelOf(hBitmap, 4, 4), RGB(0, 0, 255));

    EXPECT_EQ(button.LoadStateIcons(IDI_FRAME_RED, IDI_FRAME_GREEN), IMGBTN_OK);
    EXPECT_EQ(button.m_bitmaps[0].hBitmap, nullptr);
    EXPECT_NE(button.m_icons[1].hIcon, nullptr);
    EXPECT_EQ(button.m_icons[0].dwWidth, 32u);

    EXPECT_EQ(button.LoadStateIcons(IDI_FRAME_RED, -2), IMGBTN_OK);
    EXPECT_NE(button.m_icons[1].hIcon, nullptr);
    EXPECT_EQ(button.m_icons[1].dwWidth, 32u);

    // A resource id that names nothing is no image, not an error.
    EXPECT_EQ(button.LoadStateIcons(9999, 0), IMGBTN_OK);
    EXPECT_EQ(button.m_icons[0].hIcon, nullptr);
    EXPECT_EQ(button.LoadStateBitmaps(IDB_QUADRANTS, RGB(255, 0, 0)), IMGBTN_OK);
    EXPECT_EQ(button.m_bitmaps[0].dwWidth, 16u);
    EXPECT_EQ(button.m_bitmaps[0].dwHeight, 12u);

    // A handle that is no icon leaves the button without any image.
    EXPECT_EQ(button.SetStateIcons(reinterpret_cast<HICON>(0x1234)), IMGBTN_BAD_RESOURCE);
    EXPECT_EQ(button.m_icons[0].hIcon, nullptr);
    EXPECT_EQ(button.m_bitmaps[0].hBitmap, nullptr);
    EXPECT_EQ(button.SetStateBitmaps(reinterpret_cast<HBITMAP>(0x1234), 0), IMGBTN_BAD_RESOURCE);
    EXPECT_EQ(button.m_bitmaps[0].hBitmap, nullptr);

    // A normal image given without a usable hover image is released, not kept or leaked.
    HICON hNormalIcon = MakeSolidIcon(16, RED);
    EXPECT_EQ(button.SetStateIcons(nullptr, hNormalIcon), IMGBTN_OK);
    ICONINFO ii = {};
    EXPECT_FALSE(GetIconInfo(hNormalIcon, &ii));
    HBITMAP hNormalBitmap = MakeFramedBitmap(8, RED, RED);
    EXPECT_EQ(button.SetStateBitmaps(reinterpret_cast<HBITMAP>(0x1234), 0, hNormalBitmap, 0), IMGBTN_BAD_RESOURCE);
    EXPECT_EQ(GetObjectType(hNormalBitmap), 0u);
    EXPECT_EQ(button.m_bitmaps[1].hBitmap, nullptr);
}

// ---------------------------------------------------------------------------
// Subclassing and messages

TEST(ImageButtonMessages, SubclassingAndSetStyleKeepOwnerDraw)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        for (CButtonProbe* p : {&d.m_button, &d.m_check, &d.m_default})
            EXPECT_EQ(p->GetStyle() & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_FALSE(d.m_button.IsDefaultStyle());
        EXPECT_EQ(d.m_button.m_nButtonType, static_cast<UINT>(BS_PUSHBUTTON));
        EXPECT_TRUE(d.m_default.IsDefaultStyle());
        EXPECT_EQ(d.m_default.m_nButtonType, static_cast<UINT>(BS_PUSHBUTTON));
        EXPECT_TRUE(d.m_check.m_bCheckBox);
        EXPECT_FALSE(d.m_button.m_bCheckBox);

        EXPECT_TRUE(d.m_default.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
        EXPECT_TRUE(d.m_button.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);

        d.m_button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        EXPECT_TRUE(d.m_button.IsDefaultStyle());
        EXPECT_EQ(d.m_button.GetStyle() & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_TRUE(d.m_button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
        d.m_button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        EXPECT_FALSE(d.m_button.IsDefaultStyle());
        EXPECT_EQ(d.m_button.GetStyle() & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
    });
}

TEST(ImageButtonMessages, DoubleClickCountsAsTwoClicks)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        const LPARAM centre = MAKELPARAM(10, 10);
        d.m_button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, centre);
        d.m_button.SendMessage(WM_LBUTTONUP, 0, centre);
        d.m_button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
        d.m_button.SendMessage(WM_LBUTTONUP, 0, centre);
        EXPECT_EQ(d.m_nClicks, 2);
        // The click takes the focus.
        EXPECT_EQ(::GetFocus(), d.m_button.m_hWnd);
    });
}

TEST(ImageButtonMessages, CheckBoxFlipsOnClickAndTakesSetCheck)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        d.m_check.SendMessage(BM_CLICK);
        EXPECT_EQ(d.m_check.GetCheckState(), 1);
        d.m_check.SendMessage(BM_CLICK);
        EXPECT_EQ(d.m_check.GetCheckState(), 0);

        d.m_check.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
        EXPECT_EQ(d.m_check.SendMessage(BM_GETCHECK), 1);
        d.m_check.SendMessage(BM_SETCHECK, BST_UNCHECKED);
        EXPECT_EQ(d.m_check.SendMessage(BM_GETCHECK), 0);
        d.m_check.SendMessage(BM_SETCHECK, BST_CHECKED);
        EXPECT_EQ(d.m_check.SendMessage(BM_GETCHECK), 1);

        d.m_button.SendMessage(BM_SETCHECK, BST_CHECKED);
        EXPECT_EQ(d.m_button.SendMessage(BM_GETCHECK), 0);
    });
}

TEST(ImageButtonMessages, DisablingMovesTheFocusOn)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        d.m_button.SetFocus();
        d.m_button.EnableWindow(FALSE);
        EXPECT_EQ(GetFocus(), GetDlgItem(d.m_hWnd, IDC_BUTTON2));
    });
    RunButtonDialog(IDD_SINGLE, [](CButtonDialog& d) {
        d.m_button.SetFocus();
        d.m_button.EnableWindow(FALSE);
        EXPECT_EQ(GetFocus(), d.m_hWnd);
    });
}

TEST(ImageButtonMessages, HoverFollowsTheMouseInTheFlatLookOnly)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        const CPoint centre = ScreenCentre(b);
        SetCursorPos(centre.x, centre.y);

        // A drag that enters from outside does not highlight.
        MoveMouse(b, MK_LBUTTON);
        EXPECT_FALSE(b.m_bHover);
        MoveMouse(b, 0);
        EXPECT_TRUE(b.m_bHover);

        // Leaving: the leave notification ends the hover.
        SetCursorPos(centre.x + 400, centre.y + 400);
        for (int i = 0; i < 40 && b.m_bHover; ++i)
            d.Pump(50);
        EXPECT_FALSE(b.m_bHover);

        SetCursorPos(centre.x, centre.y);
        MoveMouse(b, 0);
        ASSERT_TRUE(b.m_bHover);
        b.SendMessage(WM_CANCELMODE);
        EXPECT_FALSE(b.m_bHover);
        MoveMouse(b, 0);
        b.SendMessage(WM_KILLFOCUS);
        EXPECT_FALSE(b.m_bHover);
        MoveMouse(b, 0);
        b.SendMessage(WM_ACTIVATE, WA_INACTIVE);
        EXPECT_FALSE(b.m_bHover);

        // While the application has no active window, only a button told to track anyway lights up.
        SetActiveWindow(nullptr);
        ASSERT_EQ(GetActiveWindow(), nullptr);
        b.SetTrackWhenInactive(FALSE);
        MoveMouse(b, 0);
        EXPECT_FALSE(b.m_bHover);
        b.SetTrackWhenInactive(TRUE);
        MoveMouse(b, 0);
        EXPECT_TRUE(b.m_bHover);
        SetActiveWindow(d.m_hWnd);
        b.SetTrackWhenInactive(FALSE);
        b.SendMessage(WM_CANCELMODE);
        MoveMouse(b, 0);
        EXPECT_TRUE(b.m_bHover);
        b.SendMessage(WM_CANCELMODE);

        b.SetFlatLook(FALSE);
        MoveMouse(b, 0);
        EXPECT_FALSE(b.m_bHover);
        SetCursorPos(centre.x + 400, centre.y + 400);
    });
}

TEST(ImageButtonMessages, HoverCursorIsShownOverTheButton)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        ASSERT_EQ(b.LoadHoverCursor(IDC_HOVER_CURSOR), IMGBTN_OK);
        ASSERT_NE(b.m_hHoverCursor, nullptr);
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        EXPECT_TRUE(b.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(b.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), b.m_hHoverCursor);
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        EXPECT_EQ(b.LoadHoverCursor(0), IMGBTN_OK);
        EXPECT_EQ(b.m_hHoverCursor, nullptr);
    });
}

TEST(ImageButtonMessages, ClickOpensTheLink)
{
    const CLinkScript link("link_target");
    RunButtonDialog(IDD_TEST, [&](CButtonDialog& d) {
        d.m_button.SetLinkTarget(link.Path());
        d.m_button.SendMessage(BM_CLICK);
        EXPECT_EQ(d.m_nClicks, 1);
        EXPECT_TRUE(link.WaitOpened(d));
    });
}

TEST(ImageButtonMessages, TooltipHoldsOneToolWithTheHintText)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.SetHintText("选择升级文件并执行升级", TRUE);
        ASSERT_NE(b.m_hint.m_hWnd, nullptr);
        EXPECT_EQ(b.m_hint.GetToolCount(), 1);
        EXPECT_EQ(b.m_hint.SendMessage(TTM_GETMAXTIPWIDTH), 400);

        b.SetHintText("第二", TRUE);
        b.LoadHintText(IDS_EMPTY_UNUSED, TRUE);
        EXPECT_EQ(b.m_hint.GetToolCount(), 1);
        char text[80] = "";
        TOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        ti.hwnd = b.m_hWnd;
        ti.uId = 1;
        ti.lpszText = text;
        b.m_hint.SendMessage(TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
        EXPECT_STREQ(text, "第二");
    });
}

// ---------------------------------------------------------------------------
// Drawing

TEST(ImageButtonDrawing, FlatEdgeOnlyWhileHoveredOrPressed)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.UseColours();
        SetFocus(GetDlgItem(d.m_hWnd, IDC_EDIT));
        auto rest = Render(b);
        const int r = rest->Width() - 1, btm = rest->Height() - 1;
        EXPECT_EQ(rest->At(0, 0), FACE_NORMAL);
        EXPECT_EQ(rest->At(r, btm), FACE_NORMAL);

        b.m_bHover = TRUE;
        auto hover = Render(b);
        EXPECT_EQ(hover->At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(hover->At(r, btm), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(hover->At(1, 1), FACE_HOVER);

        b.m_bHover = FALSE;
        b.SendMessage(BM_SETSTATE, TRUE);
        auto pressed = Render(b);
        EXPECT_EQ(pressed->At(0, 0), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(pressed->At(r, btm), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(pressed->At(1, 1), FACE_HOVER);

        b.SetFlatBorder(FALSE);
        auto noBorderPressed = Render(b);
        EXPECT_EQ(noBorderPressed->At(0, 0), FACE_HOVER);
        b.SendMessage(BM_SETSTATE, FALSE);
        b.m_bHover = TRUE;
        auto noBorderHover = Render(b);
        EXPECT_EQ(noBorderHover->At(0, 0), FACE_HOVER);
        EXPECT_EQ(noBorderHover->At(r, btm), FACE_HOVER);
    });
}

TEST(ImageButtonDrawing, FocusedStandardButtonGetsBlackFrameAndInnerEdge)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.UseColours();
        b.SetFlatLook(FALSE);
        SetFocus(GetDlgItem(d.m_hWnd, IDC_EDIT));
        auto plain = Render(b);
        const int r = plain->Width() - 1, btm = plain->Height() - 1;
        EXPECT_EQ(plain->At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(plain->At(1, 1), Sys(COLOR_3DLIGHT));
        EXPECT_EQ(plain->At(r, btm), Sys(COLOR_3DDKSHADOW));
        EXPECT_EQ(plain->At(r - 1, btm - 1), Sys(COLOR_BTNSHADOW));

        b.SetFocus();
        auto focused = Render(b);
        EXPECT_EQ(focused->At(0, 0), BLACK);
        EXPECT_EQ(focused->At(r, btm), BLACK);
        EXPECT_EQ(focused->At(1, 1), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(focused->At(r - 1, btm - 1), Sys(COLOR_3DDKSHADOW));
        EXPECT_EQ(focused->At(3, 3), FACE_FOCUS);
        // The caption keeps its place.
        EXPECT_EQ(Bounds(*focused, TEXT_NORMAL), Bounds(*plain, TEXT_NORMAL));
        EXPECT_FALSE(IsRectEmpty(Bounds(*plain, TEXT_NORMAL)));

        // Pressed, the standard look has a shadow frame instead of the raised edge.
        b.SendMessage(BM_SETSTATE, TRUE);
        auto pressed = Render(b);
        EXPECT_EQ(pressed->At(0, 0), BLACK);
        EXPECT_EQ(pressed->At(1, 1), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(pressed->At(r - 1, btm - 1), Sys(COLOR_BTNSHADOW));
        b.SendMessage(BM_SETSTATE, FALSE);

        // Never a hover in the standard look.
        MoveMouse(b, 0);
        EXPECT_FALSE(b.m_bHover);
    });
}

TEST(ImageButtonDrawing, PressMovesImageAndCaptionButNotForACheckedCheckBox)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        for (CButtonProbe* p : {&d.m_button, &d.m_check}) {
            p->UseColours();
            p->SetStateIcons(MakeSolidIcon(16, RED));
        }
        SetFocus(GetDlgItem(d.m_hWnd, IDC_EDIT));

        CButtonProbe& b = d.m_button;
        auto rest = Render(b);
        b.SendMessage(BM_SETSTATE, TRUE);
        auto pressed = Render(b);
        b.SendMessage(BM_SETSTATE, FALSE);
        CRect image = Bounds(*rest, RED);
        ASSERT_EQ(image.Width(), 16);
        image.OffsetRect(1, 1);
        EXPECT_EQ(Bounds(*pressed, RED), image);
        CRect caption = Bounds(*rest, TEXT_NORMAL);
        ASSERT_FALSE(IsRectEmpty(caption));
        caption.OffsetRect(1, 1);
        EXPECT_EQ(Bounds(*pressed, TEXT_HOVER), caption);

        // Image left of the caption, 3 pixels from the edge, centred vertically.
        EXPECT_EQ(Bounds(*rest, RED).left, 3);
        EXPECT_EQ(Bounds(*rest, RED).top, (rest->Height() - 16) / 2);

        CButtonProbe& c = d.m_check;
        auto unchecked = Render(c);
        c.SetCheckState(1);
        auto checked = Render(c);
        EXPECT_EQ(checked->At(0, 0), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(Bounds(*checked, RED), Bounds(*unchecked, RED));
        EXPECT_EQ(Bounds(*checked, TEXT_HOVER), Bounds(*unchecked, TEXT_NORMAL));
    });
}

TEST(ImageButtonDrawing, ImageWithoutCaptionIsCentredOrTopForRightAlignment)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.UseColours();
        b.SetWindowText("");
        b.SetStateIcons(MakeSolidIcon(16, RED));
        auto left = Render(b);
        const CRect centred((left->Width() - 16) / 2, (left->Height() - 16) / 2,
                            (left->Width() - 16) / 2 + 16, (left->Height() - 16) / 2 + 16);
        EXPECT_EQ(Bounds(*left, RED), centred);
        b.SetImageAlignment(IMGBTN_ALIGN_TOP);
        EXPECT_EQ(Bounds(*Render(b), RED), centred);
        b.SetImageAlignment(IMGBTN_ALIGN_RIGHT);
        EXPECT_EQ(Bounds(*Render(b), RED), CRect(centred.left, 0, centred.right, 16));

        // With a caption: on top, 3 pixels from the top edge, the caption centred in
        // the rest below the image's height; on the right, 3 pixels from the right
        // edge, the caption centred in the space from 3 pixels to the left of it.
        SetFocus(GetDlgItem(d.m_hWnd, IDC_EDIT));
        b.SetWindowText("升级");
        b.SetImageAlignment(IMGBTN_ALIGN_TOP);
        auto top = Render(b);
        const int w = top->Width(), h = top->Height();
        EXPECT_EQ(Bounds(*top, RED), CRect(centred.left, 3, centred.right, 19));
        const CRect topInk = InkBounds(*top, FACE_NORMAL, RED);
        ASSERT_FALSE(IsRectEmpty(topInk));
        EXPECT_GE(topInk.top, 16);
        EXPECT_NEAR(topInk.top - 16, h - topInk.bottom, 3);
        EXPECT_NEAR(topInk.left, w - topInk.right, 3);

        b.SetImageAlignment(IMGBTN_ALIGN_RIGHT);
        auto right = Render(b);
        EXPECT_EQ(Bounds(*right, RED), CRect(w - 19, centred.top, w - 3, centred.bottom));
        const CRect rightInk = InkBounds(*right, FACE_NORMAL, RED);
        ASSERT_FALSE(IsRectEmpty(rightInk));
        EXPECT_NEAR(rightInk.left - 3, (w - 19) - rightInk.right, 3);
    });
}

TEST(ImageButtonDrawing, LongCaptionWrapsAndIsCentredAsABlock)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.UseColours();
        SetFocus(GetDlgItem(d.m_hWnd, IDC_EDIT));
        b.SetWindowText("升级");
        auto line = Render(b);
        const CRect one = InkBounds(*line, FACE_NORMAL, RED);
        b.SetWindowText("较长的标题文字会自动换行");
        auto block = Render(b);
        const CRect two = InkBounds(*block, FACE_NORMAL, RED);
        ASSERT_FALSE(IsRectEmpty(one));
        ASSERT_FALSE(IsRectEmpty(two));
        EXPECT_GT(two.Height(), one.Height() + 6);
        EXPECT_NEAR(two.left, block->Width() - two.right, 3);
        EXPECT_NEAR(two.top, block->Height() - two.bottom, 3);
    });
}

TEST(ImageButtonDrawing, DisabledCaptionIsEngraved)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.UseColours();
        b.EnableWindow(FALSE);
        auto disabled = Render(b);
        EXPECT_EQ(Count(*disabled, TEXT_NORMAL), 0);
        const CRect light = Bounds(*disabled, Sys(COLOR_BTNHIGHLIGHT));
        const CRect dark = Bounds(*disabled, Sys(COLOR_BTNSHADOW));
        ASSERT_FALSE(IsRectEmpty(light));
        ASSERT_FALSE(IsRectEmpty(dark));
        EXPECT_EQ(light.right, dark.right + 1);
        EXPECT_EQ(light.bottom, dark.bottom + 1);
    });
}

TEST(ImageButtonDrawing, BitmapShowsTheFaceThroughItsTransparentColour)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.UseColours();
        b.SetWindowText("");
        SetFocus(GetDlgItem(d.m_hWnd, IDC_EDIT));
        b.SetStateBitmaps(MakeFramedBitmap(16, RGB(255, 0, 255), RGB(0, 0, 255)), RGB(255, 0, 255));
        auto image = Render(b);
        EXPECT_EQ(Count(*image, RGB(0, 0, 255)), 64);
        EXPECT_EQ(Count(*image, RGB(255, 0, 255)), 0);
        EXPECT_EQ(Count(*image, BLACK), 0);
        const int cx = image->Width() / 2, cy = image->Height() / 2;
        EXPECT_EQ(image->At(cx - 7, cy - 7), FACE_NORMAL);

        // A transparent colour that does not occur: an opaque square.
        b.SetStateBitmaps(MakeFramedBitmap(16, RGB(0, 255, 0), RGB(0, 0, 255)), RGB(255, 0, 255));
        auto opaque = Render(b);
        EXPECT_EQ(Count(*opaque, RGB(0, 255, 0)), 256 - 64);

        // Disabled, the system's disabled look replaces the colours...
        b.EnableWindow(FALSE);
        auto grey = Render(b);
        EXPECT_EQ(Count(*grey, RGB(0, 0, 255)), 0);
        EXPECT_GT(Count(*grey, Sys(COLOR_BTNSHADOW)), 0);
        // ...unless the button draws disabled bitmaps as they are.
        b.m_bGrayDisabledBitmap = FALSE;
        auto asIs = Render(b);
        EXPECT_EQ(Count(*asIs, RGB(0, 0, 255)), 64);
    });
}

TEST(ImageButtonDrawing, GreyIconKeepsBlackPixelsAndTransparency)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.UseColours();
        b.SetWindowText("");
        SetFocus(GetDlgItem(d.m_hWnd, IDC_EDIT));
        // Rows 0-3 transparent, 4-9 red, 10-15 black.
        HICON hIcon = MakeIcon(16, [](int, int y) { return y < 4 ? -1 : y < 10 ? static_cast<int>(RED) : 0; });
        ASSERT_EQ(b.SetStateIcons(hIcon, IMGBTN_AUTO_GRAY), IMGBTN_OK);
        const COLORREF GREY = RGB(76, 76, 76);   // 255 x 0.299, truncated
        for (int pass = 0; pass < 2; ++pass) {
            auto normal = Render(b);
            const CRect icon = Bounds(*normal, GREY);
            ASSERT_EQ(icon.Width(), 16) << "pass " << pass;
            EXPECT_EQ(icon.Height(), 6);
            EXPECT_EQ(Count(*normal, RED), 0);
            EXPECT_EQ(Bounds(*normal, BLACK), CRect(icon.left, icon.bottom, icon.right, icon.bottom + 6));
            EXPECT_EQ(normal->At(icon.left, icon.top - 4), FACE_NORMAL);

            b.m_bHover = TRUE;
            auto hover = Render(b);
            EXPECT_EQ(Count(*hover, RED), 16 * 6);
            b.m_bHover = FALSE;

            // The same from an icon resource with an alpha channel.
            ASSERT_EQ(b.LoadStateIcons(IDI_MIXED, -2), IMGBTN_OK);
        }
    });
}

TEST(ImageButtonDrawing, ParentBackgroundIsASnapshotUntilDiscarded)
{
    RunButtonDialog(IDD_TEST, [](CButtonDialog& d) {
        CButtonProbe& b = d.m_button;
        b.SetWindowText("");
        SetFocus(GetDlgItem(d.m_hWnd, IDC_EDIT));
        RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
        b.UseParentBackground(FALSE);
        auto green = Render(b);
        EXPECT_EQ(green->At(1, 1), RGB(0, 128, 0));
        EXPECT_EQ(Count(*green, RGB(0, 128, 0)), green->Width() * green->Height());

        // The parent changes; the button keeps what it saw...
        d.m_crBack = RGB(0, 0, 128);
        RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
        EXPECT_EQ(Render(b)->At(1, 1), RGB(0, 128, 0));
        // ...until the snapshot is discarded.
        b.SendMessage(WM_SYSCOLORCHANGE);
        EXPECT_EQ(Render(b)->At(1, 1), RGB(0, 0, 128));
        d.m_crBack = RGB(128, 0, 0);
        RedrawWindow(d.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
        b.UseParentBackground(FALSE);
        EXPECT_EQ(Render(b)->At(1, 1), RGB(128, 0, 0));
    });
}

}  // namespace
