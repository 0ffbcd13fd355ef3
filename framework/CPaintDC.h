#pragma once
#include "CDC.h"

class CWnd;

// BeginPaint for its life, EndPaint when it goes.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};
