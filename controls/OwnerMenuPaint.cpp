#include "OwnerMenu.h"
#include "CClientDC.h"
#include "OwnerMenuBufferDC.h"
#include "OwnerMenuFont.h"
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

// Measuring and painting items, in the classic and in the XP style. The check
// marks and the greyed images are in OwnerMenuGlyphs.cpp.

namespace {
// Room around the image, beyond its size.
const int PAD_CLASSIC = 4;
const int PAD_XP = 7;   // the XP style always gives its images room to rise
const int CHECK_CELL = 16;

// Centres nSize in nSpace, rounding half up; never before the start.
int CentreOffset(int nSpace, int nSize)
{
    return std::max(0, static_cast<int>((nSpace - nSize) / 2.0 + 0.5));
}

// An item's text: the label before the first tab and the accelerator text
// after the last.
struct ItemText {
    std::wstring label;
    std::wstring accelerator;
    bool bTab;
};

ItemText SplitItemText(const std::wstring& text)
{
    const size_t nFirst = text.find(L'\t');
    if (nFirst == std::wstring::npos)
        return {text, L"", false};
    return {text.substr(0, nFirst), text.substr(text.rfind(L'\t') + 1), true};
}

// The label left, the accelerator text right, both centred in height.
void DrawItemText(CDC* pDC, const ItemText& text, CRect rc, COLORREF crText)
{
    pDC->SetTextColor(crText);
    ::DrawTextW(pDC->m_hDC, text.label.c_str(), -1, &rc, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (text.bTab)
        ::DrawTextW(pDC->m_hDC, text.accelerator.c_str(), -1, &rc, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
}

// The bitmap that the item shows when checked; set, the item is a radio item.
HBITMAP CheckedBitmap(LPDRAWITEMSTRUCT lpDIS)
{
    MENUITEMINFOA mii = {};
    // The size without the field that Windows 2000 added, which every version accepts.
    mii.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    mii.fMask = MIIM_CHECKMARKS;
    const BOOL bFound = ::GetMenuItemInfoA(reinterpret_cast<HMENU>(lpDIS->hwndItem), lpDIS->itemID, FALSE, &mii);
    return bFound ? mii.hbmpChecked : nullptr;
}

void DrawEtchedLine(CDC* pDC, CRect rc)
{
    ::DrawEdge(pDC->m_hDC, &rc, EDGE_ETCHED, BF_TOP);
}

void Frame(CDC* pDC, const CRect& rc, COLORREF crColor)
{
    pDC->Draw3dRect(&rc, crColor, crColor);
}
}

// ---------------------------------------------------------------------------
// Measuring

void COwnerMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    const auto* pEntry = reinterpret_cast<const COwnerMenuEntry*>(lpMIS->itemData);
    if (!pEntry)
        return;
    const BOOL bXP = UsesXPStyle() && s_raisedImages;
    const int nPad = bXP ? PAD_XP : PAD_CLASSIC;
    const int nMenuHeight = ::GetSystemMetrics(SM_CYMENU);
    if (pEntry->m_nFlags & MF_SEPARATOR) {
        lpMIS->itemWidth = 0;
        lpMIS->itemHeight = static_cast<UINT>(std::max(nMenuHeight >> 1, (m_nImageHeight + nPad) / 2));
        return;
    }
    // Measured in the font that the menu draws in: where the system has no
    // menu font this is the DC's own, as it is for the menu.
    CClientDC dc(GetDCWindow());
    SIZE size = {};
    {
        COwnerMenuFont font(&dc);
        const std::wstring text = pEntry->GetText();
        ::GetTextExtentPoint32W(dc.m_hDC, text.c_str(), static_cast<int>(text.size()), &size);
    }
    const int nWidth = bXP ? m_nImageWidth + nPad + size.cx + 8 : m_nImageWidth + size.cx + m_nImageWidth + 1;
    lpMIS->itemWidth = static_cast<UINT>(nWidth);
    lpMIS->itemHeight = static_cast<UINT>(std::max(nMenuHeight, m_nImageHeight + nPad));
}

// ---------------------------------------------------------------------------
// Painting

void COwnerMenu::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS->itemData)
        return;
    const BOOL bPalette = (::GetDeviceCaps(lpDIS->hDC, RASTERCAPS) & RC_PALETTE) != 0;
    if (bPalette || GetDrawMode() != 1)
        DrawItemClassic(lpDIS);
    else
        DrawItemXP(lpDIS);
}

COwnerMenu::ItemImage COwnerMenu::DeriveItemImage(const COwnerMenuEntry& entry, UINT nState) const
{
    ItemImage image;
    if (entry.m_nImageSource >= 0 && entry.m_pImages) {
        image.pList = entry.m_pImages.get();
        image.nIndex = entry.m_nImageIndex;
        // An own list's variants are those of its image 0, appended after
        // whatever else the list holds (a whole toolbar strip, say), when
        // the list was filled in the XP style.
        const int nCount = image.pList->GetImageCount();
        if (image.nIndex == 0 && entry.m_bRaisedVariants && nCount > 2) {
            image.nFaded = nCount - 2;
            image.nShadow = nCount - 1;
        }
    } else if (entry.m_nSharedIndex >= 0) {
        image.pList = &s_sharedImages;
        image.nIndex = entry.m_nSharedIndex;
        if (HasRaisedVariants(image.nIndex)) {
            image.nFaded = image.nIndex + 1;
            image.nShadow = image.nIndex + 2;
        }
    }
    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    const BOOL bGrayed = (nState & ODS_GRAYED) != 0;
    // Without the list (its loading failed) the check glyphs stand in.
    image.bCheckImage = (nState & ODS_CHECKED) && !image.pList && m_pCheckImages &&
                        ((bSelected && m_nHighlightCheckId >= 1) || m_nPlainCheckId >= 1);
    image.bImage = !image.bCheckImage && image.pList;
    image.bHighlightedImage = image.bImage && bSelected && !bGrayed;
    image.bDisabledImage = image.bImage && bGrayed;
    return image;
}

void COwnerMenu::DrawDisabledItemImage(CDC* pDC, const ItemImage& image, CPoint pt, COLORREF crBack) const
{
    CBitmap bitmap;
    if (!ExtractImageBitmap(pDC, image.pList, image.nIndex, bitmap))
        return;
    if (m_bDibDisabled)
        DrawDisabledImageDib(pDC->m_hDC, pt.x, pt.y, m_nImageWidth, m_nImageHeight, bitmap, 0, 0, crBack);
    else
        DrawDisabledImage(pDC, pt.x, pt.y, m_nImageWidth, m_nImageHeight, bitmap, 0, 0, crBack);
}

void COwnerMenu::DrawItemClassic(LPDRAWITEMSTRUCT lpDIS)
{
    const auto* pEntry = reinterpret_cast<const COwnerMenuEntry*>(lpDIS->itemData);
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const CRect rcItem = lpDIS->rcItem;
    const COLORREF crBack = ::GetSysColor(IsThemedXP() ? COLOR_BTNFACE : COLOR_MENU);
    UINT nState = lpDIS->itemState;
    if ((nState & ODS_GRAYED) && (nState & ODS_SELECTED) && !s_selectDisabledClassic)
        nState &= ~ODS_SELECTED;

    if (pEntry->m_nFlags & MF_SEPARATOR) {
        pDC->FillSolidRect(&rcItem, crBack);
        CRect rcLine = rcItem;
        rcLine.top += rcLine.Height() >> 1;
        DrawEtchedLine(pDC, rcLine);
        return;
    }

    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    const BOOL bGrayed = (nState & ODS_GRAYED) != 0;
    const BOOL bChecked = (nState & ODS_CHECKED) != 0;
    const ItemImage image = DeriveItemImage(*pEntry, nState);
    const int W = m_nImageWidth, H = m_nImageHeight;
    COLORREF crText = ::GetSysColor(COLOR_MENUTEXT);
    if (bSelected) {
        // Beside an image or a check mark only the text is highlighted.
        CRect rcFill = rcItem;
        if (image.Any() || bChecked)
            rcFill.left += W + 5;
        pDC->FillSolidRect(&rcFill, ::GetSysColor(COLOR_HIGHLIGHT));
        crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        pDC->FillSolidRect(&rcItem, crBack);
        Frame(pDC, rcItem, crBack);
    }

    const int dy = std::max(0, (rcItem.Height() - 4 - H) / 2);
    const CRect rcCell(rcItem.left + 1, rcItem.top + 1 + dy, rcItem.left + W + 3, rcItem.top + H + 3 + dy);
    const CRect rcOuter(rcItem.left, rcItem.top + dy, rcItem.left + W + 4, rcItem.top + H + 4 + dy);
    const CPoint ptImage(rcItem.left + 2, rcItem.top + 2 + dy);
    const COLORREF crLight = ::GetSysColor(COLOR_BTNHIGHLIGHT), crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (image.Any()) {
        Frame(pDC, rcCell, crBack);
        if (image.bCheckImage) {
            pDC->FillSolidRect(&rcCell, crBack);
            Frame(pDC, rcOuter, crBack);
            m_pCheckImages->Draw(pDC, bSelected ? 1 : 0, ptImage, ILD_TRANSPARENT);
        } else if (image.bDisabledImage) {
            Frame(pDC, rcOuter, crBack);
            DrawDisabledItemImage(pDC, image, ptImage, crBack);
        } else if (image.bHighlightedImage) {
            pDC->FillSolidRect(&rcCell, crBack);
            // Raised; pressed in when checked.
            if (HasNewShell())
                pDC->Draw3dRect(&rcOuter, bChecked ? crShadow : crLight, bChecked ? crLight : crShadow);
            image.pList->Draw(pDC, image.nIndex, ptImage, ILD_TRANSPARENT);
        } else {
            if (bChecked) {
                pDC->FillSolidRect(&rcCell, BlendToWhite(crBack, 0.6));
                if (HasNewShell())
                    pDC->Draw3dRect(&rcOuter, crShadow, crLight);
            } else {
                pDC->FillSolidRect(&rcCell, crBack);
                Frame(pDC, rcOuter, crBack);
            }
            image.pList->Draw(pDC, image.nIndex, ptImage, ILD_TRANSPARENT);
        }
    }
    if (bChecked && !image.pList && !image.bCheckImage) {
        const CRect rcCheck(rcItem.left + 1, rcItem.top + 2 + dy, rcItem.left + 1 + W, rcItem.top + H + 2 + dy);
        DrawClassicCheck(pDC, rcCheck, bSelected, CheckedBitmap(lpDIS));
    }

    const ItemText text = SplitItemText(pEntry->GetText());
    CRect rcText(rcItem.left + W + 9, rcItem.top - 1, rcItem.right, rcItem.bottom - 1);
    if (text.bTab)
        rcText.right -= W;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    if (!bGrayed) {
        DrawItemText(pDC, text, rcText, crText);
    } else if (!bSelected) {
        // Engraved: a highlight copy one pixel down-right under the grey one.
        CRect rcLight = rcText;
        rcLight.OffsetRect(1, 1);
        DrawItemText(pDC, text, rcLight, crLight);
        DrawItemText(pDC, text, rcText, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        DrawItemText(pDC, text, rcText, crBack);
    }
    pDC->SetBkMode(nOldMode);
}

void COwnerMenu::DrawItemXP(LPDRAWITEMSTRUCT lpDIS)
{
    const auto* pEntry = reinterpret_cast<const COwnerMenuEntry*>(lpDIS->itemData);
    const BOOL bThemed = IsThemedXP();
    COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    if (!bThemed)
        crFace = BlendToWhite(crFace, 0.25);
    const COLORREF crWindow = ::GetSysColor(COLOR_WINDOW);
    const COLORREF crHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF crSelect = BlendToWhite(crHighlight, bThemed ? 0.7 : 0.85);
    const CRect rcItem = lpDIS->rcItem;
    UINT nState = lpDIS->itemState;

    // A grayed item is never highlighted here, and is painted off screen so
    // that it reaches the screen in one copy.
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    std::optional<COwnerMenuBufferDC> buffer;
    if (nState & ODS_GRAYED) {
        if (!s_selectDisabledXP)
            nState &= ~ODS_SELECTED;
        buffer.emplace(pDC, rcItem);
        pDC = &*buffer;
    }
    const COwnerMenuFont font(pDC);

    const int W = m_nImageWidth, H = m_nImageHeight, nBar = W + PAD_XP;
    const CRect rcBar(rcItem.left, rcItem.top, rcItem.left + nBar, rcItem.bottom);
    if (pEntry->m_nFlags & MF_SEPARATOR) {
        pDC->FillSolidRect(&rcItem, crWindow);
        CRect rcLine = rcItem;
        rcLine.top += rcLine.Height() / 2;
        rcLine.left = rcBar.right + PAD_XP;
        DrawEtchedLine(pDC, rcLine);
        pDC->FillSolidRect(&rcBar, crFace);
        Frame(pDC, rcBar, crFace);
        return;
    }

    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    const BOOL bGrayed = (nState & ODS_GRAYED) != 0;
    const BOOL bChecked = (nState & ODS_CHECKED) != 0;
    const ItemImage image = DeriveItemImage(*pEntry, nState);
    if (bSelected) {
        pDC->FillSolidRect(&rcItem, crSelect);
        Frame(pDC, rcItem, crHighlight);
    } else {
        pDC->FillSolidRect(&rcItem, crWindow);
        pDC->FillSolidRect(&rcBar, crFace);
        Frame(pDC, rcItem, crWindow);
        Frame(pDC, rcBar, crFace);
    }

    CPoint ptImage(rcItem.left + CentreOffset(nBar, W), rcItem.top + CentreOffset(rcItem.Height(), H));
    const CRect rcCell(rcItem.left + 1, rcItem.top + 1, rcItem.left + nBar - 1, rcItem.bottom - 1);
    const CPoint ptRaised(ptImage.x - 1, ptImage.y - 1);
    if (image.bCheckImage) {
        pDC->FillSolidRect(&rcCell, crFace);
        m_pCheckImages->Draw(pDC, bSelected ? 1 : 0, ptImage, ILD_TRANSPARENT);
    } else if (image.bDisabledImage) {
        DrawDisabledItemImage(pDC, image, ptImage, bSelected ? crSelect : crFace);
        if (bSelected)
            Frame(pDC, rcItem, crHighlight);
    } else if (image.bHighlightedImage) {
        pDC->FillSolidRect(&rcCell, crSelect);
        if (bChecked) {
            Frame(pDC, rcCell, crHighlight);
            ptImage = ptRaised;
        }
        if (image.nShadow >= 0 && !bChecked) {
            // The image lifts off its shadow.
            image.pList->Draw(pDC, image.nShadow, CPoint(ptImage.x + 1, ptImage.y + 1), ILD_TRANSPARENT);
            image.pList->Draw(pDC, image.nIndex, ptRaised, ILD_TRANSPARENT);
        } else {
            image.pList->Draw(pDC, image.nIndex, ptImage, ILD_TRANSPARENT);
        }
    } else if (image.bImage) {
        if (bChecked) {
            pDC->FillSolidRect(&rcCell, BlendToWhite(crHighlight, 0.85));
            Frame(pDC, rcCell, crHighlight);
            image.pList->Draw(pDC, image.nIndex, ptRaised, ILD_TRANSPARENT);
        } else {
            pDC->FillSolidRect(&rcCell, crFace);
            Frame(pDC, rcCell, crFace);
            image.pList->Draw(pDC, image.nFaded >= 0 ? image.nFaded : image.nIndex, ptImage, ILD_TRANSPARENT);
        }
    }
    if (bChecked && !image.pList && !image.bCheckImage) {
        const CPoint ptCheck(rcItem.left + CentreOffset(nBar, CHECK_CELL),
                             rcItem.top + CentreOffset(rcItem.Height(), CHECK_CELL));
        DrawXPCheck(pDC, CRect(ptCheck, CSize(CHECK_CELL, CHECK_CELL)), CheckedBitmap(lpDIS), crHighlight);
    }

    const ItemText text = SplitItemText(pEntry->GetText());
    CRect rcText(rcItem.left + nBar + 8, rcItem.top - 1, rcItem.right, rcItem.bottom - 1);
    if (text.bTab)
        rcText.right -= W;
    COLORREF crText = ::GetSysColor(COLOR_MENUTEXT);
    if (bGrayed) {
        crText = ::GetSysColor(COLOR_GRAYTEXT);
        if (!bThemed && !bSelected)
            crText = BlendToWhite(crText, 0.4);
    }
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    DrawItemText(pDC, text, rcText, crText);
    pDC->SetBkMode(nOldMode);
}
