#pragma once
// The stand-in for kernel32's GetTickCount64 that the shipped binaries link
// (TickCount64.cpp); its wrap rule is open here for the tests.
#include <windows.h>

namespace runtime {

// The 64-bit count that follows the last one when GetTickCount reads now: a
// reading below the last count's low half has wrapped past 2^32 ms.
ULONGLONG ExtendTickCount(ULONGLONG last, DWORD now);

} // namespace runtime
