#pragma once
#include <windows.h>
#include <string>

#include "CString.h"

// 8-bit text in the ANSI code page and UTF-16, both ways; NULL gives an empty text.
std::wstring AnsiToWide(LPCSTR lpszText);
CString WideToAnsi(LPCWSTR lpszText);
