#include "GalleryPage.h"
#include "AfxTrace.h"
#include "WindowShot.h"

BEGIN_MESSAGE_MAP(CGalleryPage, CBDialog)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CGalleryPage::CGalleryPage(UINT nIDTemplate, LPCSTR lpszShotPath)
    : CBDialog(nIDTemplate), m_strShotPath(lpszShotPath)
{
}

BOOL CGalleryPage::OnInitDialog()
{
    CBDialog::OnInitDialog();
    ::SetWindowPos(m_hWnd, nullptr, 16, 16, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!m_strShotPath.IsEmpty())
        SetTimer(TIMER_SHOT, SHOT_DELAY_MS);
    return TRUE;
}

void CGalleryPage::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_SHOT) {
        KillTimer(TIMER_SHOT);
        if (!SaveWindowShot(m_hWnd, m_strShotPath))
            TRACE("gallery: cannot save %s\n", static_cast<LPCSTR>(m_strShotPath));
        EndDialog(IDOK);
        return;
    }
    CBDialog::OnTimer(nIDEvent);
}

HBRUSH CGalleryPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hBrush = CBDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC && m_bOpaqueLabels) {
        pDC->SetBkColor(RGB(255, 255, 255));
        return m_brLabel;
    }
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return hBrush;
}
