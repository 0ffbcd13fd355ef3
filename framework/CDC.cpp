#include "CDC.h"
#include <memory>
#include <unordered_map>

namespace {
struct TemporaryDC : CDC {
    ~TemporaryDC() override { Detach(); }
};
thread_local std::unordered_map<HDC, std::unique_ptr<TemporaryDC>> t_tempDCs;
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    std::unique_ptr<TemporaryDC>& dc = t_tempDCs[hDC];
    if (!dc) {
        dc.reset(new TemporaryDC);
        dc->Attach(hDC);
    }
    return dc.get();
}

void CDC::DeleteTempMap()
{
    t_tempDCs.clear();
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return hDC;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    HDC hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
    if (!Attach(hDC)) {
        if (hDC)
            ::DeleteDC(hDC);
        return FALSE;
    }
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    HGDIOBJ hOld = nullptr;
    if (m_hDC != m_hAttribDC && m_hDC)
        hOld = ::SelectObject(m_hDC, hObject);
    if (m_hAttribDC)
        hOld = ::SelectObject(m_hAttribDC, hObject);
    return hOld;
}

// A null object is what a failed selection handed back (GDI ran out, say):
// putting it back does nothing, so that drawing goes on with less.
CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!pBitmap)
        return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(pBitmap->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    if (!pBrush)
        return nullptr;
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(pBrush->m_hObject)));
}

CPen* CDC::SelectObject(CPen* pPen)
{
    if (!pPen)
        return nullptr;
    return CPen::FromHandle(static_cast<HPEN>(SelectObject(pPen->m_hObject)));
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    if (m_hDC != m_hAttribDC)
        ::SetTextColor(m_hDC, crColor);
    return ::SetTextColor(m_hAttribDC, crColor);
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    if (m_hDC != m_hAttribDC)
        ::SetBkColor(m_hDC, crColor);
    return ::SetBkColor(m_hAttribDC, crColor);
}

int CDC::SetBkMode(int nBkMode)
{
    if (m_hDC != m_hAttribDC)
        ::SetBkMode(m_hDC, nBkMode);
    return ::SetBkMode(m_hAttribDC, nBkMode);
}

int CDC::SetMapMode(int nMapMode)
{
    if (m_hDC != m_hAttribDC)
        ::SetMapMode(m_hDC, nMapMode);
    return ::SetMapMode(m_hAttribDC, nMapMode);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old = {0, 0};
    if (m_hDC != m_hAttribDC)
        ::SetWindowOrgEx(m_hDC, x, y, nullptr);
    ::SetWindowOrgEx(m_hAttribDC, x, y, &old);
    return CPoint(old);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC,
                     int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr,
                        xSrc, ySrc, nSrcWidth, nSrcHeight, dwRop);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor)
{
    // An opaque empty text output fills with the background colour without a brush.
    const COLORREF crOld = ::SetBkColor(m_hDC, crColor);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, crOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor)
{
    const RECT rc = {x, y, x + cx, y + cy};
    FillSolidRect(&rc, crColor);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF crTopLeft, COLORREF crBottomRight)
{
    const int x = lpRect->left, y = lpRect->top;
    const int cx = lpRect->right - x, cy = lpRect->bottom - y;
    FillSolidRect(x, y, cx - 1, 1, crTopLeft);
    FillSolidRect(x, y, 1, cy - 1, crTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, crBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, crBottomRight);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0,
                        pt.x, pt.y, size.cx, size.cy, nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateA(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0,
                        pt.x, pt.y, size.cx, size.cy, nFlags | DST_BITMAP);
}
