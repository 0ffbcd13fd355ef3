#include "TestDialog.h"
#include <cstdio>

namespace {
const UINT WM_RUN_BODY = WM_APP + 100;
const UINT WM_END_TEST = WM_APP + 101;
}

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
    ON_MESSAGE(WM_RUN_BODY, OnRunBody)
    ON_MESSAGE(WM_END_TEST, OnEndTest)
END_MESSAGE_MAP()

BOOL CTestDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    PostMessage(WM_RUN_BODY);
    return TRUE;
}

LRESULT CTestDialog::OnRunBody(WPARAM, LPARAM)
{
    UpdateWindow();
    m_body(*this);
    // Posted, so that whatever the body queued passes the modal loop first.
    PostMessage(WM_END_TEST);
    return 0;
}

LRESULT CTestDialog::OnEndTest(WPARAM, LPARAM)
{
    EndDialog(IDOK);
    return 0;
}

void CTestDialog::Pump(DWORD dwMilliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(m_hWnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (dwMilliseconds)
            Sleep(5);
    } while (GetTickCount() - start < dwMilliseconds);
}

CPixels::CPixels(int cx, int cy, COLORREF crFill) : m_cx(cx), m_cy(cy), m_pBits(nullptr)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    m_hDC = CreateCompatibleDC(nullptr);
    void* pBits = nullptr;
    m_hBitmap = CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    m_pBits = static_cast<DWORD*>(pBits);
    m_hOld = SelectObject(m_hDC, m_hBitmap);
    HBRUSH hBrush = CreateSolidBrush(crFill);
    RECT rc = {0, 0, cx, cy};
    FillRect(m_hDC, &rc, hBrush);
    DeleteObject(hBrush);
}

CPixels::~CPixels()
{
    SelectObject(m_hDC, m_hOld);
    DeleteObject(m_hBitmap);
    DeleteDC(m_hDC);
}

COLORREF CPixels::At(int x, int y) const
{
    GdiFlush();
    const DWORD px = m_pBits[y * m_cx + x];
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

int CPixels::Count(const RECT& rc, COLORREF cr) const
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            n += At(x, y) == cr;
    return n;
}

CLinkScript::CLinkScript(const std::string& name)
{
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, dir);
    m_script = std::string(dir) + "\\" + name + ".bat";
    m_marker = std::string(dir) + "\\" + name + "_opened.txt";
    DeleteFileA(m_marker.c_str());
    if (FILE* f = fopen(m_script.c_str(), "w")) {
        fprintf(f, "@echo opened> \"%s\"\r\n", m_marker.c_str());
        fclose(f);
    }
}

CLinkScript::~CLinkScript()
{
    DeleteFileA(m_marker.c_str());
    DeleteFileA(m_script.c_str());
}

bool CLinkScript::WaitOpened(CTestDialog& dlg) const
{
    for (int i = 0; i < 100 && GetFileAttributesA(m_marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        dlg.Pump(100);
    return GetFileAttributesA(m_marker.c_str()) != INVALID_FILE_ATTRIBUTES;
}
