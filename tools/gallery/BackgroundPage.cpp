#include "BackgroundPage.h"
#include "GalleryResource.h"

CBackgroundPage::CBackgroundPage(int nMode, LPCSTR lpszShotPath)
    : CGalleryPage(IDD_BACKGROUND, lpszShotPath), m_nMode(nMode)
{
}

BOOL CBackgroundPage::OnInitDialog()
{
    CGalleryPage::OnInitDialog();
    SetBackgroundMode(m_nMode);
    LoadBackgroundBitmap(IDB_TILE);
    static const char* const titles[] = {"平铺", "居中", "拉伸"};
    static const char* const labels[] = {
        " BG_TILE：从左上角起逐行重复",
        " BG_CENTER：位图居中，周围为普通背景",
        " BG_STRETCH：拉伸到整个客户区",
    };
    CString strTitle;
    strTitle.Format("位图对话框 CBDialog：%s", titles[m_nMode]);
    SetWindowText(strTitle);
    m_bOpaqueLabels = TRUE;
    GetDlgItem(IDC_MODE_LABEL)->SetWindowText(labels[m_nMode]);
    return TRUE;
}
