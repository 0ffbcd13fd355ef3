#pragma once
#include <cstdio>

// printf-style text to the debugger output (OutputDebugStringA).
void AfxTrace(const char* pszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
#define TRACE AfxTrace
