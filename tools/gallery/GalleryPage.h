#pragma once
#include "BDialog.h"

// A page of the gallery. Given a file name, it saves a picture of itself
// there once it has shown for a while, and closes; without one it stays.
class CGalleryPage : public CBDialog {
public:
    CGalleryPage(UINT nIDTemplate, LPCSTR lpszShotPath);

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR nIDEvent);
    // The labels show the background through them, or sit on white where it is busy.
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    enum { TIMER_SHOT = 1, SHOT_DELAY_MS = 1500 };
    CString m_strShotPath;
    BOOL m_bOpaqueLabels = FALSE;
    CBrush m_brLabel{RGB(255, 255, 255)};

    DECLARE_MESSAGE_MAP()
};
