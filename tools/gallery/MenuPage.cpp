#include "MenuPage.h"
#include "GalleryResource.h"

BEGIN_MESSAGE_MAP(CMenuPage, CGalleryPage)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CMenuPage::CMenuPage(int nDrawMode, LPCSTR lpszShotPath)
    : CGalleryPage(IDD_MENU, lpszShotPath), m_nDrawMode(nDrawMode)
{
}

void CMenuPage::DoDataExchange(CDataExchange* pDX)
{
    CGalleryPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MENU_BUTTON, m_button);
}

BOOL CMenuPage::OnInitDialog()
{
    CGalleryPage::OnInitDialog();
    const bool bXP = m_nDrawMode == 1;
    SetWindowText(bXP ? "所有者绘制菜单 COwnerMenu：XP 样式" : "所有者绘制菜单 COwnerMenu：经典样式");
    GetDlgItem(IDC_MENU_LABEL)->SetWindowText(bXP ? "SetDrawMode(1)：XP 样式" : "SetDrawMode(0)：经典样式");
    m_button.LoadStateIcons(IDI_HOVER, IDI_NORMAL);
    // The toolbar's pictures have a magenta background.
    m_button.AttachDropMenu(IDR_DROP_MENU, m_hWnd, m_nDrawMode, IDR_MENU_TOOLBAR, CSize(16, 15), RGB(255, 0, 255));
    // An item with a checked bitmap of its own is a radio item: it shows the dot.
    m_bmpRadio.CreateBitmap(8, 8, 1, 1, nullptr);
    for (UINT nID : {ID_MENU_LARGE, ID_MENU_SMALL})
        ::SetMenuItemBitmaps(m_button.GetDropMenu(), nID, MF_BYCOMMAND, nullptr, m_bmpRadio);
    SetTimer(TIMER_DROP, DROP_DELAY_MS);
    return TRUE;
}

void CMenuPage::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_DROP:
        // The click runs the menu; the other timers come while it shows.
        KillTimer(TIMER_DROP);
        SetTimer(TIMER_HIGHLIGHT, DROP_DELAY_MS);
        m_button.SendMessage(BM_CLICK);
        break;
    case TIMER_HIGHLIGHT:
        KillTimer(TIMER_HIGHLIGHT);
        // A picture highlighted: the first item in the XP style, the second in the classic one.
        if (HWND hPopup = ::FindWindowA("#32768", nullptr)) {
            for (int i = 0; i < (m_nDrawMode == 1 ? 1 : 2); ++i)
                ::PostMessageA(hPopup, WM_KEYDOWN, VK_DOWN, 0);
        }
        break;
    case TIMER_SHOT:
        CGalleryPage::OnTimer(nIDEvent);
        ::EndMenu();
        break;
    default:
        CGalleryPage::OnTimer(nIDEvent);
        break;
    }
}
