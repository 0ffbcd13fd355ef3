#pragma once
#include "GalleryPage.h"

// The bitmap dialog in one of its three background modes.
class CBackgroundPage : public CGalleryPage {
public:
    CBackgroundPage(int nMode, LPCSTR lpszShotPath);

protected:
    BOOL OnInitDialog() override;

private:
    int m_nMode;
};
