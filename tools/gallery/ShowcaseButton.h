#pragma once
#include "ImageButton.h"

// An image button that can be shown hovered without the mouse over it, and
// that lets its drop-down menu be reached.
class CShowcaseButton : public CImageButton {
public:
    COwnerMenu& GetDropMenu() { return m_dropMenu; }
    void ShowHovered()
    {
        m_bHover = TRUE;
        Invalidate(TRUE);
    }
};
