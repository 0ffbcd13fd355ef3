// The image button's state, its setters and its messages; its painting, and
// the images that it makes for it, are in ImageButtonPaint.cpp.
#include "ImageButton.h"
#include "AfxResource.h"
#include <shellapi.h>
#include <algorithm>
#include <cstring>

namespace {
const UINT BUTTON_TYPE_MASK = 0x1F;

HANDLE LoadResourceImage(int nId, UINT uType)
{
    return ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nId), uType, 0, 0, 0);
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
    ON_WM_MENUCHAR()
    ON_WM_MEASUREITEM()
    ON_MESSAGE(BM_SETSTYLE, OnBmSetStyle)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeft)
    ON_MESSAGE(BM_SETCHECK, OnBmSetCheck)
    ON_MESSAGE(BM_GETCHECK, OnBmGetCheck)
END_MESSAGE_MAP()

CImageButton::CImageButton()
    : m_bGrayDisabledBitmap(TRUE), m_bFlat(TRUE), m_bHover(FALSE), m_bParentBack(FALSE), m_bPressed(FALSE),
      m_bFocused(FALSE), m_bDisabled(FALSE), m_bDefault(FALSE), m_bCheckBox(FALSE), m_byAlign(IMGBTN_ALIGN_LEFT),
      m_bFlatBorder(TRUE), m_bFlatFocus(FALSE), m_crStates(), m_bMenuOpen(FALSE), m_hMenuTarget(nullptr),
      m_hHoverCursor(nullptr),
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
    if (m_dropMenu.m_hMenu)
        m_dropMenu.DestroyMenu();
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
// Drop-down menu

int CImageButton::AttachDropMenu(UINT nMenuId, HWND hParentWnd, int nDrawMode, UINT nToolbarId,
                                 CSize sizeToolbarIcon, COLORREF crToolbarBackground, BOOL bRepaint)
{
    if (m_dropMenu.m_hMenu) {
        m_dropMenu.DestroyMenu();
        m_hMenuTarget = nullptr;
        m_bMenuOpen = FALSE;
    }
    if (nMenuId != 0) {
        COwnerMenu::SetDrawMode(static_cast<UINT>(nDrawMode));
        if (!m_dropMenu.LoadMenu(nMenuId))
            return 1;
        if (nToolbarId != 0) {
            m_dropMenu.SetImageKeyColor(crToolbarBackground);
            m_dropMenu.SetImageSize(sizeToolbarIcon.cx, sizeToolbarIcon.cy);
            if (!m_dropMenu.LoadImagesFromToolbar(nToolbarId)) {
                m_dropMenu.DestroyMenu();
                return 1;
            }
        }
        m_hMenuTarget = hParentWnd;
    }
    Repaint(bRepaint);
    return 0;
}

void CImageButton::DropMenu()
{
    CRect rc;
    GetWindowRect(&rc);
    m_bMenuOpen = TRUE;
    Invalidate(TRUE);
    UpdateWindow();
    COwnerMenu* pPopup = m_dropMenu.GetSubMenu(0);
    const UINT nCommand = pPopup ? static_cast<UINT>(pPopup->TrackPopupMenu(
                                       TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                                       rc.left, rc.bottom, this))
                                 : 0;
    m_bMenuOpen = FALSE;
    Invalidate(TRUE);
    UpdateWindow();
    if (nCommand != 0)
        ::PostMessageA(m_hMenuTarget, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
}

LRESULT CImageButton::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (COwnerMenu::IsOwnerDrawnMenu(pMenu) && pMenu->IsKindOf(&COwnerMenu::classCOwnerMenu))
        return COwnerMenu::FindAccelerator(nChar, nFlags, static_cast<COwnerMenu*>(pMenu));
    return CButton::OnMenuChar(nChar, nFlags, pMenu);
}

void CImageButton::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS)
{
    // A popup item's id is its menu's handle.
    HMENU hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(lpMIS->itemID));
    if (lpMIS->CtlType == ODT_MENU && ::IsMenu(hMenu) && COwnerMenu::IsOwnerDrawnMenu(hMenu))
        m_dropMenu.MeasureItem(lpMIS);
    else
        CButton::OnMeasureItem(nIDCtl, lpMIS);
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
    } else if (m_dropMenu.m_hMenu) {
        DropMenu();
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
