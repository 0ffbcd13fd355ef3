#include "WindowShot.h"
#include <cstdio>
#include <vector>

BOOL SaveWindowShot(HWND hWnd, LPCSTR lpszPath)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int stride = (w * 3 + 3) & ~3;

    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = w;
    bih.biHeight = h;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    bih.biSizeImage = static_cast<DWORD>(stride * h);
    std::vector<BYTE> bits(bih.biSizeImage);

    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, w, h);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::BitBlt(hMem, 0, 0, w, h, hScreen, rc.left, rc.top, SRCCOPY);
    ::SelectObject(hMem, hOld);
    const int lines = ::GetDIBits(hMem, hBitmap, 0, h, bits.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    if (lines != h)
        return FALSE;

    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;   // "BM"
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + bih.biSizeImage;
    FILE* f = std::fopen(lpszPath, "wb");
    if (!f)
        return FALSE;
    const bool ok = std::fwrite(&bfh, sizeof(bfh), 1, f) == 1 && std::fwrite(&bih, sizeof(bih), 1, f) == 1 &&
                    std::fwrite(bits.data(), bits.size(), 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}
