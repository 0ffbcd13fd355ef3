// Fields, trimming, paths, dates, numbers and the registry helpers.
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

TEST(Fields, GetField2SplitsAPathAtBackslashes)
{
    const char* path = "D:\\TAVI\\System\\BIN\\";
    const char* expected[] = {"D:", "TAVI", "System", "BIN", ""};
    for (int i = 0; i < 5; ++i) {
        char out[40] = "junk";
        EXPECT_EQ(static_cast<int>(std::strlen(expected[i])), GetField2(path, out, i, '\\'));
        EXPECT_STREQ(expected[i], out) << i;
    }
    char out[40] = "junk";
    EXPECT_EQ(0, GetField2(path, out, 9, '\\'));
    EXPECT_STREQ("", out);
    EXPECT_EQ(-1, GetField2(nullptr, out, 0, '\\'));
    EXPECT_EQ(-1, GetField2(path, nullptr, 0, '\\'));
    EXPECT_EQ(3, GetField("a,bcd,e", out, 1));
    EXPECT_STREQ("bcd", out);
}

TEST(Fields, ASecondGbkByteThatLooksLikeABackslashDoesNotSplit)
{
    // 灏 is 0xE5 0x5C in GBK; the second byte is the backslash's.
    std::string path = "D:\\\xE5\x5C\\a.dll";
    char out[40] = {};
    EXPECT_EQ(2, GetField2(path.c_str(), out, 1, '\\'));
    EXPECT_STREQ("\xE5\x5C", out);
    EXPECT_EQ(5, GetField2(path.c_str(), out, 2, '\\'));
    char dir[512] = {};
    ParseFileExtNameEx(path.c_str(), nullptr, dir, nullptr, nullptr);
    EXPECT_EQ("D:\\\xE5\x5C", std::string(dir));
    char text[16] = "\xE5\x5C\\\\";
    EXPECT_EQ(2, TrimRight(text, '\\'));
    EXPECT_STREQ("\xE5\x5C", text);
}

TEST(Fields, TrimRemovesTheCharacterAtBothEnds)
{
    char text[32] = "  two words  ";
    EXPECT_EQ(1, Trim(text, ' '));
    EXPECT_STREQ("two words", text);
    char zeros[32] = "000120";
    EXPECT_EQ(3, TrimLeft(zeros, '0'));
    EXPECT_STREQ("120", zeros);
    char blank[32] = "\t x \r\n";
    EXPECT_EQ(3, TrimRight(blank, '\0')); // '\0' trims white space
    EXPECT_EQ(-1, TrimLeft(nullptr, ' '));
}

TEST(Paths, ParseFileExtNameExGivesTheDirectoryWithoutTrailingBackslash)
{
    char drive[512], dir[512], name[512], ext[512];
    EXPECT_EQ(1, ParseFileExtNameEx("D:\\a\\b.tv2bck", drive, dir, name, ext));
    EXPECT_STREQ("D:", drive);
    EXPECT_STREQ("D:\\a", dir);
    EXPECT_STREQ("b", name);
    EXPECT_STREQ(".tv2bck", ext);
    EXPECT_EQ(1, ParseFileExtNameEx("D:\\b.tv2bck", nullptr, dir, nullptr, nullptr));
    EXPECT_STREQ("D:", dir);
    EXPECT_EQ(1, ParseFileExtNameExA("D:\\a\\b.tv2bck", drive, dir, name, ext));
    EXPECT_STREQ("\\a\\", dir);
    EXPECT_EQ(1, ParseFileExtName("C:\\x\\setup.tar.gz", name, ext));
    EXPECT_STREQ("setup.tar", name);
    EXPECT_STREQ(".gz", ext);
    EXPECT_EQ(-1, ParseFileExtNameEx(nullptr, drive, dir, name, ext));

    // A part longer than 499 bytes leaves its output empty.
    std::string longPath = "D:\\" + std::string(600, 'x') + "\\f.txt";
    strcpy(dir, "junk");
    strcpy(name, "junk");
    EXPECT_LT(ParseFileExtNameEx(longPath.c_str(), nullptr, dir, name, nullptr), 0);
    EXPECT_STREQ("", dir);
    EXPECT_STREQ("f", name);

    char out[512];
    EXPECT_GT(ChangeFileExtName("D:\\a\\b.tv2bck", "cfg", out), 0);
    EXPECT_STREQ("D:\\a\\b.cfg", out);
}

TEST(Paths, MakeSurePathExistsCreatesTheWholeChain)
{
    plinthtest::TempDir dir("paths");
    std::string deep = dir / "one\\two\\three";
    EXPECT_EQ(0, TestPath(deep.c_str(), 0));
    EXPECT_EQ(1, MakeSurePathExistsACreate(deep.c_str()));
    EXPECT_EQ(1, TestPath(deep.c_str(), 0));
    EXPECT_EQ(1, TestPath((dir / "four\\five\\").c_str(), 1));
    EXPECT_TRUE(DirectoryExists(dir / "four\\five"));
}

TEST(Dates, DayArithmetic)
{
    EXPECT_EQ(1, GetAbsDays("0001-01-01"));
    EXPECT_EQ(GetAbsDays("2024-03-01") - 1, GetAbsDays("2024-02-29"));
    EXPECT_EQ(366, ComputeDaySpan("2024-01-01", "2025-01-01"));
    EXPECT_EQ(-1, ComputeDaySpan("2025-01-02", "2025/01/01"));
    EXPECT_EQ(INT_MIN, ComputeDaySpan("2025-02-30", "2025-01-01"));
    EXPECT_EQ(-1, GetAbsDays("yesterday"));

    DateYMD from = {2024, 28, 2, 0}, to = {};
    EXPECT_EQ(1, GetDateByTimeSpan(&from, 2, &to));
    EXPECT_EQ(2024, to.year);
    EXPECT_EQ(3, to.month);
    EXPECT_EQ(1, to.day);
    char out[100];
    EXPECT_EQ(1, GetDateStrByTimeSpan("2026-12-25", 10, out));
    EXPECT_STREQ("2027-01-04", out);
    EXPECT_EQ(1, GetDateStrByTimeSpan("2026-03-01", -1, out));
    EXPECT_STREQ("2026-02-28", out);
    DateYMD invalid = {2024, 31, 4, 0};
    EXPECT_EQ(0, GetDateByTimeSpan(&invalid, 1, &to));
}

TEST(Numbers, SmallHelpers)
{
    EXPECT_EQ(1, IsDigital("-12.5"));
    EXPECT_EQ(0, IsDigital("1.2.3"));
    EXPECT_EQ(0, IsDigital("12a"));
    char out[64];
    EXPECT_EQ(2, CnvIntData(255, out, 16));
    EXPECT_STREQ("FF", out);
    EXPECT_EQ(3, CnvIntData(-42, out, 10));
    EXPECT_STREQ("-42", out);
    int a = 0, b = 0, c = 0, d = 0;
    EXPECT_EQ(1, ParseIP("192.168.10.254", &a, &b, &c, &d));
    EXPECT_EQ(254, d);
    EXPECT_EQ(0, ParseIP("300.1.1.1", &a, &b, &c, &d));
    int values[] = {5, 1, 9, 3, 7}, median = 0;
    EXPECT_EQ(1, GetMidDat(values, 5, 0, 4, 0, &median));
    EXPECT_EQ(5, median);
    int avg[5];
    EXPECT_EQ(5, MakeAvgData(values, 5, 2, avg));
    EXPECT_EQ(3, avg[1]); // (5 + 1) / 2
    for (int i = 0; i < 100; ++i) {
        double r = GetRand(3, 7);
        EXPECT_GE(r, 3.0);
        EXPECT_LE(r, 7.0);
    }
    EXPECT_DOUBLE_EQ(15.0, Filter_1(20, 10, 50));
    EXPECT_EQ(1, IsSubID_int(120003));
    EXPECT_EQ(12, GetMainID(120003));
    EXPECT_EQ(12, GetMainIDIfSub(120003, 12));
    EXPECT_EQ(7, GetMainID(7));
    unsigned char packed[256];
    char unpacked[256];
    const char original[] = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaabbbbbbbbbbbbbbbbbbbbbbbbbbbbb";
    int n = DatCompressPro_PP(original, sizeof original, packed, sizeof packed, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(static_cast<int>(sizeof original), DatCompressPro_PP(packed, n, unpacked, sizeof unpacked, 1));
    EXPECT_STREQ(original, unpacked);
    EXPECT_EQ(-3, DatCompressPro_PP("garbage", 7, unpacked, sizeof unpacked, 1));
    char utf8[32] = "\xE6\xA3\x80\xE6\xB5\x8B"; // 检测 in UTF-8
    EXPECT_EQ(4, UTFDecode(utf8));
    EXPECT_STREQ("\xBC\xEC\xB2\xE2", utf8);
}

TEST(Registry, KeysAndValuesRoundTrip)
{
    const char* key = "Software\\TAVI\\PlinthTest";
    DeleteKey(HKEY_CURRENT_USER, key);
    EXPECT_EQ(1, CreateNewKey(HKEY_CURRENT_USER, key));
    EXPECT_EQ(1, SetValueKeyString(HKEY_CURRENT_USER, key, "Station", "\xBC\xEC\xB2\xE2\xCF\xDF 3"));
    EXPECT_EQ(1, SetValueKeyLong(HKEY_CURRENT_USER, key, "Line", 42));
    char text[512] = {};
    int value = 0;
    EXPECT_EQ(1, GetQueryValueS(HKEY_CURRENT_USER, key, "Station", text));
    EXPECT_STREQ("\xBC\xEC\xB2\xE2\xCF\xDF 3", text);
    EXPECT_EQ(1, GetQueryValueL(HKEY_CURRENT_USER, key, "Line", &value));
    EXPECT_EQ(42, value);
    EXPECT_EQ(1, DeleteValue(HKEY_CURRENT_USER, key, "Line"));
    EXPECT_LT(GetQueryValueL(HKEY_CURRENT_USER, key, "Line", &value), 0);
    EXPECT_EQ(1, DeleteKey(HKEY_CURRENT_USER, key));
    EXPECT_LT(GetQueryValueS(HKEY_CURRENT_USER, key, "Station", text), 0);
}

// Each read takes only its own type, whole: a REG_DWORD of four bytes, or a
// REG_SZ (a REG_EXPAND_SZ expanded) of at most 499 bytes.
TEST(Registry, ReadsTakeTheirOwnTypeWritesCreateTheKeyDeletesTakeTheTree)
{
    const char* key = "Software\\TAVI\\PlinthTypes";
    DeleteKey(HKEY_CURRENT_USER, key);
    ASSERT_EQ(1, SetValueKeyLong(HKEY_CURRENT_USER, "Software\\TAVI\\PlinthTypes\\Deep\\Er", "Long", 7));
    ASSERT_EQ(1, SetValueKeyString(HKEY_CURRENT_USER, key, "Text", "text"));
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &hKey));
    auto put = [hKey](const char* name, DWORD type, const void* data, size_t size) {
        RegSetValueExA(hKey, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    };
    const DWORD four = 9;
    const WORD two = 9;
    // TAVI_REG_TEST is 7 characters: 497 expanded fit, 502 do not, whatever the stored length.
    const std::string fits(499, 'x'), tooLong(500, 'x'), expand = "%TAVI_REG_TEST%\\bin",
                      longFitsExpanded = "%TAVI_REG_TEST%" + std::string(490, 'x'),
                      tooLongExpanded = "%TAVI_REG_TEST%" + std::string(495, 'x');
    put("Binary4", REG_BINARY, &four, sizeof four);
    put("ShortDword", REG_DWORD, &two, sizeof two);
    put("NoTerminator", REG_SZ, "abc", 3);
    put("Expand", REG_EXPAND_SZ, expand.c_str(), expand.size() + 1);
    put("Multi", REG_MULTI_SZ, "a\0b\0", 5);
    put("Fits", REG_SZ, fits.c_str(), fits.size() + 1);
    put("TooLong", REG_SZ, tooLong.c_str(), tooLong.size() + 1);
    put("LongFitsExpanded", REG_EXPAND_SZ, longFitsExpanded.c_str(), longFitsExpanded.size() + 1);
    put("TooLongExpanded", REG_EXPAND_SZ, tooLongExpanded.c_str(), tooLongExpanded.size() + 1);
    RegCloseKey(hKey);
    SetEnvironmentVariableA("TAVI_REG_TEST", "C:\\TAVI");

    const struct {
        const char* name;
        int result;
        int value;
    } longs[] = {{"Binary4", -3, 0}, {"ShortDword", -3, 0}, {"Text", -3, 0}, {"Missing", -2, 0}};
    for (const auto& c : longs) {
        int value = 0;
        EXPECT_EQ(c.result, GetQueryValueL(HKEY_CURRENT_USER, key, c.name, &value)) << c.name;
        EXPECT_EQ(c.value, value) << c.name;
    }
    int value = 0;
    EXPECT_EQ(1, GetQueryValueL(HKEY_CURRENT_USER, "Software\\TAVI\\PlinthTypes\\Deep\\Er", "Long", &value));
    EXPECT_EQ(7, value);

    const struct {
        const char* name;
        int result;
        std::string text;
    } texts[] = {{"Text", 1, "text"},          {"NoTerminator", 1, "abc"},   {"Expand", 1, "C:\\TAVI\\bin"},
                 {"Fits", 1, fits},            {"TooLong", -4, ""},          {"TooLongExpanded", -4, ""},
                 {"LongFitsExpanded", 1, "C:\\TAVI" + std::string(490, 'x')},
                 {"Multi", -3, ""},            {"Binary4", -3, ""},          {"Missing", -2, ""}};
    for (const auto& c : texts) {
        char text[512] = "junk";
        EXPECT_EQ(c.result, GetQueryValueS(HKEY_CURRENT_USER, key, c.name, text)) << c.name;
        EXPECT_EQ(c.text, text) << c.name;
    }
    SetEnvironmentVariableA("TAVI_REG_TEST", nullptr);

    // The key goes with its subkeys; a second delete finds nothing.
    EXPECT_EQ(1, DeleteKey(HKEY_CURRENT_USER, key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &hKey));
    EXPECT_EQ(-2, DeleteKey(HKEY_CURRENT_USER, key));
}

} // namespace
