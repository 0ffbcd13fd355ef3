#pragma once
#include "GalleryPage.h"
#include "MyRunIcon.h"
#include "ShowcaseButton.h"

// The image button in each of its states, over the tiled background.
class CButtonsPage : public CGalleryPage {
public:
    explicit CButtonsPage(LPCSTR lpszShotPath);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    enum { FIRST_BUTTON = 1001, BUTTON_COUNT = 17 };
    CShowcaseButton& Button(UINT nID) { return m_buttons[nID - FIRST_BUTTON]; }

    CShowcaseButton m_buttons[BUTTON_COUNT];
    CMyRunIcon m_runIcon;
};
