#include "AfxWin.h"
#include "BDialog.h"
#include "TestDialog.h"
#include "TestResource.h"
#include <gtest/gtest.h>
#include <functional>
#include <vector>

namespace {

CWinApp theApp;

const COLORREF RED = RGB(255, 0, 0), GREEN = RGB(0, 255, 0), BLUE = RGB(0, 0, 255), YELLOW = RGB(255, 255, 0);
const int BW = 16, BH = 12;   // the quadrant bitmap

// The quadrant bitmap's colour at one of its points.
COLORREF Quadrant(int x, int y)
{
    const bool right = x >= BW / 2, bottom = y >= BH / 2;
    return bottom ? (right ? YELLOW : BLUE) : (right ? GREEN : RED);
}

// A bitmap dialog sized to a client area in pixels; the body runs while it initialises.
class CBackgroundDialog : public CBDialog {
public:
    typedef std::function<void(CBackgroundDialog&)> Body;
    using CBDialog::m_nBackgroundMode;

    CBackgroundDialog(int cx, int cy, Body body) : CBDialog(IDD_BACKGROUND), m_cx(cx), m_cy(cy), m_body(std::move(body)) {}

    // The background as the erase paints it.
    std::unique_ptr<CPixels> Erase()
    {
        auto pixels = std::make_unique<CPixels>(m_cx, m_cy, RGB(1, 2, 3));
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels->GetDC()));
        return pixels;
    }

    // The block copies of one erase, in order, as a metafile records them.
    struct Copy {
        char kind;   // 'B' BitBlt, 'S' StretchBlt
        CRect rcDest;
    };
    std::vector<Copy> RecordCopies()
    {
        HDC hEmf = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hEmf));
        HENHMETAFILE hMeta = CloseEnhMetaFile(hEmf);
        std::vector<Copy> copies;
        EnumEnhMetaFile(nullptr, hMeta, &CBackgroundDialog::OnRecord, &copies, nullptr);
        DeleteEnhMetaFile(hMeta);
        return copies;
    }

protected:
    BOOL OnInitDialog() override
    {
        CBDialog::OnInitDialog();
        MoveWindow(m_hWnd, 0, 0, m_cx, m_cy, FALSE);
        m_body(*this);
        EndDialog(IDOK);
        return TRUE;
    }

private:
    static int CALLBACK OnRecord(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam)
    {
        auto* copies = reinterpret_cast<std::vector<Copy>*>(lParam);
        // Copies of the bitmap only: the plain erase before them is a pattern fill.
        if (pRecord->iType == EMR_BITBLT && reinterpret_cast<const EMRBITBLT*>(pRecord)->dwRop == SRCCOPY) {
            auto* p = reinterpret_cast<const EMRBITBLT*>(pRecord);
            copies->push_back({'B', CRect(p->xDest, p->yDest, p->xDest + p->cxDest, p->yDest + p->cyDest)});
        } else if (pRecord->iType == EMR_STRETCHBLT) {
            auto* p = reinterpret_cast<const EMRSTRETCHBLT*>(pRecord);
            copies->push_back({'S', CRect(p->xDest, p->yDest, p->xDest + p->cxDest, p->yDest + p->cyDest)});
        }
        return 1;
    }

    int m_cx, m_cy;
    Body m_body;
};

void RunDialog(int cx, int cy, const CBackgroundDialog::Body& body)
{
    CBackgroundDialog dlg(cx, cy, body);
    ASSERT_EQ(dlg.DoModal(), IDOK);
}

TEST(BDialogTest, TileRepeatsTheBitmapRowByRow)
{
    RunDialog(2 * BW, 2 * BH, [](CBackgroundDialog& d) {
        d.LoadBackgroundBitmap(IDB_QUADRANTS);
        EXPECT_EQ(d.m_nBackgroundMode, CBDialog::BG_TILE);
        const auto copies = d.RecordCopies();
        ASSERT_EQ(copies.size(), 4u);
        const POINT order[4] = {{0, 0}, {BW, 0}, {0, BH}, {BW, BH}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(copies[i].kind, 'B');
            EXPECT_EQ(copies[i].rcDest, CRect(order[i], CSize(2 * BW, 2 * BH))) << "copy " << i;
        }
        auto p = d.Erase();
        for (int y = 0; y < 2 * BH; ++y)
            for (int x = 0; x < 2 * BW; ++x)
                ASSERT_EQ(p->At(x, y), Quadrant(x % BW, y % BH)) << x << "," << y;
    });
}

TEST(BDialogTest, BitmapLargerThanTheClientAreaShowsItsTopLeftPart)
{
    RunDialog(10, 8, [](CBackgroundDialog& d) {
        d.LoadBackgroundBitmap(IDB_QUADRANTS);
        for (int mode : {CBDialog::BG_TILE, CBDialog::BG_CENTER}) {
            d.SetBackgroundMode(mode);
            const auto copies = d.RecordCopies();
            ASSERT_EQ(copies.size(), 1u);
            EXPECT_EQ(copies[0].rcDest, CRect(0, 0, 10, 8));
            auto p = d.Erase();
            EXPECT_EQ(p->At(0, 0), RED);
            EXPECT_EQ(p->At(9, 0), GREEN);
            EXPECT_EQ(p->At(0, 7), BLUE);
        }
    });
}

TEST(BDialogTest, CentreAndStretch)
{
    RunDialog(40, 30, [](CBackgroundDialog& d) {
        d.LoadBackgroundBitmap(IDB_QUADRANTS);
        d.SetBackgroundMode(CBDialog::BG_CENTER);
        const auto copies = d.RecordCopies();
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(copies[0].rcDest, CRect(12, 9, 12 + BW, 9 + BH));
        auto p = d.Erase();
        EXPECT_EQ(p->At(12, 9), RED);
        EXPECT_EQ(p->At(27, 20), YELLOW);
        // Around the bitmap: the dialog's own background.
        const COLORREF plain = GetSysColor(COLOR_3DFACE);
        EXPECT_EQ(p->At(11, 9), plain);
        EXPECT_EQ(p->At(12, 8), plain);
        EXPECT_EQ(p->At(28, 20), plain);
        EXPECT_EQ(p->At(27, 21), plain);
    });
    RunDialog(2 * BW, 4 * BH, [](CBackgroundDialog& d) {
        d.LoadBackgroundBitmap(IDB_QUADRANTS);
        d.SetBackgroundMode(CBDialog::BG_STRETCH);
        const auto copies = d.RecordCopies();
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_EQ(copies[0].kind, 'S');
        EXPECT_EQ(copies[0].rcDest, CRect(0, 0, 2 * BW, 4 * BH));
        // Distorted to fill the client area exactly: each quadrant 16 x 24.
        auto p = d.Erase();
        for (int y = 0; y < 4 * BH; ++y)
            for (int x = 0; x < 2 * BW; ++x)
                ASSERT_EQ(p->At(x, y), Quadrant(x / 2, y / 4)) << x << "," << y;
    });
}

TEST(BDialogTest, WithoutABitmapThePlainBackgroundShows)
{
    RunDialog(20, 20, [](CBackgroundDialog& d) {
        const COLORREF plain = GetSysColor(COLOR_3DFACE);
        EXPECT_EQ(d.Erase()->At(5, 5), plain);
        d.SetBackgroundMode(7);
        EXPECT_EQ(d.m_nBackgroundMode, CBDialog::BG_TILE);
        d.SetBackgroundMode(CBDialog::BG_STRETCH);
        d.SetBackgroundMode(-1);
        EXPECT_EQ(d.m_nBackgroundMode, CBDialog::BG_STRETCH);

        d.LoadBackgroundBitmap(IDB_QUADRANTS);
        EXPECT_EQ(d.Erase()->At(0, 0), RED);
        // A bitmap that fails to load replaces the one held: plain again.
        d.LoadBackgroundBitmap(9999);
        EXPECT_EQ(d.Erase()->At(0, 0), plain);
        EXPECT_TRUE(d.RecordCopies().empty());
    });
}

}  // namespace
