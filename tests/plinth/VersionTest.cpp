// GetVers on libraries that the build gives version resources, and the order
// of version texts.
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Vers(const std::string& path)
{
    char text[1024];
    std::memset(text, 'x', sizeof text);
    GetVers(path.empty() ? nullptr : path.c_str(), text);
    return text;
}

// The local last-write date as the version text's last three parts.
std::string DateParts(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attr;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attr))
        return "?";
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&attr.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &st);
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u", st.wYear, st.wMonth, st.wDay);
    return text;
}

TEST(Versions, GetVersGivesTheFileVersionThenTheFileDate)
{
    std::string low = plinthtest::ProgramDirectory() + "\\plinth_ver_low.dll";
    std::string high = plinthtest::ProgramDirectory() + "\\plinth_ver_high.dll";
    EXPECT_EQ("1.2.3.4." + DateParts(low), Vers(low));
    EXPECT_EQ("1.2.10.0." + DateParts(high), Vers(high));
    EXPECT_EQ(Vers(low), Vers(plinthtest::ProgramDirectory() + "\\PLINTH_VER_LOW.DLL"));  // names without regard to case
    // A newer date alone makes the same file version newer.
    plinthtest::TempDir dir("vers");
    std::string copy = dir / "copy.dll";
    ASSERT_TRUE(CopyFileA(low.c_str(), copy.c_str(), FALSE));
    FILETIME old;
    SYSTEMTIME st = {2020, 6, 0, 15, 12, 0, 0, 0};
    SystemTimeToFileTime(&st, &old);
    HANDLE h = CreateFileA(copy.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    SetFileTime(h, nullptr, nullptr, &old);
    CloseHandle(h);
    EXPECT_EQ("1.2.3.4.2020.6.15", Vers(copy));
    EXPECT_LT(JudgeVersion(Vers(copy).c_str(), Vers(low).c_str()), 0);
    EXPECT_LT(JudgeVersion(Vers(low).c_str(), Vers(high).c_str()), 0);
    EXPECT_GT(JudgeVersion(Vers(high).c_str(), Vers(low).c_str()), 0);
}

TEST(Versions, UnversionedAndMissingFilesGiveSevenZeros)
{
    plinthtest::TempDir dir("vers");
    ASSERT_TRUE(plinthtest::WriteFileBytes(dir / "data.cfg", "[x]\r\n"));
    EXPECT_EQ("0.0.0.0.0.0.0", Vers(dir / "data.cfg"));
    EXPECT_EQ("0.0.0.0.0.0.0", Vers(dir / "missing.dll"));
    // An image signature without an image behind it, a file too short for a
    // header, and a directory.
    ASSERT_TRUE(plinthtest::WriteFileBytes(dir / "fake.dll", "MZ" + std::string(400, '\x01')));
    EXPECT_EQ("0.0.0.0.0.0.0", Vers(dir / "fake.dll"));
    ASSERT_TRUE(plinthtest::WriteFileBytes(dir / "short.dll", "MZ"));
    EXPECT_EQ("0.0.0.0.0.0.0", Vers(dir / "short.dll"));
    ASSERT_TRUE(CreateDirectoryA((dir / "folder.dll").c_str(), nullptr));
    EXPECT_EQ("0.0.0.0.0.0.0", Vers(dir / "folder.dll"));
    EXPECT_EQ(0, GetVers((dir / "data.cfg").c_str(), std::string(1024, 'x').data()));
    EXPECT_EQ(-1, GetVers((dir / "missing.dll").c_str(), nullptr));
}

TEST(Versions, ANullPathGivesTheLibrarysOwnVersion)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string own = Vers("");
    EXPECT_EQ(0u, own.find(PLINTH_VERSION_TEXT ".")) << own;
    EXPECT_EQ(own, Vers(std::string(system) + "\\Plinth.dll"));
    char dllVer[512];
    EXPECT_EQ(1, GetDllVer(dllVer));
    EXPECT_EQ(own, dllVer);
}

TEST(Versions, JudgeVersionComparesPartByPartAsNumbers)
{
    EXPECT_LT(JudgeVersion("1.2.9", "1.2.10"), 0);
    EXPECT_GT(JudgeVersion("2.0", "1.99.99"), 0);
    EXPECT_EQ(0, JudgeVersion("1.2", "1.2.0.0.0.0.0"));
    EXPECT_EQ(0, JudgeVersion("1.x.3", "1.0.3")); // a part without digits counts as 0
    EXPECT_LT(JudgeVersion("0.0.0.0.0.0.0", "1.0.0.0.2026.1.1"), 0);
    EXPECT_EQ(0, JudgeVersion("", "0"));
    EXPECT_EQ(0, JudgeVersion(nullptr, "0.0"));
    EXPECT_GT(JudgeVersion("1.0.0.0.2026.12.9", "1.0.0.0.2026.12.8"), 0);
}

} // namespace
