#pragma once
#include "CDialog.h"
#include <functional>
#include <string>

// A modal dialog of the test template that runs a test body once its
// message loop is running, then closes.
class CTestDialog : public CDialog {
public:
    typedef std::function<void(CTestDialog&)> Body;

    CTestDialog(UINT nIDTemplate, Body body) : CDialog(nIDTemplate), m_body(std::move(body)) {}
    // Runs the body inside DoModal; what DoModal answered.
    INT_PTR Run() { return DoModal(); }

    // Dispatches what is queued (for a while, if asked), as the modal loop does.
    void Pump(DWORD dwMilliseconds = 0);

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnRunBody(WPARAM, LPARAM);
    LRESULT OnEndTest(WPARAM, LPARAM);

    Body m_body;

    DECLARE_MESSAGE_MAP()
};

// The client area of a window as it paints itself on WM_PRINTCLIENT (or
// through a DRAWITEMSTRUCT for owner-drawn buttons), in a 32-bit memory bitmap.
class CPixels {
public:
    CPixels(int cx, int cy, COLORREF crFill);
    ~CPixels();
    CPixels(const CPixels&) = delete;
    CPixels& operator=(const CPixels&) = delete;

    HDC GetDC() const { return m_hDC; }
    COLORREF At(int x, int y) const;
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // How many pixels of the rectangle have the colour.
    int Count(const RECT& rc, COLORREF cr) const;

private:
    int m_cx, m_cy;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits;
};

// A batch file in the current directory to give a button as its link:
// opened, it writes a marker file beside itself. Both files go with the object.
class CLinkScript {
public:
    explicit CLinkScript(const std::string& name);
    ~CLinkScript();
    CLinkScript(const CLinkScript&) = delete;
    CLinkScript& operator=(const CLinkScript&) = delete;

    const char* Path() const { return m_script.c_str(); }
    // Whether the marker appears within ten seconds, the dialog's messages dispatched meanwhile.
    bool WaitOpened(CTestDialog& dlg) const;

private:
    std::string m_script;
    std::string m_marker;
};
