#pragma once
#include "CDialog.h"

// A dialog that paints a bitmap as its background: repeated from the
// top-left corner, centred, or stretched over the client area.
class CBDialog : public CDialog {
public:
    enum { BG_TILE = 0, BG_CENTER = 1, BG_STRETCH = 2 };

    CBDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // 0, 1 or 2; anything else is ignored. Shows at the next erase.
    void SetBackgroundMode(int nMode);
    // From the application's resources; replaces the bitmap held. When the
    // load fails, the dialog has its plain background.
    void LoadBackgroundBitmap(UINT nIDBitmap);

protected:
    BOOL OnEraseBkgnd(CDC* pDC);

    CBitmap m_bmpBackground;
    int m_nBackgroundMode;

    DECLARE_MESSAGE_MAP()
};
