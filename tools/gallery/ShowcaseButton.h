#pragma once
#include "ImageButton.h"

// An image button that can be shown hovered without the mouse over it.
class CShowcaseButton : public CImageButton {
public:
    void ShowHovered()
    {
        m_bHover = TRUE;
        Invalidate(TRUE);
    }
};
