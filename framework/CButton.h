#pragma once
#include "CWnd.h"

// A button control. Owner-drawn buttons paint in DrawItem, which the parent's
// WM_DRAWITEM reaches by reflection.
class CButton : public CWnd {
public:
    UINT GetButtonStyle() const { return GetStyle() & 0xFF; }
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
