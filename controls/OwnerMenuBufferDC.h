#pragma once
#include "OffscreenDC.h"

// The off-screen DC that a menu item is painted in: drawing goes to a bitmap
// of the rectangle, which reaches the target in one copy when the object
// goes. A printing target is drawn on directly.
class COwnerMenuBufferDC : public COffscreenDC {
public:
    COwnerMenuBufferDC(CDC* pDC, const CRect& rc) : COffscreenDC(pDC, &rc) {}
};
