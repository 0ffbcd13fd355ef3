// The image button's painting, and the images that it makes for it: the
// transparency masks of its bitmaps and the grey copy of an icon.
#include "ImageButton.h"
#include "CClientDC.h"
#include <vector>

namespace {
const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF BLACK = RGB(0, 0, 0);

// SetPixel writes no alpha. An icon with an alpha channel would show only the
// pixels left unchanged (its black ones), so the grey copy takes the original's alpha.
void CopyAlpha(HDC hDC, HBITMAP hFrom, HBITMAP hTo, int w, int h)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> from(static_cast<size_t>(w) * h), to(from.size());
    if (!::GetDIBits(hDC, hFrom, 0, h, from.data(), &bmi, DIB_RGB_COLORS) ||
        !::GetDIBits(hDC, hTo, 0, h, to.data(), &bmi, DIB_RGB_COLORS))
        return;
    for (size_t i = 0; i < to.size(); ++i)
        to[i] = (to[i] & 0x00FFFFFF) | (from[i] & 0xFF000000);
    ::SetDIBits(hDC, hTo, 0, h, to.data(), &bmi, DIB_RGB_COLORS);
}
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);

    const bool bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    // An open drop-down menu keeps a push button pressed.
    m_bPressed = m_bCheckBox ? (bSelected || m_nCheck != 0) : (bSelected || m_bMenuOpen);
    m_bFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;

    CRect rcItem = lpDIS->rcItem;
    pDC->SetBkMode(TRANSPARENT);

    // Standard look: the focused or default button gets a black frame, the rest moves inward.
    if (!m_bFlat && (m_bFocused || m_bDefault)) {
        CBrush brBlack(BLACK);
        pDC->FrameRect(&rcItem, &brBlack);
        rcItem.DeflateRect(1, 1);
    }

    if (m_bParentBack)
        PaintParentBackground(pDC);
    else
        PaintFace(pDC, &rcItem);

    if (m_bPressed) {
        if (m_bFlat) {
            if (m_bFlatBorder)
                PaintEdge(pDC, &rcItem);
        } else {
            CBrush brShadow(::GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(&rcItem, &brShadow);
        }
    } else {
        if (m_bFlat) {
            if (m_bHover && m_bFlatBorder)
                PaintEdge(pDC, &rcItem);
        } else {
            PaintStandardEdge(pDC, rcItem);
        }
    }

    // Image and caption are placed in the owner-draw rectangle, never in the framed one.
    CString strTitle;
    GetWindowText(strTitle);
    const BOOL bHasTitle = !strTitle.IsEmpty();
    CRect rcTitle = lpDIS->rcItem;
    if (m_icons[0].hIcon)
        DrawStateIcon(pDC, bHasTitle, &lpDIS->rcItem, &rcTitle, m_bPressed, m_bDisabled);
    if (m_bitmaps[0].hBitmap) {
        pDC->SetBkColor(WHITE);
        DrawStateBitmap(pDC, bHasTitle, &lpDIS->rcItem, &rcTitle, m_bPressed, m_bDisabled);
    }

    if (bHasTitle) {
        if (m_bPressed && !m_bCheckBox)
            rcTitle.OffsetRect(1, 1);
        // Measure the wrapped text, then centre the block in the space the image left.
        const CRect rcSpace = rcTitle;
        pDC->DrawText(strTitle, -1, &rcTitle, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
        rcTitle.OffsetRect((rcSpace.Width() - rcTitle.Width()) / 2, (rcSpace.Height() - rcTitle.Height()) / 2);
        pDC->SetBkMode(TRANSPARENT);
        if (m_bDisabled) {
            // Engraved: a highlight copy one pixel down-right, the shadow copy on top.
            rcTitle.OffsetRect(1, 1);
            pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
            pDC->DrawText(strTitle, -1, &rcTitle, DT_WORDBREAK | DT_CENTER);
            rcTitle.OffsetRect(-1, -1);
            pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
            pDC->DrawText(strTitle, -1, &rcTitle, DT_WORDBREAK | DT_CENTER);
        } else {
            const bool bLit = m_bHover || m_bPressed;
            pDC->SetTextColor(m_crStates[bLit ? IMGBTN_TEXT_HOVER : IMGBTN_TEXT_NORMAL]);
            pDC->SetBkColor(m_crStates[bLit ? IMGBTN_FACE_HOVER : IMGBTN_FACE_NORMAL]);
            pDC->DrawText(strTitle, -1, &rcTitle, DT_WORDBREAK | DT_CENTER);
        }
    }

    if ((!m_bFlat || m_bFlatFocus) && m_bFocused) {
        CRect rcFocus = rcItem;
        rcFocus.DeflateRect(3, 3);
        pDC->DrawFocusRect(&rcFocus);
    }
}

DWORD CImageButton::PaintFace(CDC* pDC, CRect* pRect)
{
    BYTE bySlot = IMGBTN_FACE_NORMAL;
    if (m_bHover || m_bPressed)
        bySlot = IMGBTN_FACE_HOVER;
    else if (m_bFocused)
        bySlot = IMGBTN_FACE_FOCUS;
    CBrush brFace(m_crStates[bySlot]);
    pDC->FillRect(pRect, &brFace);
    return IMGBTN_OK;
}

DWORD CImageButton::PaintEdge(CDC* pDC, CRect* pRect)
{
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_bPressed)
        pDC->Draw3dRect(pRect, crShadow, crHighlight);
    else
        pDC->Draw3dRect(pRect, crHighlight, crShadow);
    return IMGBTN_OK;
}

void CImageButton::PaintStandardEdge(CDC* pDC, const CRect& rc)
{
    struct Line {
        int nColor;
        POINT pt[3];
    };
    const Line lines[] = {
        {COLOR_BTNHIGHLIGHT, {{rc.left, rc.bottom - 1}, {rc.left, rc.top}, {rc.right, rc.top}}},
        {COLOR_3DLIGHT, {{rc.left + 1, rc.bottom - 1}, {rc.left + 1, rc.top + 1}, {rc.right, rc.top + 1}}},
        {COLOR_3DDKSHADOW, {{rc.left, rc.bottom - 1}, {rc.right - 1, rc.bottom - 1}, {rc.right - 1, rc.top - 1}}},
        {COLOR_BTNSHADOW, {{rc.left + 1, rc.bottom - 2}, {rc.right - 2, rc.bottom - 2}, {rc.right - 2, rc.top}}},
    };
    for (const Line& line : lines) {
        CPen pen(PS_SOLID, 0, ::GetSysColor(line.nColor));
        CPen* pOldPen = pDC->SelectObject(&pen);
        pDC->Polyline(line.pt, 3);
        pDC->SelectObject(pOldPen);
    }
}

void CImageButton::PaintParentBackground(CDC* pDC)
{
    CWnd* pParent = GetParent();
    CClientDC dcParent(pParent);
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    pParent->ScreenToClient(&rcWindow);

    // The snapshot: what the parent shows under the button, taken once.
    if (!m_dcParentBack.m_hDC) {
        m_dcParentBack.CreateCompatibleDC(&dcParent);
        m_bmpParentBack.CreateCompatibleBitmap(&dcParent, rcClient.Width(), rcClient.Height());
        m_pbmpOldParentBack = m_dcParentBack.SelectObject(&m_bmpParentBack);
        m_dcParentBack.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcParent, rcWindow.left, rcWindow.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_dcParentBack, 0, 0, SRCCOPY);
}

int CImageButton::ImageSlot(bool bHasNormal) const
{
    // A check box shows its hover image while checked; other buttons while hovered or pressed.
    const bool bHoverImage = m_bCheckBox ? m_bPressed != FALSE : (m_bPressed || m_bHover);
    return bHoverImage || !bHasNormal ? 0 : 1;
}

void CImageButton::PlaceImage(BOOL bHasTitle, LPCRECT rpItem, CRect* rpTitle, BOOL bIsPressed,
                              DWORD dwWidth, DWORD dwHeight, CRect* rpImage)
{
    const int cx = static_cast<int>(dwWidth);
    const int cy = static_cast<int>(dwHeight);
    rpImage->CopyRect(rpItem);
    switch (m_byAlign) {
    case IMGBTN_ALIGN_LEFT:
        if (!bHasTitle) {
            rpImage->left += (rpImage->Width() - cx) / 2;
        } else {
            rpImage->left += 3;
            rpTitle->left += cx + 3;
        }
        rpImage->top += (rpImage->Height() - cy) / 2;
        break;
    case IMGBTN_ALIGN_TOP:
        rpImage->left += (rpImage->Width() - cx) / 2;
        if (!bHasTitle) {
            rpImage->top += (rpImage->Height() - cy) / 2;
        } else {
            rpImage->top = 3;
            rpTitle->top += cy;
        }
        break;
    case IMGBTN_ALIGN_RIGHT:
        if (!bHasTitle) {
            // Centred across; it keeps the top edge.
            rpImage->left += (rpImage->Width() - cx) / 2;
        } else {
            CRect rcClient;
            GetClientRect(&rcClient);
            rpTitle->right = rpTitle->Width() - cx - 3;
            rpTitle->left = 3;
            rpImage->left = rcClient.right - cx - 3;
            rpImage->top += (rpImage->Height() - cy) / 2;
        }
        break;
    }
    if (bIsPressed && !m_bCheckBox)
        rpImage->OffsetRect(1, 1);
}

void CImageButton::DrawStateIcon(CDC* pDC, BOOL bHasTitle, LPCRECT rpItem, CRect* rpTitle, BOOL bIsPressed, BOOL bIsDisabled)
{
    const STRUCT_ICONS& icon = m_icons[ImageSlot(m_icons[1].hIcon != nullptr)];
    CRect rcImage;
    PlaceImage(bHasTitle, rpItem, rpTitle, bIsPressed, icon.dwWidth, icon.dwHeight, &rcImage);
    pDC->DrawState(rcImage.TopLeft(), rcImage.Size(), icon.hIcon, bIsDisabled ? DSS_DISABLED : DSS_NORMAL,
                   static_cast<HBRUSH>(nullptr));
}

void CImageButton::DrawStateBitmap(CDC* pDC, BOOL bHasTitle, LPCRECT rpItem, CRect* rpTitle, BOOL bIsPressed, BOOL bIsDisabled)
{
    const STRUCT_BITMAPS& bitmap = m_bitmaps[ImageSlot(m_bitmaps[1].hBitmap != nullptr)];
    CRect rcImage;
    PlaceImage(bHasTitle, rpItem, rpTitle, bIsPressed, bitmap.dwWidth, bitmap.dwHeight, &rcImage);
    const int w = static_cast<int>(bitmap.dwWidth);
    const int h = static_cast<int>(bitmap.dwHeight);

    CDC dcImage;
    dcImage.CreateCompatibleDC(pDC);
    HGDIOBJ hOldImage = dcImage.SelectObject(bitmap.hBitmap);
    CDC dcMask;
    dcMask.CreateCompatibleDC(nullptr);
    HGDIOBJ hOldMask = dcMask.SelectObject(bitmap.hMask);

    if (bIsDisabled && m_bGrayDisabledBitmap) {
        // The picture on white (its transparent part white too), then the system's disabled look.
        CBitmap bmpFlat;
        bmpFlat.CreateCompatibleBitmap(pDC, w, h);
        {
            CDC dcFlat;
            dcFlat.CreateCompatibleDC(pDC);
            CBitmap* pOldFlat = dcFlat.SelectObject(&bmpFlat);
            dcFlat.FillSolidRect(0, 0, w, h, WHITE);
            dcFlat.SetBkColor(WHITE);
            dcFlat.BitBlt(0, 0, w, h, &dcMask, 0, 0, SRCAND);
            dcFlat.BitBlt(0, 0, w, h, &dcImage, 0, 0, SRCPAINT);
            dcFlat.SelectObject(pOldFlat);
        }
        pDC->DrawState(rcImage.TopLeft(), CSize(w, h), static_cast<HBITMAP>(bmpFlat), DSS_DISABLED,
                       static_cast<HBRUSH>(nullptr));
    } else {
        // The mask clears the opaque part; the bitmap, black where transparent, is ORed in.
        pDC->BitBlt(rcImage.left, rcImage.top, w, h, &dcMask, 0, 0, SRCAND);
        pDC->BitBlt(rcImage.left, rcImage.top, w, h, &dcImage, 0, 0, SRCPAINT);
    }

    dcMask.SelectObject(hOldMask);
    dcImage.SelectObject(hOldImage);
}

HBITMAP CImageButton::BuildTransparencyMask(HBITMAP hSourceBitmap, DWORD dwWidth, DWORD dwHeight, COLORREF crTransColor)
{
    const int w = static_cast<int>(dwWidth);
    const int h = static_cast<int>(dwHeight);
    HBITMAP hMask = ::CreateBitmap(w, h, 1, 1, nullptr);
    if (!hMask)
        return nullptr;

    CDC dcSource;
    dcSource.CreateCompatibleDC(nullptr);
    CDC dcMask;
    dcMask.CreateCompatibleDC(nullptr);
    HGDIOBJ hOldSource = dcSource.SelectObject(hSourceBitmap);
    HGDIOBJ hOldMask = dcMask.SelectObject(hMask);

    // Colour to monochrome: the background colour becomes 1, all else 0.
    const COLORREF crOldBack = dcSource.SetBkColor(crTransColor);
    dcMask.BitBlt(0, 0, w, h, &dcSource, 0, 0, SRCCOPY);
    // Monochrome to colour: 1 becomes the background colour (black), 0 the text colour (white).
    dcSource.SetTextColor(WHITE);
    dcSource.SetBkColor(BLACK);
    dcSource.BitBlt(0, 0, w, h, &dcMask, 0, 0, SRCAND);
    dcSource.SetBkColor(crOldBack);

    dcMask.SelectObject(hOldMask);
    dcSource.SelectObject(hOldSource);
    return hMask;
}

HICON CImageButton::MakeGrayIcon(HICON hIcon)
{
    ICONINFO ii = {};
    if (!::GetIconInfo(hIcon, &ii))
        return nullptr;

    HICON hGray = nullptr;
    {
        CClientDC dcWindow(this);
        CDC dcColor;
        dcColor.CreateCompatibleDC(&dcWindow);
        CDC dcGray;
        dcGray.CreateCompatibleDC(&dcWindow);
        BITMAP bm = {};
        if (dcWindow.m_hDC && dcColor.m_hDC && dcGray.m_hDC && ::GetObjectA(ii.hbmColor, sizeof(bm), &bm)) {
            const int w = static_cast<int>(ii.xHotspot * 2);
            const int h = static_cast<int>(ii.yHotspot * 2);
            CBitmap bmpGray;
            bmpGray.CreateBitmap(w, h, bm.bmPlanes, bm.bmBitsPixel, nullptr);
            HGDIOBJ hOldColor = dcColor.SelectObject(ii.hbmColor);
            CBitmap* pOldGray = dcGray.SelectObject(&bmpGray);
            dcGray.BitBlt(0, 0, w, h, &dcColor, 0, 0, SRCCOPY);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const COLORREF c = dcGray.GetPixel(x, y);
                    const BYTE g = static_cast<BYTE>(GetRValue(c) * 0.299 + GetGValue(c) * 0.587 + GetBValue(c) * 0.114);
                    // Pure black stays black.
                    if (c != BLACK)
                        dcGray.SetPixel(x, y, RGB(g, g, g));
                }
            }
            dcGray.SelectObject(pOldGray);
            dcColor.SelectObject(hOldColor);
            if (bm.bmBitsPixel == 32)
                CopyAlpha(dcWindow.m_hDC, ii.hbmColor, bmpGray, w, h);

            // The icon's own mask keeps its transparency.
            ICONINFO gray = {TRUE, 0, 0, ii.hbmMask, static_cast<HBITMAP>(bmpGray)};
            hGray = ::CreateIconIndirect(&gray);
        }
    }
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    return hGray;
}
