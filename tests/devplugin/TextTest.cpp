#include "DevPlugin.h"
#include "TextResources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

TEST(DevPluginText, LoadsAStringResourceOrNothing)
{
    EXPECT_STREQ(CDevPlugin::LoadText(IDS_SHORT_TEXT), "检测线 plug-in");
    EXPECT_STREQ(CDevPlugin::LoadCString(IDS_SHORT_TEXT), "检测线 plug-in");
    EXPECT_STREQ(CDevPlugin::LoadText(IDS_ABSENT), "");
    EXPECT_TRUE(CDevPlugin::LoadCString(IDS_ABSENT).IsEmpty());
}

TEST(DevPluginText, LoadTextCutsALongTextBeforeTheCharacterThatDoesNotFit)
{
    EXPECT_EQ(CDevPlugin::LoadCString(IDS_LONG_ASCII).GetLength(), 1200);
    EXPECT_EQ(std::string(CDevPlugin::LoadText(IDS_LONG_ASCII)), std::string(999, 'a'));

    // 499 whole double-byte characters; the 500th would need bytes 999 and 1000.
    std::string expected;
    for (int i = 0; i < 499; ++i)
        expected += "中";
    EXPECT_EQ(CDevPlugin::LoadCString(IDS_LONG_GBK).GetLength(), 1200);
    EXPECT_EQ(std::string(CDevPlugin::LoadText(IDS_LONG_GBK)), expected);
}

TEST(DevPluginText, ATextStaysWhileAnotherThreadLoadsOne)
{
    LPCSTR pszMine = CDevPlugin::LoadText(IDS_SHORT_TEXT);
    std::string other;
    std::thread([&] { other = CDevPlugin::LoadText(IDS_LONG_ASCII); }).join();
    EXPECT_EQ(other.size(), 999u);
    EXPECT_STREQ(pszMine, "检测线 plug-in");
}
