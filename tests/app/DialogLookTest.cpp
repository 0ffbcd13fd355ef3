// What the main dialog shows and how it moves: the background bitmap behind
// the transparent statics, and a drag from any free spot.
#include "AppTest.h"

#include <cstdlib>
#include <vector>

namespace {

// 32-bit pixels, top-down rows.
struct Pixels {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<DWORD> data;
    DWORD At(int x, int y) const { return data[static_cast<size_t>(y) * nWidth + x]; }
};

Pixels ReadBitmap(HDC hdc, HBITMAP hBitmap, int nWidth, int nHeight)
{
    Pixels pixels;
    pixels.nWidth = nWidth;
    pixels.nHeight = nHeight;
    pixels.data.resize(static_cast<size_t>(nWidth) * nHeight);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = nWidth;
    bmi.bmiHeader.biHeight = -nHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    ::GetDIBits(hdc, hBitmap, 0, nHeight, pixels.data.data(), &bmi, DIB_RGB_COLORS);
    return pixels;
}

// The background bitmap, from the program's own resources.
Pixels BackgroundBitmap()
{
    Pixels pixels;
    HMODULE hExe = ::LoadLibraryExA((BinDirectory() + "TAVIUpdata.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!hExe)
        return pixels;
    HBITMAP hBitmap = static_cast<HBITMAP>(
        ::LoadImageA(hExe, MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (hBitmap) {
        BITMAP bm = {};
        ::GetObjectA(hBitmap, sizeof bm, &bm);
        HDC hdc = ::GetDC(nullptr);
        pixels = ReadBitmap(hdc, hBitmap, bm.bmWidth, bm.bmHeight);
        ::ReleaseDC(nullptr, hdc);
        ::DeleteObject(hBitmap);
    }
    ::FreeLibrary(hExe);
    return pixels;
}

// What the screen shows of the window's client area.
Pixels ScreenOfClient(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    POINT origin = {0, 0};
    ::ClientToScreen(hWnd, &origin);
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, rc.right, rc.bottom);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::BitBlt(hMem, 0, 0, rc.right, rc.bottom, hScreen, origin.x, origin.y, SRCCOPY);
    ::SelectObject(hMem, hOld);
    Pixels pixels = ReadBitmap(hMem, hBitmap, rc.right, rc.bottom);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return pixels;
}

bool SameColour(DWORD a, DWORD b)
{
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 6)
            return false;
    return true;
}

// The share of a control's client pixels that show the tiled bitmap at
// their place in the dialog.
double BackgroundShare(HWND hMain, int nID, const Pixels& screen, const Pixels& background)
{
    HWND hControl = ::GetDlgItem(hMain, nID);
    RECT rc;
    ::GetClientRect(hControl, &rc);
    ::MapWindowPoints(hControl, hMain, reinterpret_cast<POINT*>(&rc), 2);
    int nSame = 0, nAll = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x, ++nAll)
            if (SameColour(screen.At(x, y), background.At(x % background.nWidth, y % background.nHeight)))
                ++nSame;
    return nAll ? static_cast<double>(nSame) / nAll : 0.0;
}

void SendMouse(DWORD dwFlags, int x = 0, int y = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = dwFlags;
    if (dwFlags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    ::SendInput(1, &input, sizeof input);
}

} // namespace

TEST_F(AppTest, VersionMakerAndPathLabelShowTheBackgroundBehindTheirText)
{
    const Pixels background = BackgroundBitmap();
    ASSERT_EQ(background.nWidth, 550);
    ASSERT_EQ(background.nHeight, 345);

    AppProcess app;
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ::SetForegroundWindow(hMain);
    ::Sleep(1500);  // painted, the version text set
    const Pixels screen = ScreenOfClient(hMain);

    for (int nID : {IDC_STC_VERSION, IDC_STC_MAKER, IDC_STC_PATH_LABEL})
        EXPECT_GT(BackgroundShare(hMain, nID, screen, background), 0.5) << "control " << nID;
    // The status text keeps its own background: the comparison tells them apart.
    EXPECT_LT(BackgroundShare(hMain, IDC_STC_STATUS, screen, background), 0.1);
}

TEST_F(AppTest, PressOnAFreeSpotDragsTheWindow)
{
    AppProcess app;
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ::SetForegroundWindow(hMain);
    ::Sleep(500);

    // Between the log pane and the status text nothing but the dialog itself.
    RECT rcLog, rcStatus, rcBefore;
    ::GetWindowRect(::GetDlgItem(hMain, IDC_EDT_LOG), &rcLog);
    ::GetWindowRect(::GetDlgItem(hMain, IDC_STC_STATUS), &rcStatus);
    ::GetWindowRect(hMain, &rcBefore);
    const int x = (rcLog.left + rcLog.right) / 2;
    const int y = (rcLog.bottom + rcStatus.top) / 2;
    ASSERT_GT(rcStatus.top - rcLog.bottom, 4);
    ASSERT_EQ(::WindowFromPoint(POINT{x, y}), hMain);

    SendMouse(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE, x, y);
    ::Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ::Sleep(200);
    for (int step = 1; step <= 8; ++step) {
        SendMouse(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE, x + 10 * step, y + 5 * step);
        ::Sleep(50);
    }
    ::Sleep(200);
    SendMouse(MOUSEEVENTF_LEFTUP);

    RECT rcAfter;
    ASSERT_TRUE(WaitUntil(
        [&] {
            ::GetWindowRect(hMain, &rcAfter);
            return rcAfter.left != rcBefore.left || rcAfter.top != rcBefore.top;
        },
        3000));
    ::Sleep(200);
    ::GetWindowRect(hMain, &rcAfter);
    EXPECT_NEAR(rcAfter.left - rcBefore.left, 80, 3);
    EXPECT_NEAR(rcAfter.top - rcBefore.top, 40, 3);
}
