#pragma once
#include "CButton.h"
#include "CToolTipCtrl.h"
#include "OwnerMenu.h"

// Image placement beside the caption.
enum : BYTE {
    IMGBTN_ALIGN_LEFT = 0,
    IMGBTN_ALIGN_TOP = 1,
    IMGBTN_ALIGN_RIGHT = 2,
};

// State colour slots.
enum : BYTE {
    IMGBTN_FACE_HOVER = 0,   // face while hovered or pressed
    IMGBTN_TEXT_HOVER = 1,   // caption while hovered or pressed
    IMGBTN_FACE_NORMAL = 2,
    IMGBTN_TEXT_NORMAL = 3,
    IMGBTN_FACE_FOCUS = 4,   // face when focused, neither hovered nor pressed
    IMGBTN_TEXT_FOCUS = 5,   // kept, not drawn: a focused caption takes the hover or normal colour
    IMGBTN_MAX_COLORS = 6,
};

// Results of the setters.
enum {
    IMGBTN_OK = 0,
    IMGBTN_BAD_RESOURCE = 1,   // an image cannot be queried, or a cursor cannot be loaded
    IMGBTN_MASK_FAILED = 2,    // a bitmap's transparency mask cannot be made
    IMGBTN_BAD_INDEX = 3,      // colour slot 6 or more
    IMGBTN_BAD_ALIGN = 4,      // alignment above 2
    IMGBTN_BAD_PARAM = 5,      // colour offset outside -255..255
};

// Passed as the normal icon: a grey copy of the hover icon.
inline const HICON IMGBTN_AUTO_GRAY = reinterpret_cast<HICON>(static_cast<INT_PTR>(-2));

// An owner-drawn push button with an icon or bitmap beside its caption, a
// hover look (flat style), state colours, a tooltip, a cursor of its own,
// the parent's background behind it, check-box behaviour, and a drop-down
// menu or a link that a click opens. Subclassing a template's button
// converts it to owner-draw.
// The button owns every icon, bitmap, mask and cursor handle it is given.
class CImageButton : public CButton {
public:
    CImageButton();
    ~CImageButton() override;

    // Images: slot 0 while hovered or pressed, slot 1 otherwise (none: slot 0
    // throughout). Icons and bitmaps exclude each other; every failure leaves
    // the button without images.
    int LoadStateIcons(int nIconHover, int nIconNormal = 0);   // normal -2: a grey copy
    int SetStateIcons(HICON hIconHover, HICON hIconNormal = nullptr);
    int LoadStateBitmaps(int nBitmapHover, COLORREF crTransHover, int nBitmapNormal = 0, COLORREF crTransNormal = 0);
    int SetStateBitmaps(HBITMAP hBitmapHover, COLORREF crTransHover,
                        HBITMAP hBitmapNormal = nullptr, COLORREF crTransNormal = 0);

    // Look
    int SetFlatLook(BOOL bFlat, BOOL bRepaint = TRUE);
    int SetImageAlignment(BYTE byAlign, BOOL bRepaint = TRUE);
    int SetFlatBorder(BOOL bDrawBorder, BOOL bRepaint = TRUE);
    int SetFlatFocusRect(BOOL bDrawFlatFocus, BOOL bRepaint = TRUE);
    int SetTrackWhenInactive(BOOL bTrack);
    // From then on the parent's background shows behind the button.
    void UseParentBackground(BOOL bRepaint = TRUE);
    BOOL IsDefaultStyle() const { return m_bDefault; }

    // Colours
    int ResetStateColors(BOOL bRepaint = TRUE);
    int SetStateColor(BYTE byIndex, COLORREF crColor, BOOL bRepaint = TRUE);
    int GetStateColor(BYTE byIndex, COLORREF* pcrColor) const;
    // Lightens (positive) or darkens all three channels by the same amount, as far as the brightest (darkest) allows.
    int ShiftStateColor(BYTE byIndex, short shOffset, BOOL bRepaint = TRUE);

    // Check box (only buttons whose template type has bit 0x2)
    int SetCheckState(int nCheck, BOOL bRepaint = TRUE);
    int GetCheckState() const { return m_nCheck; }

    // Cursor, tooltip, link
    int LoadHoverCursor(int nCursorId, BOOL bRepaint = TRUE);   // 0 removes it
    void LoadHintText(int nTextId, BOOL bActivate = TRUE);
    void SetHintText(LPCSTR lpszText, BOOL bActivate = TRUE);
    void EnableHint(BOOL bActivate = TRUE);
    int SetLinkTarget(LPCSTR lpszURL);   // NULL or empty: none; cut to 259 bytes

    // Drop-down menu: a click shows the first popup of menu resource
    // nMenuId under the button and posts the command chosen to hParentWnd as
    // WM_COMMAND. nDrawMode goes to every owner-drawn menu (1: XP style).
    // With nToolbarId, the items take the pictures of that toolbar resource,
    // whose pixels of crToolbarBackground are transparent. nMenuId 0 only
    // detaches the menu. 0 when done, 1 when the menu or the pictures cannot
    // be loaded (the button is then without a menu).
    int AttachDropMenu(UINT nMenuId, HWND hParentWnd, int nDrawMode, UINT nToolbarId = 0,
                       CSize sizeToolbarIcon = CSize(16, 15), COLORREF crToolbarBackground = RGB(192, 192, 192),
                       BOOL bRepaint = TRUE);

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    // A double click counts as a second click.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Painting hooks for derived buttons.
    virtual DWORD PaintFace(CDC* pDC, CRect* pRect);
    virtual DWORD PaintEdge(CDC* pDC, CRect* pRect);

    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKillFocus(CWnd* pNewWnd);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnSysColorChange();
    BOOL OnReflectedClick();
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnEnable(BOOL bEnable);
    void OnCancelMode();
    UINT OnGetDlgCode();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    // The menu's own items answer for their mnemonics and sizes.
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS);
    LRESULT OnBmSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeft(WPARAM wParam, LPARAM lParam);
    LRESULT OnBmSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnBmGetCheck(WPARAM wParam, LPARAM lParam);

    struct STRUCT_ICONS {
        HICON hIcon;
        DWORD dwWidth;
        DWORD dwHeight;
    };
    struct STRUCT_BITMAPS {
        HBITMAP hBitmap;
        DWORD dwWidth;
        DWORD dwHeight;
        HBITMAP hMask;
        COLORREF crTransparent;
    };

    BOOL m_bGrayDisabledBitmap;
    BOOL m_bFlat;
    BOOL m_bHover;
    BOOL m_bParentBack;
    BOOL m_bPressed;
    BOOL m_bFocused;
    BOOL m_bDisabled;
    BOOL m_bDefault;
    BOOL m_bCheckBox;
    BYTE m_byAlign;
    BOOL m_bFlatBorder;
    BOOL m_bFlatFocus;
    COLORREF m_crStates[IMGBTN_MAX_COLORS];
    BOOL m_bMenuOpen;          // drawn pressed while the drop-down menu shows
    HWND m_hMenuTarget;        // receives the command chosen from the menu
    COwnerMenu m_dropMenu;     // attached while it has a menu handle
    HCURSOR m_hHoverCursor;
    CToolTipCtrl m_hint;
    CDC m_dcParentBack;
    CBitmap m_bmpParentBack;
    CBitmap* m_pbmpOldParentBack;
    BOOL m_bTrackInactive;
    int m_nCheck;
    UINT m_nButtonType;
    char m_szLink[260];
    STRUCT_ICONS m_icons[2];
    STRUCT_BITMAPS m_bitmaps[2];

private:
    void CancelHover();
    // Shows the menu under the button and posts the command chosen.
    void DropMenu();
    void EnsureHintControl();
    void ReleaseImages();
    void DiscardParentSnapshot();
    void Repaint(BOOL bRepaint);
    // 0 (hover image) or 1 (normal image) for the state of the current paint.
    int ImageSlot(bool bHasNormal) const;

    void PaintParentBackground(CDC* pDC);
    void PaintStandardEdge(CDC* pDC, const CRect& rc);
    void PlaceImage(BOOL bHasTitle, LPCRECT rpItem, CRect* rpTitle, BOOL bIsPressed,
                    DWORD dwWidth, DWORD dwHeight, CRect* rpImage);
    void DrawStateIcon(CDC* pDC, BOOL bHasTitle, LPCRECT rpItem, CRect* rpTitle, BOOL bIsPressed, BOOL bIsDisabled);
    void DrawStateBitmap(CDC* pDC, BOOL bHasTitle, LPCRECT rpItem, CRect* rpTitle, BOOL bIsPressed, BOOL bIsDisabled);
    // Turns the bitmap's transparent pixels black (in place) and answers the 1-bit mask that marks them.
    static HBITMAP BuildTransparencyMask(HBITMAP hSourceBitmap, DWORD dwWidth, DWORD dwHeight, COLORREF crTransColor);
    HICON MakeGrayIcon(HICON hIcon);

    DECLARE_MESSAGE_MAP()
};
