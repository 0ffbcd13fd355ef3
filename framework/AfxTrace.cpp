#include "AfxTrace.h"
#include <windows.h>
#include <cstdarg>
#include <cstdio>
#include <vector>

void AfxTrace(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n >= 0) {
        std::vector<char> text(static_cast<size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), pszFormat, args);
        ::OutputDebugStringA(text.data());
    }
    va_end(args);
}
