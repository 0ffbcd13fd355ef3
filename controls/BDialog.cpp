#include "BDialog.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CBDialog, CDialog)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CBDialog::CBDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_nBackgroundMode(BG_TILE)
{
}

void CBDialog::SetBackgroundMode(int nMode)
{
    if (nMode == BG_TILE || nMode == BG_CENTER || nMode == BG_STRETCH)
        m_nBackgroundMode = nMode;
}

void CBDialog::LoadBackgroundBitmap(UINT nIDBitmap)
{
    m_bmpBackground.DeleteObject();
    m_bmpBackground.LoadBitmap(nIDBitmap);
}

BOOL CBDialog::OnEraseBkgnd(CDC* pDC)
{
    CDialog::OnEraseBkgnd(pDC);
    if (!m_bmpBackground.m_hObject)
        return TRUE;

    CRect rcClient;
    GetClientRect(&rcClient);
    const int W = rcClient.Width(), H = rcClient.Height();
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    CBitmap* pOldBitmap = dcMem.SelectObject(&m_bmpBackground);
    BITMAP bm = {};
    m_bmpBackground.GetBitmap(&bm);
    const int bw = bm.bmWidth, bh = bm.bmHeight;

    switch (m_nBackgroundMode) {
    case BG_TILE:
        // Client-sized copies; each later one overdraws what an earlier one
        // painted past the bitmap's edge.
        for (int y = 0; y < H; y += bh)
            for (int x = 0; x < W; x += bw)
                pDC->BitBlt(x, y, W, H, &dcMem, 0, 0, SRCCOPY);
        break;
    case BG_CENTER:
        // Only the bitmap itself: around it the plain background shows.
        pDC->BitBlt(bw < W ? (W - bw) / 2 : 0, bh < H ? (H - bh) / 2 : 0, std::min(W, bw), std::min(H, bh),
                    &dcMem, 0, 0, SRCCOPY);
        break;
    case BG_STRETCH:
        pDC->StretchBlt(0, 0, W, H, &dcMem, 0, 0, bw, bh, SRCCOPY);
        break;
    }

    dcMem.SelectObject(pOldBitmap);
    return TRUE;
}
