#pragma once
#include <windows.h>

#include "PlinthExports.h"

// Outputs that come without a size receive at most this many bytes,
// terminator included.
constexpr int PLINTH_TEXT_OUT = 500;

namespace plinth {
// Copies text into out (at most size bytes with the terminator); answers the
// length copied, or -2 (out left empty) when it does not fit.
int CopyOut(char* out, int size, const char* text, int length = -1);
// The next character of an ANSI (GBK) text: one byte, or two for a lead byte.
inline const char* NextChar(const char* p)
{
    if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0')
        return p + 2;
    return p + 1;
}
}
