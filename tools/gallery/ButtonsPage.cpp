#include "ButtonsPage.h"
#include "GalleryResource.h"

CButtonsPage::CButtonsPage(LPCSTR lpszShotPath) : CGalleryPage(IDD_BUTTONS, lpszShotPath)
{
}

void CButtonsPage::DoDataExchange(CDataExchange* pDX)
{
    CGalleryPage::DoDataExchange(pDX);
    for (int i = 0; i < BUTTON_COUNT; ++i)
        DDX_Control(pDX, FIRST_BUTTON + i, m_buttons[i]);
    DDX_Control(pDX, IDC_RUN_ICON, m_runIcon);
}

BOOL CButtonsPage::OnInitDialog()
{
    CGalleryPage::OnInitDialog();
    SetBackgroundMode(BG_TILE);
    LoadBackgroundBitmap(IDB_PAGE_BACK);

    // Every button as the main dialog sets up its upgrade button, then each its own state.
    for (CShowcaseButton& button : m_buttons) {
        button.LoadStateIcons(IDI_HOVER, IDI_NORMAL);
        button.ShiftStateColor(IMGBTN_FACE_HOVER, 30, FALSE);
        button.SetStateColor(IMGBTN_TEXT_HOVER, RGB(200, 128, 0), FALSE);
    }
    Button(IDC_RESTING).LoadHintText(IDS_HINT);
    Button(IDC_HOVER).ShowHovered();
    Button(IDC_PRESSED).SendMessage(BM_SETSTATE, TRUE);
    Button(IDC_DISABLED).EnableWindow(FALSE);
    Button(IDC_PARENT_BACK).UseParentBackground(TRUE);
    Button(IDC_ALIGN_TOP).SetImageAlignment(IMGBTN_ALIGN_TOP);
    Button(IDC_ALIGN_RIGHT).SetImageAlignment(IMGBTN_ALIGN_RIGHT);
    for (UINT nID : {IDC_STANDARD, IDC_FOCUSED, IDC_DEFAULT})
        Button(nID).SetFlatLook(FALSE);
    Button(IDC_CHECKED).SetCheckState(1);
    Button(IDC_BITMAP).LoadStateBitmaps(IDB_BADGE, RGB(255, 0, 255));
    Button(IDC_BITMAP_DISABLED).LoadStateBitmaps(IDB_BADGE, RGB(255, 0, 255));
    Button(IDC_BITMAP_DISABLED).EnableWindow(FALSE);
    Button(IDC_GRAY_ICON).LoadStateIcons(IDI_HOVER, -2);

    for (UINT nID = IDI_RUN1; nID <= IDI_RUN8; ++nID)
        m_runIcon.AddFrame(nID);
    m_runIcon.SetBackColor(RGB(200, 200, 200));
    m_runIcon.StartAnimation(500);

    // Focusing a push button takes the default look from the others; show both anyway.
    Button(IDC_FOCUSED).SetFocus();
    Button(IDC_DEFAULT).SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    return FALSE;
}
