#pragma once
#include <windows.h>

// Saves what the screen shows of a window, frame and caption included, as a 24-bit BMP file.
BOOL SaveWindowShot(HWND hWnd, LPCSTR lpszPath);
