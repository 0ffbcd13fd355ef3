#pragma once
#include "GalleryPage.h"
#include "ShowcaseButton.h"

// An image button with its owner-drawn menu dropped down, in the classic or
// the XP style: pictures from a toolbar, greyed items, check marks, a radio
// item, accelerators and a submenu, one item highlighted.
class CMenuPage : public CGalleryPage {
public:
    CMenuPage(int nDrawMode, LPCSTR lpszShotPath);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR nIDEvent);

private:
    enum { TIMER_DROP = 2, TIMER_HIGHLIGHT = 3, DROP_DELAY_MS = 300 };
    int m_nDrawMode;
    CShowcaseButton m_button;
    CBitmap m_bmpRadio;

    DECLARE_MESSAGE_MAP()
};
