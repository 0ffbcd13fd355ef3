#include "OwnerMenu.h"
#include "CDC.h"

// The check marks and the greyed images of disabled items.

namespace {
const COLORREF BLACK = RGB(0, 0, 0);
const COLORREF WHITE = RGB(255, 255, 255);
// Raster operations with a brush: DSPDxax puts the brush where the source
// is white and keeps the destination where it is black; PSDPxax the other
// way round.
const DWORD ROP_DSPDXAX = 0x00E20746;
const DWORD ROP_PSDPXAX = 0x00B8074A;
}

void COwnerMenu::DrawClassicCheck(CDC* pDC, const CRect& rc, BOOL bHighlighted, HBITMAP hbmCheck)
{
    COLORREF crCell = ::GetSysColor(IsThemedXP() ? COLOR_BTNFACE : COLOR_MENU);
    if (!bHighlighted)
        crCell = BlendToWhite(crCell, 0.6);
    pDC->FillSolidRect(&rc, crCell);
    if (HasNewShell()) {
        CRect rcEdge = rc;
        ::DrawEdge(pDC->m_hDC, &rcEdge, BDR_SUNKENOUTER, BF_RECT);
    }
    const COLORREF crMark = ::GetSysColor(COLOR_MENUTEXT);
    if (hbmCheck)
        DrawDotGlyph(pDC, rc.left + 5, rc.top + 4, crMark);
    else
        DrawTickGlyph(pDC, rc.left + 4, rc.top + 4, crMark);
}

void COwnerMenu::DrawXPCheck(CDC* pDC, const CRect& rc, HBITMAP hbmCheck, COLORREF crHighlight)
{
    pDC->FillSolidRect(&rc, BlendToWhite(crHighlight, 0.85));
    pDC->Draw3dRect(&rc, crHighlight, crHighlight);
    const COLORREF crMark = ::GetSysColor(COLOR_MENUTEXT);
    if (hbmCheck)
        DrawDotGlyph(pDC, rc.left + 5, rc.top + 4, crMark);
    else
        DrawTickGlyph(pDC, rc.left + 5, rc.top + 4, crMark);
}

void COwnerMenu::DrawDotGlyph(CDC* pDC, int x, int y, COLORREF crColor)
{
    CPen pen(PS_SOLID, 1, crColor);
    CBrush brush(crColor);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    ::Ellipse(pDC->m_hDC, x, y, x + 6, y + 6);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void COwnerMenu::DrawTickGlyph(CDC* pDC, int x, int y, COLORREF crColor)
{
    // Seven columns of three pixels, down two steps and up four.
    static const int kColumnTop[7] = {2, 3, 4, 3, 2, 1, 0};
    CPen pen(PS_SOLID, 1, crColor);
    CPen* pOldPen = pDC->SelectObject(&pen);
    for (int k = 0; k < 7; ++k) {
        ::MoveToEx(pDC->m_hDC, x + k, y + kColumnTop[k], nullptr);
        ::LineTo(pDC->m_hDC, x + k, y + kColumnTop[k] + 3);
    }
    pDC->SelectObject(pOldPen);
}

void COwnerMenu::DrawDisabledImage(CDC* pDC, int x, int y, int cx, int cy, HBITMAP hbm, int xSrc, int ySrc,
                                   COLORREF crBack)
{
    CDC dcMask, dcImage;
    CBitmap mask;
    if (!dcMask.CreateCompatibleDC(pDC) || !dcImage.CreateCompatibleDC(pDC) ||
        !mask.CreateBitmap(cx, cy, 1, 1, nullptr))
        return;
    CBitmap* pOldMask = dcMask.SelectObject(&mask);
    HGDIOBJ hOldImage = dcImage.SelectObject(hbm);

    // The mask: face and highlight pixels white, the image's dark shape black.
    ::PatBlt(dcMask.m_hDC, 0, 0, cx, cy, WHITENESS);
    dcImage.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    dcMask.BitBlt(0, 0, cx, cy, &dcImage, xSrc, ySrc, SRCCOPY);
    dcImage.SetBkColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
    dcMask.BitBlt(0, 0, cx, cy, &dcImage, xSrc, ySrc, SRCPAINT);

    // The shape in a brush's colour over the background: black mask pixels
    // come in as white, white ones as black.
    dcImage.FillSolidRect(0, 0, cx, cy, crBack);
    dcImage.SetBkColor(BLACK);
    dcImage.SetTextColor(WHITE);
    CBrush brLight(::GetSysColor(COLOR_BTNHIGHLIGHT)), brShadow(::GetSysColor(COLOR_BTNSHADOW));
    CBrush* pOldBrush = dcImage.SelectObject(&brLight);
    dcImage.BitBlt(0, 0, cx, cy, &dcMask, 0, 0, ROP_DSPDXAX);
    pDC->BitBlt(x + 1, y + 1, cx, cy, &dcImage, 0, 0, SRCCOPY);
    dcImage.BitBlt(1, 1, cx, cy, &dcMask, 0, 0, ROP_DSPDXAX);
    dcImage.SelectObject(&brShadow);
    dcImage.BitBlt(0, 0, cx, cy, &dcMask, 0, 0, ROP_DSPDXAX);
    pDC->BitBlt(x, y, cx, cy, &dcImage, 0, 0, SRCCOPY);

    dcImage.SelectObject(pOldBrush);
    dcImage.SelectObject(hOldImage);
    dcMask.SelectObject(pOldMask);
}

void COwnerMenu::DrawDisabledImageDib(HDC hdcDest, int x, int y, int cx, int cy, HBITMAP hbm, int xSrc, int ySrc,
                                      COLORREF crBack)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } bmi = {};
    bmi.header.biSize = sizeof(bmi.header);
    bmi.header.biWidth = cx;
    bmi.header.biHeight = cy;
    bmi.header.biPlanes = 1;
    bmi.header.biBitCount = 1;
    bmi.header.biCompression = BI_RGB;
    bmi.colors[0] = {255, 255, 255, 0};   // light pixels
    bmi.colors[1] = {0, 0, 0, 0};         // the image's dark shape

    CDC dcShape, dcImage;
    CBitmap shape;
    void* pBits = nullptr;
    if (!dcShape.CreateCompatibleDC(nullptr) || !dcImage.CreateCompatibleDC(nullptr) ||
        !shape.Attach(::CreateDIBSection(dcShape.m_hDC, reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS, &pBits,
                                         nullptr, 0)))
        return;
    CBitmap* pOldShape = dcShape.SelectObject(&shape);
    HGDIOBJ hOldImage = dcImage.SelectObject(hbm);
    dcShape.BitBlt(0, 0, cx, cy, &dcImage, xSrc, ySrc, SRCCOPY);

    CDC* pDest = CDC::FromHandle(hdcDest);
    pDest->FillSolidRect(x, y, cx, cy, crBack);
    CBrush brLight(::GetSysColor(COLOR_BTNHIGHLIGHT)), brShadow(::GetSysColor(COLOR_BTNSHADOW));
    CBrush* pOldBrush = pDest->SelectObject(&brLight);
    pDest->BitBlt(x + 1, y + 1, cx, cy, &dcShape, 0, 0, ROP_PSDPXAX);
    pDest->SelectObject(&brShadow);
    pDest->BitBlt(x, y, cx, cy, &dcShape, 0, 0, ROP_PSDPXAX);
    pDest->SelectObject(pOldBrush);

    dcImage.SelectObject(hOldImage);
    dcShape.SelectObject(pOldShape);
}
