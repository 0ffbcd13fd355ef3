#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

// Sources are UTF-8; the programs must see Chinese literals as GBK bytes, the
// ANSI code page of the workstations.
TEST(Text, ChineseLiteralsReachTheBinaryAsGbk)
{
    const char* text = "宋体";
    const unsigned char expected[] = {0xCB, 0xCE, 0xCC, 0xE5, 0x00};
    ASSERT_EQ(std::strlen(text), 4u);
    EXPECT_EQ(std::memcmp(text, expected, sizeof expected), 0);
}

TEST(Text, TheAnsiCodePageIsGbk)
{
    EXPECT_EQ(GetACP(), 936u);
}

TEST(Platform, DriveDIsMappedForThePaths)
{
    char szDir[] = "D:\\";
    EXPECT_EQ(GetDriveTypeA(szDir), static_cast<UINT>(DRIVE_FIXED));
}
