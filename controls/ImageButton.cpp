#include "ImageButton.h"
#include "AfxResource.h"
#include "CClientDC.h"
#include <shellapi.h>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {
const UINT BUTTON_TYPE_MASK = 0x1F;
const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF BLACK = RGB(0, 0, 0);

HANDLE LoadResourceImage(int nId, UINT uType)
{
    return ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nId), uType, 0, 0, 0);
}

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

// An icon's size is twice its hot spot, which sits in its centre.
bool QueryIconSize(HICON hIcon, DWORD* pdwWidth, DWORD* pdwHeight)
{
    ICONINFO ii = {};
    if (!hIcon || !::GetIconInfo(hIcon, &ii))
        return false;
    *pdwWidth = ii.xHotspot * 2;
    *pdwHeight = ii.yHotspot * 2;
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    return true;
}
}

BEGIN_MESSAGE_MAP(CImageButton, CButton)
    ON_WM_SETCURSOR()
    ON_WM_KILLFOCUS()
    ON_WM_MOUSEMOVE()
    ON_WM_SYSCOLORCHANGE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedClick)
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_CANCELMODE()
    ON_WM_GETDLGCODE()
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(BM_SETSTYLE, OnBmSetStyle)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeft)
    ON_MESSAGE(BM_SETCHECK, OnBmSetCheck)
    ON_MESSAGE(BM_GETCHECK, OnBmGetCheck)
END_MESSAGE_MAP()

CImageButton::CImageButton()
    : m_bGrayDisabledBitmap(TRUE), m_bFlat(TRUE), m_bHover(FALSE), m_bParentBack(FALSE), m_bPressed(FALSE),
      m_bFocused(FALSE), m_bDisabled(FALSE), m_bDefault(FALSE), m_bCheckBox(FALSE), m_byAlign(IMGBTN_ALIGN_LEFT),
      m_bFlatBorder(TRUE), m_bFlatFocus(FALSE), m_crStates(), m_hHoverCursor(nullptr),
      m_pbmpOldParentBack(nullptr), m_bTrackInactive(TRUE), m_nCheck(0), m_nButtonType(BUTTON_TYPE_MASK),
      m_szLink(), m_icons(), m_bitmaps()
{
    ResetStateColors(FALSE);
    SetLinkTarget(nullptr);
}

CImageButton::~CImageButton()
{
    if (m_dcParentBack.m_hDC && m_pbmpOldParentBack)
        m_dcParentBack.SelectObject(m_pbmpOldParentBack);
    ReleaseImages();
    if (m_hHoverCursor)
        ::DestroyCursor(m_hHoverCursor);
}

void CImageButton::Repaint(BOOL bRepaint)
{
    if (bRepaint)
        Invalidate(TRUE);
}

// ---------------------------------------------------------------------------
// Images

void CImageButton::ReleaseImages()
{
    for (STRUCT_ICONS& icon : m_icons) {
        if (icon.hIcon)
            ::DestroyIcon(icon.hIcon);
    }
    for (STRUCT_BITMAPS& bitmap : m_bitmaps) {
        if (bitmap.hBitmap)
            ::DeleteObject(bitmap.hBitmap);
        if (bitmap.hMask)
            ::DeleteObject(bitmap.hMask);
    }
    std::memset(m_icons, 0, sizeof(m_icons));
    std::memset(m_bitmaps, 0, sizeof(m_bitmaps));
}

int CImageButton::LoadStateIcons(int nIconHover, int nIconNormal)
{
    HICON hIconHover = static_cast<HICON>(LoadResourceImage(nIconHover, IMAGE_ICON));
    HICON hIconNormal = nullptr;
    if (nIconNormal == -2)
        hIconNormal = IMGBTN_AUTO_GRAY;
    else if (nIconNormal != 0)
        hIconNormal = static_cast<HICON>(LoadResourceImage(nIconNormal, IMAGE_ICON));
    return SetStateIcons(hIconHover, hIconNormal);
}

int CImageButton::SetStateIcons(HICON hIconHover, HICON hIconNormal)
{
    ReleaseImages();
    // A normal icon that never reaches its slot is the button's all the same.
    auto releaseNormal = [hIconNormal] {
        if (hIconNormal && hIconNormal != IMGBTN_AUTO_GRAY)
            ::DestroyIcon(hIconNormal);
    };
    if (!hIconHover) {
        releaseNormal();
        Repaint(TRUE);
        return IMGBTN_OK;
    }

    m_icons[0].hIcon = hIconHover;
    if (!QueryIconSize(hIconHover, &m_icons[0].dwWidth, &m_icons[0].dwHeight)) {
        ReleaseImages();
        releaseNormal();
        return IMGBTN_BAD_RESOURCE;
    }

    if (hIconNormal) {
        if (hIconNormal == IMGBTN_AUTO_GRAY)
            hIconNormal = MakeGrayIcon(hIconHover);
        m_icons[1].hIcon = hIconNormal;
        if (!QueryIconSize(hIconNormal, &m_icons[1].dwWidth, &m_icons[1].dwHeight)) {
            ReleaseImages();
            return IMGBTN_BAD_RESOURCE;
        }
    }

    Repaint(TRUE);
    return IMGBTN_OK;
}

int CImageButton::LoadStateBitmaps(int nBitmapHover, COLORREF crTransHover, int nBitmapNormal, COLORREF crTransNormal)
{
    HBITMAP hBitmapHover = static_cast<HBITMAP>(LoadResourceImage(nBitmapHover, IMAGE_BITMAP));
    HBITMAP hBitmapNormal = nBitmapNormal ? static_cast<HBITMAP>(LoadResourceImage(nBitmapNormal, IMAGE_BITMAP)) : nullptr;
    return SetStateBitmaps(hBitmapHover, crTransHover, hBitmapNormal, crTransNormal);
}

int CImageButton::SetStateBitmaps(HBITMAP hBitmapHover, COLORREF crTransHover, HBITMAP hBitmapNormal, COLORREF crTransNormal)
{
    ReleaseImages();
    // A normal bitmap that never reaches its slot is the button's all the same.
    auto releaseNormal = [this, hBitmapNormal] {
        if (hBitmapNormal && m_bitmaps[1].hBitmap != hBitmapNormal)
            ::DeleteObject(hBitmapNormal);
    };
    if (!hBitmapHover) {
        releaseNormal();
        Repaint(TRUE);
        return IMGBTN_OK;
    }

    const HBITMAP hBitmaps[2] = {hBitmapHover, hBitmapNormal};
    const COLORREF crTrans[2] = {crTransHover, crTransNormal};
    for (int i = 0; i < 2 && hBitmaps[i]; ++i) {
        STRUCT_BITMAPS& slot = m_bitmaps[i];
        slot.hBitmap = hBitmaps[i];
        slot.crTransparent = crTrans[i];
        BITMAP bm = {};
        int nResult = IMGBTN_OK;
        if (!::GetObjectA(slot.hBitmap, sizeof(bm), &bm)) {
            nResult = IMGBTN_BAD_RESOURCE;
        } else {
            slot.dwWidth = static_cast<DWORD>(bm.bmWidth);
            slot.dwHeight = static_cast<DWORD>(bm.bmHeight);
            slot.hMask = BuildTransparencyMask(slot.hBitmap, slot.dwWidth, slot.dwHeight, slot.crTransparent);
            if (!slot.hMask)
                nResult = IMGBTN_MASK_FAILED;
        }
        if (nResult != IMGBTN_OK) {
            releaseNormal();
            ReleaseImages();
            return nResult;
        }
    }

    Repaint(TRUE);
    return IMGBTN_OK;
}

// ---------------------------------------------------------------------------
// Look and colours

int CImageButton::SetFlatLook(BOOL bFlat, BOOL bRepaint)
{
    m_bFlat = bFlat;
    Repaint(bRepaint);
    return IMGBTN_OK;
}

int CImageButton::SetImageAlignment(BYTE byAlign, BOOL bRepaint)
{
    if (byAlign > IMGBTN_ALIGN_RIGHT)
        return IMGBTN_BAD_ALIGN;
    m_byAlign = byAlign;
    Repaint(bRepaint);
    return IMGBTN_OK;
}

int CImageButton::SetFlatBorder(BOOL bDrawBorder, BOOL bRepaint)
{
    m_bFlatBorder = bDrawBorder;
    Repaint(bRepaint);
    return IMGBTN_OK;
}

int CImageButton::SetFlatFocusRect(BOOL bDrawFlatFocus, BOOL bRepaint)
{
    m_bFlatFocus = bDrawFlatFocus;
    Repaint(bRepaint);
    return IMGBTN_OK;
}

int CImageButton::SetTrackWhenInactive(BOOL bTrack)
{
    m_bTrackInactive = bTrack;
    return IMGBTN_OK;
}

void CImageButton::DiscardParentSnapshot()
{
    if (m_dcParentBack.m_hDC && m_pbmpOldParentBack)
        m_dcParentBack.SelectObject(m_pbmpOldParentBack);
    m_pbmpOldParentBack = nullptr;
    m_bmpParentBack.DeleteObject();
    m_dcParentBack.DeleteDC();
}

void CImageButton::UseParentBackground(BOOL bRepaint)
{
    m_bParentBack = TRUE;
    DiscardParentSnapshot();
    Repaint(bRepaint);
}

int CImageButton::ResetStateColors(BOOL bRepaint)
{
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF crText = ::GetSysColor(COLOR_BTNTEXT);
    m_crStates[IMGBTN_FACE_HOVER] = m_crStates[IMGBTN_FACE_NORMAL] = m_crStates[IMGBTN_FACE_FOCUS] = crFace;
    m_crStates[IMGBTN_TEXT_HOVER] = m_crStates[IMGBTN_TEXT_NORMAL] = m_crStates[IMGBTN_TEXT_FOCUS] = crText;
    Repaint(bRepaint);
    return IMGBTN_OK;
}

int CImageButton::SetStateColor(BYTE byIndex, COLORREF crColor, BOOL bRepaint)
{
    if (byIndex >= IMGBTN_MAX_COLORS)
        return IMGBTN_BAD_INDEX;
    m_crStates[byIndex] = crColor;
    Repaint(bRepaint);
    return IMGBTN_OK;
}

int CImageButton::GetStateColor(BYTE byIndex, COLORREF* pcrColor) const
{
    if (byIndex >= IMGBTN_MAX_COLORS)
        return IMGBTN_BAD_INDEX;
    *pcrColor = m_crStates[byIndex];
    return IMGBTN_OK;
}

int CImageButton::ShiftStateColor(BYTE byIndex, short shOffset, BOOL bRepaint)
{
    if (byIndex >= IMGBTN_MAX_COLORS)
        return IMGBTN_BAD_INDEX;
    if (shOffset < -255 || shOffset > 255)
        return IMGBTN_BAD_PARAM;

    const COLORREF cr = m_crStates[byIndex];
    const int channels[3] = {GetRValue(cr), GetGValue(cr), GetBValue(cr)};
    // Every channel moves by the same amount, the most that keeps all of them within 0..255.
    int offset = shOffset;
    for (int c : channels) {
        if (shOffset > 0)
            offset = std::min(offset, c + shOffset > 255 ? 255 - c : static_cast<int>(shOffset));
        else
            offset = std::max(offset, c + shOffset < 0 ? -c : static_cast<int>(shOffset));
    }
    m_crStates[byIndex] = RGB(channels[0] + offset, channels[1] + offset, channels[2] + offset);
    Repaint(bRepaint);
    return IMGBTN_OK;
}

// ---------------------------------------------------------------------------
// Check box, cursor, tooltip, link

int CImageButton::SetCheckState(int nCheck, BOOL bRepaint)
{
    if (m_bCheckBox) {
        m_nCheck = nCheck == 0 ? 0 : 1;
        Repaint(bRepaint);
    }
    return IMGBTN_OK;
}

int CImageButton::LoadHoverCursor(int nCursorId, BOOL bRepaint)
{
    if (m_hHoverCursor) {
        ::DestroyCursor(m_hHoverCursor);
        m_hHoverCursor = nullptr;
    }
    if (nCursorId == 0)
        return IMGBTN_OK;
    m_hHoverCursor = static_cast<HCURSOR>(LoadResourceImage(nCursorId, IMAGE_CURSOR));
    Repaint(bRepaint);
    return m_hHoverCursor ? IMGBTN_OK : IMGBTN_BAD_RESOURCE;
}

void CImageButton::EnsureHintControl()
{
    if (m_hint.m_hWnd)
        return;
    if (m_hint.Create(this, 0)) {
        m_hint.Activate(FALSE);
        m_hint.SetMaxTipWidth(400);
    }
}

void CImageButton::LoadHintText(int nTextId, BOOL bActivate)
{
    CString strText;
    strText.LoadString(static_cast<UINT>(nTextId));
    if (!strText.IsEmpty())
        SetHintText(strText, bActivate);
}

void CImageButton::SetHintText(LPCSTR lpszText, BOOL bActivate)
{
    if (!lpszText)
        return;
    EnsureHintControl();
    if (m_hint.GetToolCount() == 0) {
        CRect rcClient;
        GetClientRect(&rcClient);
        m_hint.AddTool(this, lpszText, &rcClient, 1);
    }
    m_hint.UpdateTipText(lpszText, this, 1);
    m_hint.Activate(bActivate);
}

void CImageButton::EnableHint(BOOL bActivate)
{
    if (m_hint.m_hWnd && m_hint.GetToolCount() > 0)
        m_hint.Activate(bActivate);
}

int CImageButton::SetLinkTarget(LPCSTR lpszURL)
{
    std::memset(m_szLink, 0, sizeof(m_szLink));
    if (lpszURL)
        std::memcpy(m_szLink, lpszURL, std::min(std::strlen(lpszURL), sizeof(m_szLink) - 1));
    return IMGBTN_OK;
}

// ---------------------------------------------------------------------------
// Subclassing and messages

void CImageButton::PreSubclassWindow()
{
    const UINT nStyle = GetButtonStyle();
    m_nButtonType = nStyle & BUTTON_TYPE_MASK;
    if (nStyle & BS_CHECKBOX)
        m_bCheckBox = TRUE;
    if (m_nButtonType == BS_DEFPUSHBUTTON) {
        m_bDefault = TRUE;
        m_nButtonType = BS_PUSHBUTTON;
    }
    ModifyStyle(BUTTON_TYPE_MASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CImageButton::PreTranslateMessage(MSG* pMsg)
{
    EnsureHintControl();
    m_hint.RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

LRESULT CImageButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

BOOL CImageButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hHoverCursor) {
        ::SetCursor(m_hHoverCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CImageButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CImageButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    ClientToScreen(&point);
    CWnd* pUnder = WindowFromPoint(point);

    // A drag that enters from outside does not highlight.
    if ((nFlags & MK_LBUTTON) && !m_bHover)
        return;
    if (!m_bFlat)
        return;

    CWnd* pActive = m_bTrackInactive ? this : GetActiveWindow();
    if (pUnder && pUnder->m_hWnd == m_hWnd && pActive) {
        if (!m_bHover) {
            m_bHover = TRUE;
            Invalidate(TRUE);
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            ::_TrackMouseEvent(&tme);
        }
    } else {
        CancelHover();
    }
}

void CImageButton::CancelHover()
{
    if (m_bFlat && m_bHover) {
        m_bHover = FALSE;
        Invalidate(TRUE);
    }
}

void CImageButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    DiscardParentSnapshot();
}

BOOL CImageButton::OnReflectedClick()
{
    SetFocus();
    if (m_bCheckBox) {
        m_nCheck = !m_nCheck;
        Invalidate(TRUE);
    } else if (m_szLink[0]) {
        SHELLEXECUTEINFOA sei = {};
        sei.cbSize = sizeof(sei);
        sei.fMask = SEE_MASK_FLAG_NO_UI;
        sei.lpVerb = "open";
        sei.lpFile = m_szLink;
        sei.nShow = SW_SHOWMAXIMIZED;
        ::ShellExecuteExA(&sei);
    }
    // The parent handles the click too.
    return FALSE;
}

void CImageButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        CancelHover();
}

void CImageButton::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (!bEnable) {
        if (CWnd* pParent = GetParent()) {
            CWnd* pNext = pParent->GetNextDlgTabItem(this, FALSE);
            if (pNext && pNext->m_hWnd != m_hWnd)
                pNext->SetFocus();
            else
                pParent->SetFocus();
        }
    }
    CancelHover();
}

void CImageButton::OnCancelMode()
{
    CButton::OnCancelMode();
    CancelHover();
}

UINT CImageButton::OnGetDlgCode()
{
    // The dialog manager then treats the owner-drawn button as a push button.
    return CButton::OnGetDlgCode() | (m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH CImageButton::CtlColor(CDC*, UINT)
{
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT CImageButton::OnBmSetStyle(WPARAM wParam, LPARAM lParam)
{
    const UINT nType = static_cast<UINT>(wParam) & BUTTON_TYPE_MASK;
    if (nType == BS_DEFPUSHBUTTON)
        m_bDefault = TRUE;
    else if (nType == BS_PUSHBUTTON)
        m_bDefault = FALSE;
    // Whatever default style the dialog manager hands out, the button stays owner-drawn.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(BUTTON_TYPE_MASK)) | BS_OWNERDRAW, lParam);
}

LRESULT CImageButton::OnMouseLeft(WPARAM, LPARAM)
{
    CancelHover();
    return 0;
}

LRESULT CImageButton::OnBmSetCheck(WPARAM wParam, LPARAM)
{
    SetCheckState(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
    return 0;
}

LRESULT CImageButton::OnBmGetCheck(WPARAM, LPARAM)
{
    return GetCheckState();
}

// ---------------------------------------------------------------------------
// Drawing

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);

    const bool bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    m_bPressed = m_bCheckBox ? (bSelected || m_nCheck != 0) : bSelected;
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
