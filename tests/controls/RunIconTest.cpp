#include "AfxWin.h"
#include "MyRunIcon.h"
#include "OffscreenDC.h"
#include "TestDialog.h"
#include "TestResource.h"
#include <gtest/gtest.h>
#include <functional>

namespace {

CWinApp theApp;

const COLORREF RED = RGB(255, 0, 0), GREEN = RGB(0, 255, 0), BLUE = RGB(0, 0, 255);
const COLORREF GREY = RGB(200, 200, 200);

// The indicator's state open to the tests, and a count of its timer ticks.
class CRunIconProbe : public CMyRunIcon {
public:
    using CMyRunIcon::m_bHorizontal;
    using CMyRunIcon::m_bSecondPass;
    using CMyRunIcon::m_bmpBack;
    using CMyRunIcon::m_fStep;
    using CMyRunIcon::m_nCurrent;
    using CMyRunIcon::m_nFrames;
    using CMyRunIcon::m_nOffset;
    using CMyRunIcon::m_rcClient;
    int m_nTicks = 0;

    void Tick(UINT_PTR nIDEvent = 1) { SendMessage(WM_TIMER, nIDEvent); }

    // What the control shows on the screen after a repaint.
    std::unique_ptr<CPixels> Capture()
    {
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        CRect rc;
        GetClientRect(&rc);
        auto pixels = std::make_unique<CPixels>(rc.Width(), rc.Height(), RGB(1, 2, 3));
        HDC hDC = ::GetDC(m_hWnd);
        ::BitBlt(pixels->GetDC(), 0, 0, rc.Width(), rc.Height(), hDC, 0, 0, SRCCOPY);
        ::ReleaseDC(m_hWnd, hDC);
        return pixels;
    }

protected:
    void OnTimer(UINT_PTR nIDEvent)
    {
        ++m_nTicks;
        CMyRunIcon::OnTimer(nIDEvent);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRunIconProbe, CMyRunIcon)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// The test dialog with a 27 x 24 indicator (wider than high) and a 12 x 30 one.
class CRunIconDialog : public CTestDialog {
public:
    using CTestDialog::CTestDialog;
    CRunIconProbe m_wide;
    CRunIconProbe m_tall;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CTestDialog::DoDataExchange(pDX);
        ::MoveWindow(::GetDlgItem(m_hWnd, IDC_RUNICON), 20, 120, 27, 24, FALSE);
        ::MoveWindow(::GetDlgItem(m_hWnd, IDC_RUNICON_TALL), 60, 120, 12, 30, FALSE);
        DDX_Control(pDX, IDC_RUNICON, m_wide);
        DDX_Control(pDX, IDC_RUNICON_TALL, m_tall);
    }
};

void RunDialog(const std::function<void(CRunIconDialog&)>& body)
{
    CRunIconDialog dlg(IDD_TEST, [&body](CTestDialog& d) { body(static_cast<CRunIconDialog&>(d)); });
    ASSERT_EQ(dlg.Run(), IDOK);
}

int Count(const CPixels& p, COLORREF cr)
{
    return p.Count(CRect(0, 0, p.Width(), p.Height()), cr);
}

TEST(RunIconTest, WideControlDrawsSquaresOfItsHeightAtTheLeft)
{
    RunDialog([](CRunIconDialog& d) {
        CRunIconProbe& icon = d.m_wide;
        EXPECT_EQ(icon.m_rcClient, CRect(0, 0, 27, 24));
        EXPECT_EQ(icon.m_bHorizontal, 1);

        // Before any frame: the fill colour alone.
        icon.SetBackColor(GREY);
        EXPECT_EQ(Count(*icon.Capture(), GREY), 27 * 24);
        icon.Tick();
        EXPECT_EQ(icon.m_nCurrent, 0);

        icon.AddFrame(IDI_FRAME_RED);
        auto p = icon.Capture();
        EXPECT_EQ(p->Count(CRect(0, 0, 24, 24), RED), 24 * 24);
        EXPECT_EQ(p->Count(CRect(24, 0, 27, 24), GREY), 3 * 24);

        // The tall one: squares of its width at the top.
        CRunIconProbe& tall = d.m_tall;
        EXPECT_EQ(tall.m_bHorizontal, 0);
        tall.SetBackColor(GREY);
        tall.AddFrame(IDI_FRAME_BLUE);
        auto t = tall.Capture();
        EXPECT_EQ(t->Count(CRect(0, 0, 12, 12), BLUE), 12 * 12);
        EXPECT_EQ(t->Count(CRect(0, 12, 12, 30), GREY), 12 * 18);
    });
}

TEST(RunIconTest, FramesCycleAndEachWrapFlipsThePass)
{
    RunDialog([](CRunIconDialog& d) {
        CRunIconProbe& icon = d.m_wide;
        icon.SetBackColor(GREY);
        for (UINT id : {IDI_FRAME_RED, IDI_FRAME_GREEN, IDI_FRAME_BLUE})
            icon.AddFrame(id);
        EXPECT_EQ(icon.m_fStep, 9.0f);   // 27 / 3
        const COLORREF expected[] = {GREEN, BLUE, RED, GREEN};
        const int passes[] = {0, 0, 1, 1};
        for (int i = 0; i < 4; ++i) {
            icon.Tick();
            EXPECT_EQ(icon.Capture()->At(5, 5), expected[i]) << "tick " << i;
            EXPECT_EQ(icon.m_bSecondPass, passes[i]) << "tick " << i;
            EXPECT_EQ(icon.m_nOffset, icon.m_nCurrent * 9);
        }
        // Other timers go on to the base handling only.
        icon.Tick(2);
        EXPECT_EQ(icon.m_nCurrent, 1);

        // The fill bitmap is made once; a new colour shows at the next paint.
        HGDIOBJ hBack = icon.m_bmpBack.m_hObject;
        icon.SetBackColor(RGB(10, 20, 30));
        EXPECT_EQ(icon.Capture()->At(26, 5), RGB(10, 20, 30));
        EXPECT_EQ(icon.m_bmpBack.m_hObject, hBack);
    });
}

TEST(RunIconTest, SlideModeMovesTheFrameAlongTheLength)
{
    RunDialog([](CRunIconDialog& d) {
        CRunIconProbe& icon = d.m_wide;
        icon.SetBackColor(GREY);
        for (int i = 0; i < 3; ++i)
            icon.AddFrame(IDI_FRAME_RED);
        icon.SetSlideMode(1);
        EXPECT_EQ(icon.Capture()->Count(CRect(0, 0, 27, 24), RED), 24 * 24);
        icon.Tick();   // first pass, offset 9: from x = -9
        auto p = icon.Capture();
        EXPECT_EQ(p->Count(CRect(0, 0, 15, 24), RED), 15 * 24);
        EXPECT_EQ(p->Count(CRect(15, 0, 27, 24), GREY), 12 * 24);
        icon.Tick();
        icon.Tick();   // second pass, offset 0: just outside the right edge
        EXPECT_EQ(Count(*icon.Capture(), GREY), 27 * 24);
        icon.Tick();   // offset 9: from x = 18
        p = icon.Capture();
        EXPECT_EQ(p->Count(CRect(18, 0, 27, 24), RED), 9 * 24);
        EXPECT_EQ(p->Count(CRect(0, 0, 18, 24), GREY), 18 * 24);

        // A fixed orientation sticks, and the step is not recomputed.
        icon.SetOrientation(FALSE, TRUE);
        EXPECT_EQ(icon.m_fStep, 9.0f);
        icon.UpdateGeometry();
        EXPECT_EQ(icon.m_bHorizontal, 0);
        EXPECT_EQ(icon.m_fStep, 8.0f);   // 24 / 3
    });
}

TEST(RunIconTest, FiftyFramesAtMost)
{
    RunDialog([](CRunIconDialog& d) {
        for (int i = 0; i < 51; ++i)
            d.m_wide.AddFrame(IDI_FRAME_GREEN);
        EXPECT_EQ(d.m_wide.m_nFrames, 50);
        // A frame that fails to load still counts, and draws nothing.
        d.m_tall.SetBackColor(GREY);
        d.m_tall.AddFrame(9999);
        EXPECT_EQ(d.m_tall.m_nFrames, 1);
        EXPECT_EQ(Count(*d.m_tall.Capture(), GREY), 12 * 30);
    });
}

TEST(RunIconTest, TimerRunsFromAttachingAndIntervalsAreClamped)
{
    RunDialog([](CRunIconDialog& d) {
        CRunIconProbe& icon = d.m_wide;
        icon.AddFrame(IDI_FRAME_RED);
        d.Pump(450);   // 100 ms from the moment it was attached
        EXPECT_GE(icon.m_nTicks, 2);
        EXPECT_LE(icon.m_nTicks, 6);

        icon.m_nTicks = 0;
        icon.StartAnimation(5);   // 10 ms
        d.Pump(300);
        EXPECT_GE(icon.m_nTicks, 6);   // 100 ms would give 3 at most

        icon.StartAnimation(100001);   // 1000 ms
        icon.m_nTicks = 0;
        d.Pump(1400);
        EXPECT_GE(icon.m_nTicks, 1);
        EXPECT_LE(icon.m_nTicks, 2);

        icon.StartAnimation(100000);   // kept
        icon.m_nTicks = 0;
        d.Pump(1400);
        EXPECT_EQ(icon.m_nTicks, 0);
    });
}

TEST(OffscreenDCTest, PictureReachesTheTargetInOneBlockAtTheEnd)
{
    CPixels target(40, 40, RGB(1, 2, 3));
    CDC dc;
    dc.Attach(target.GetDC());
    dc.SetBkColor(GREY);
    {
        const CRect area(10, 10, 30, 30);
        COffscreenDC offscreen(&dc, &area, TRUE);
        // Target coordinates.
        offscreen.FillSolidRect(12, 12, 4, 4, RED);
        EXPECT_EQ(target.At(12, 12), RGB(1, 2, 3));
    }
    EXPECT_EQ(target.At(12, 12), RED);
    EXPECT_EQ(target.At(10, 10), GREY);   // the area starts out in the target's background colour
    EXPECT_EQ(target.At(29, 29), GREY);
    EXPECT_EQ(target.At(9, 9), RGB(1, 2, 3));
    EXPECT_EQ(target.At(30, 30), RGB(1, 2, 3));

    {
        COffscreenDC direct(&dc, nullptr, FALSE);   // the whole clip box, straight to the target
        direct.FillSolidRect(0, 0, 2, 2, BLUE);
        EXPECT_EQ(target.At(1, 1), BLUE);
    }
    EXPECT_EQ(target.At(35, 35), GREY);
    // The target's handles were only borrowed.
    EXPECT_EQ(GetObjectType(target.GetDC()), static_cast<DWORD>(OBJ_MEMDC));
    dc.Detach();
}

}  // namespace
