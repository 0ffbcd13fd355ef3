// The stand-in for GetTickCount64 that the shipped binaries link instead of
// kernel32's import.
#include <gtest/gtest.h>

#include "TickCount64.h"

// Declared here: the headers keep it from programs built for XP. The call
// goes through the import slot that the stand-in defines.
extern "C" __declspec(dllimport) ULONGLONG WINAPI GetTickCount64();

namespace {

TEST(TickCount64, ExtendsTheThirtyTwoBitCountAcrossItsWraps)
{
    const struct {
        ULONGLONG last;
        DWORD now;
        ULONGLONG next;
    } cases[] = {
        {0, 0, 0},
        {0, 5000, 5000},
        {0xFFFFFFF0ull, 0xFFFFFFF0ul, 0xFFFFFFF0ull},
        {0xFFFFFFF0ull, 0x10, 0x100000010ull},
        {0x100000010ull, 0x20, 0x100000020ull},
        {0x2FFFFFFFFull, 0, 0x300000000ull},
        {0x2FFFFFFFFull, 0xFFFFFFFFul, 0x2FFFFFFFFull},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runtime::ExtendTickCount(c.last, c.now), c.next) << std::hex << c.last << " then " << c.now;
}

TEST(TickCount64, TheImportSlotAnswersTheSystemsCount)
{
    const DWORD before = GetTickCount();
    const ULONGLONG count = GetTickCount64();
    const DWORD after = GetTickCount();
    // Its low half lies between the two 32-bit readings.
    EXPECT_LE(static_cast<DWORD>(count) - before, after - before);
    Sleep(50);
    EXPECT_GE(GetTickCount64() - count, 40u);
}

} // namespace
