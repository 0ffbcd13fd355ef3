#pragma once
#include "CDC.h"

class CWnd;

// The client-area DC of a window (the screen's for NULL), released when it goes.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};
