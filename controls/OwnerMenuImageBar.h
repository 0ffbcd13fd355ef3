#pragma once
#include "CToolBar.h"

// A hidden toolbar that loads a toolbar resource for the owner-drawn menus
// and tells them the size of its button images.
class COwnerMenuImageBar : public CToolBar {
public:
    int GetImageWidth() const { return m_sizeImage.cx; }
    int GetImageHeight() const { return m_sizeImage.cy; }
};
