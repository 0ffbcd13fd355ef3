// UnCompressFile, GetUnCompressFileExCnt and CompressFile through the facade,
// on packages written by the tests' own ZIP writer.
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"
#include "TestZip.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <atomic>
#include <thread>
#include <vector>

using plinthtest::CountEntries;
using plinthtest::FileExists;
using plinthtest::ReadFileBytes;
using plinthtest::TempDir;
using plinthtest::WriteFileBytes;
using testzip::Entry;

namespace plinthtest {
extern int g_unpackPercentAtLoad;
}

namespace {

Entry Stored(const std::string& name, const std::string& data)
{
    Entry e;
    e.name = name;
    e.data = data;
    return e;
}

Entry Deflated(const std::string& name, const std::string& data)
{
    Entry e = Stored(name, data);
    e.deflate = true;
    return e;
}

std::string Text(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "line " + std::to_string(i) + " of the inspection station log\r\n";
    return text;
}

std::int64_t UnixTimeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attr;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attr))
        return -1;
    ULARGE_INTEGER u;
    u.LowPart = attr.ftLastWriteTime.dwLowDateTime;
    u.HighPart = attr.ftLastWriteTime.dwHighDateTime;
    return static_cast<std::int64_t>(u.QuadPart / 10000000ULL) - 11644473600LL;
}

// A package and a target directory inside a scratch directory, with a
// sentinel file beside the target: nothing may ever appear outside it.
class Unpack : public ::testing::Test {
protected:
    Unpack() : m_dir("unpack"), m_package(m_dir / "update.tv2bck"), m_target(m_dir / "TAVIBACKTmp")
    {
        CreateDirectoryA(m_target.c_str(), nullptr);
    }

    int Run(const std::vector<Entry>& entries)
    {
        EXPECT_TRUE(WriteFileBytes(m_package, testzip::Build(entries)));
        return UnCompressFile(m_package.c_str(), m_target.c_str());
    }

    // Only the package and the target beside each other; the target empty.
    void ExpectNothingWritten()
    {
        EXPECT_EQ(2, CountEntries(m_dir.Path()));
        EXPECT_EQ(0, CountEntries(m_target));
    }

    TempDir m_dir;
    std::string m_package;
    std::string m_target;
};

TEST(UnpackProgress, AnswersMinusOneBeforeTheFirstUnpack)
{
    EXPECT_EQ(-1, plinthtest::g_unpackPercentAtLoad);
}

TEST_F(Unpack, WritesStoredAndDeflatedEntriesWithTheirNames)
{
    std::string text = Text(5000);
    Entry utf8 = Stored(u8"检测线.txt", "utf-8 name");
    utf8.flags = 0x0800;
    std::vector<Entry> entries = {Stored("a.txt", "hello"), Deflated("log.txt", text), Stored("empty.dat", ""),
                                  Stored("\xBC\xEC\xB2\xE2.ini", "gbk name"), utf8};
    EXPECT_EQ(5, Run(entries));
    EXPECT_EQ("hello", ReadFileBytes(m_target + "\\a.txt"));
    EXPECT_EQ(text, ReadFileBytes(m_target + "\\log.txt"));
    EXPECT_TRUE(FileExists(m_target + "\\empty.dat"));
    EXPECT_EQ("", ReadFileBytes(m_target + "\\empty.dat"));
    // 检测.ini and 检测线.txt in GBK, the ANSI code page of the prefix.
    EXPECT_EQ("gbk name", ReadFileBytes(m_target + "\\\xBC\xEC\xB2\xE2.ini"));
    EXPECT_EQ("utf-8 name", ReadFileBytes(m_target + "\\\xBC\xEC\xB2\xE2\xCF\xDF.txt"));
    EXPECT_EQ(5, CountEntries(m_target));
    EXPECT_EQ(100, GetUnCompressFileExCnt());
}

TEST_F(Unpack, AnswersZeroForAPackageWithoutEntries)
{
    EXPECT_EQ(0, Run({}));
    ExpectNothingWritten();
}

TEST_F(Unpack, ReplacesFilesOfTheSameNameReadOnlyOnesToo)
{
    std::string old = m_target + "\\Plinth.dll";
    ASSERT_TRUE(WriteFileBytes(old, "old contents"));
    ASSERT_TRUE(SetFileAttributesA(old.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteFileBytes(m_target + "\\other.cfg", "stays"));
    ASSERT_TRUE(WriteFileBytes(m_target + "\\SETUP.INI", "old setup"));
    EXPECT_EQ(2, Run({Deflated("Plinth.dll", "new contents"), Stored("setup.ini", "new setup")}));
    EXPECT_EQ("new contents", ReadFileBytes(old));
    EXPECT_EQ("stays", ReadFileBytes(m_target + "\\other.cfg"));
    EXPECT_EQ("new setup", ReadFileBytes(m_target + "\\setup.ini"));
    EXPECT_EQ(3, CountEntries(m_target)); // the name in either case is one file
}

TEST_F(Unpack, RestoresModificationTimes)
{
    Entry withStamp = Stored("stamped.txt", "x");
    withStamp.unixTime = 1700000000; // 2023-11-14 22:13:20 UTC
    Entry dosOnly = Stored("dos.txt", "y");
    ASSERT_EQ(2, Run({withStamp, dosOnly}));
    EXPECT_EQ(1700000000, UnixTimeOf(m_target + "\\stamped.txt"));

    // The DOS time is local time: 2026-03-15 10:20:30.
    WIN32_FILE_ATTRIBUTE_DATA attr;
    ASSERT_TRUE(GetFileAttributesExA((m_target + "\\dos.txt").c_str(), GetFileExInfoStandard, &attr));
    SYSTEMTIME utc, local;
    FileTimeToSystemTime(&attr.ftLastWriteTime, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    EXPECT_EQ(2026, local.wYear);
    EXPECT_EQ(3, local.wMonth);
    EXPECT_EQ(15, local.wDay);
    EXPECT_EQ(10, local.wHour);
    EXPECT_EQ(20, local.wMinute);
    EXPECT_EQ(30, local.wSecond);
}

TEST_F(Unpack, RefusesPackagesThatCannotBeReadAsZip)
{
    EXPECT_EQ(-1, UnCompressFile((m_dir / "missing.tv2bck").c_str(), m_target.c_str()));
    EXPECT_EQ(-11, UnCompressFile(nullptr, m_target.c_str()));
    EXPECT_EQ(-11, UnCompressFile(m_package.c_str(), nullptr));

    ASSERT_TRUE(WriteFileBytes(m_package, std::string(5000, 'Z')));
    EXPECT_EQ(-2, UnCompressFile(m_package.c_str(), m_target.c_str()));

    // A package cut short loses its central directory.
    std::string whole = testzip::Build({Stored("a.txt", Text(100)), Stored("b.txt", "b")});
    ASSERT_TRUE(WriteFileBytes(m_package, whole.substr(0, whole.size() - 30)));
    EXPECT_EQ(-2, UnCompressFile(m_package.c_str(), m_target.c_str()));

    // A central directory that points at no local header.
    std::string bytes = testzip::Build({Stored("a.txt", "aaaa"), Stored("b.txt", "bbbb")});
    std::size_t second = bytes.find("PK\x03\x04", 4);
    ASSERT_NE(std::string::npos, second);
    bytes[second + 2] = 'X';
    ASSERT_TRUE(WriteFileBytes(m_package, bytes));
    EXPECT_EQ(-2, UnCompressFile(m_package.c_str(), m_target.c_str()));
    ExpectNothingWritten();
}

TEST_F(Unpack, RefusesEveryUnsafeNameWithoutWritingAnything)
{
    Entry directory = Stored("sub", "");
    directory.externalAttr = 0x10;
    Entry unixDirectory = Stored("bin", "");
    unixDirectory.madeBy = (3 << 8) | 30;
    unixDirectory.externalAttr = 040755u << 16;
    std::vector<Entry> unsafe = {Stored("sub/a.txt", "x"),  Stored("..\\a.txt", "x"), Stored("C:a.txt", "x"),
                                 Stored("a:stream", "x"),  Stored(".", "x"),         Stored("..", "x"),
                                 Stored("a\x01.txt", "x"), Stored("CON", "x"),       Stored("nul.txt", "x"),
                                 Stored("Com1.log", "x"),  Stored("LPT9", "x"),      Stored("aux .txt", "x"),
                                 Stored("dir/", ""),       Stored("", "x"),          Stored("a?.txt", "x"),
                                 Stored("trailing.", "x"), directory,                unixDirectory,
                                 Stored("CONIN$", "x"),    Stored("conout$.txt", "x"), Stored("Clock$", "x"),
                                 Stored("COM0", "x"),      Stored("lpt0.log", "x")};
    for (const Entry& bad : unsafe) {
        // A good entry first: the whole package is refused all the same.
        EXPECT_EQ(-3, Run({Stored("good.txt", "good"), bad})) << bad.name;
        ExpectNothingWritten();
    }
    // Bytes that are no valid UTF-8 although the name is flagged so.
    Entry badUtf8 = Stored("\xC3\x28.txt", "x");
    badUtf8.flags = 0x0800;
    EXPECT_EQ(-3, Run({badUtf8}));
    // Windows takes a superscript digit for a port number too.
    for (const char* superscript : {"COM\xC2\xB9", "lpt\xC2\xB2.txt", "COM\xC2\xB3"}) {
        Entry port = Stored(superscript, "x");
        port.flags = 0x0800;
        EXPECT_EQ(-3, Run({port})) << superscript;
    }
    // Names such as "COM10" or "console.txt" are fine.
    EXPECT_EQ(2, Run({Stored("COM10", "x"), Stored("console.txt", "y")}));
}

TEST_F(Unpack, RefusesDuplicateNamesMethodsEncryptionAndMissingSpace)
{
    EXPECT_EQ(-4, Run({Stored("Setup.ini", "1"), Stored("a.txt", "2"), Stored("SETUP.INI", "3")}));
    ExpectNothingWritten();

    Entry bzip2 = Stored("b.txt", "data");
    bzip2.method = 12;
    EXPECT_EQ(-5, Run({Stored("a.txt", "a"), bzip2}));
    ExpectNothingWritten();

    Entry encrypted = Stored("secret.txt", "data");
    encrypted.flags = 0x0001;
    EXPECT_EQ(-6, Run({Stored("a.txt", "a"), encrypted}));
    ExpectNothingWritten();

    // An entry that claims to unpack to a petabyte.
    Entry huge = Deflated("huge.dat", Text(10));
    huge.recordedSize = 1LL << 50;
    EXPECT_EQ(-7, Run({Stored("a.txt", "a"), huge}));
    ExpectNothingWritten();
}

TEST_F(Unpack, StopsAtDamagedDataKeepingTheFilesWrittenBefore)
{
    Entry badCrc = Stored("b.txt", "bbbb");
    badCrc.recordedCrc = 0x12345678;
    EXPECT_EQ(-8, Run({Stored("a.txt", "aaaa"), badCrc, Stored("c.txt", "cccc")}));
    EXPECT_EQ("aaaa", ReadFileBytes(m_target + "\\a.txt"));
    EXPECT_EQ(1, CountEntries(m_target)); // neither b.txt nor a temporary file
    EXPECT_LT(GetUnCompressFileExCnt(), 100);

    plinthtest::RemoveTree(m_target);
    CreateDirectoryA(m_target.c_str(), nullptr);
    Entry longer = Deflated("long.txt", Text(50));
    longer.recordedSize = static_cast<std::int64_t>(Text(50).size()) + 10;
    EXPECT_EQ(-9, Run({longer}));
    Entry shorter = Deflated("short.txt", Text(50));
    shorter.recordedSize = 100;
    EXPECT_EQ(-9, Run({shorter}));
    EXPECT_EQ(0, CountEntries(m_target));
    EXPECT_EQ(2, CountEntries(m_dir.Path()));
}

TEST_F(Unpack, AnswersWriteErrorWhenAFileIsHeldOpen)
{
    std::string held = m_target + "\\busy.exe";
    ASSERT_TRUE(WriteFileBytes(held, "running"));
    HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ(-10, Run({Stored("busy.exe", "new")}));
    CloseHandle(h);
    EXPECT_EQ("running", ReadFileBytes(held));
    EXPECT_EQ(1, CountEntries(m_target));
}

TEST_F(Unpack, ReportsProgressToAnotherThreadUpTo100)
{
    // 6 entries of 48 MB: long enough for a poll every few milliseconds.
    ASSERT_TRUE(testzip::WriteLarge(m_package, 6, 48ull << 20));
    // The counter keeps the last unpack's value until the next one resets
    // it, so the first polls may still see what an earlier test left.
    const int before = GetUnCompressFileExCnt();
    std::atomic<bool> done{false};
    std::vector<int> seen;
    std::thread poller([&] {
        while (!done.load()) {
            seen.push_back(GetUnCompressFileExCnt());
            Sleep(5);
        }
        seen.push_back(GetUnCompressFileExCnt());
    });
    int answer = UnCompressFile(m_package.c_str(), m_target.c_str());
    done.store(true);
    poller.join();
    EXPECT_EQ(6, answer);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(100, seen.back());
    std::size_t first = 0;
    while (first + 1 < seen.size() && seen[first] == before) {
        ++first;
    }
    bool between = false;
    for (std::size_t i = first; i < seen.size(); ++i) {
        EXPECT_GE(seen[i], 0);
        EXPECT_LE(seen[i], 100);
        if (i > first) {
            EXPECT_GE(seen[i], seen[i - 1]) << "progress went back at poll " << i;
        }
        between = between || (seen[i] > 0 && seen[i] < 100);
    }
    EXPECT_TRUE(between) << "no progress between 0 and 100 in " << seen.size() << " polls";
}

TEST_F(Unpack, UnpacksAPackageOver2GBInBoundedMemory)
{
    // Three stored entries of 800 MB: offsets and sizes past 2^31.
    const std::uint64_t size = 800ull << 20;
    ASSERT_TRUE(testzip::WriteLarge(m_package, 3, size));
    PROCESS_MEMORY_COUNTERS before = {}, after = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    EXPECT_EQ(3, UnCompressFile(m_package.c_str(), m_target.c_str()));
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    for (int i = 0; i < 3; ++i) {
        WIN32_FILE_ATTRIBUTE_DATA attr;
        ASSERT_TRUE(GetFileAttributesExA((m_target + "\\big" + std::to_string(i) + ".dat").c_str(),
                                         GetFileExInfoStandard, &attr));
        EXPECT_EQ(size, (static_cast<std::uint64_t>(attr.nFileSizeHigh) << 32) | attr.nFileSizeLow);
    }
    EXPECT_LT(after.PeakWorkingSetSize, before.PeakWorkingSetSize + (32u << 20))
        << "peak working set grew from " << before.PeakWorkingSetSize / 1024 << " KB to "
        << after.PeakWorkingSetSize / 1024 << " KB";
}

TEST_F(Unpack, CompressFileBuildsAPackageOfTheTopLevelFiles)
{
    TempDir source("source");
    ASSERT_TRUE(WriteFileBytes(source / "a.txt", Text(2000)));
    ASSERT_TRUE(WriteFileBytes(source / "\xCA\xFD\xBE\xDD.bin", std::string(70000, '\x7f'))); // 数据.bin
    CreateDirectoryA((source / "sub").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(source / "sub\\ignored.txt", "x"));

    EXPECT_EQ(2, CompressFile(source.Path().c_str(), m_package.c_str()));
    EXPECT_EQ(100, GetCompressFileExCnt());
    EXPECT_EQ(2, UnCompressFile(m_package.c_str(), m_target.c_str()));
    EXPECT_EQ(Text(2000), ReadFileBytes(m_target + "\\a.txt"));
    EXPECT_EQ(std::string(70000, '\x7f'), ReadFileBytes(m_target + "\\\xCA\xFD\xBE\xDD.bin"));
    EXPECT_EQ(UnixTimeOf(source / "a.txt"), UnixTimeOf(m_target + "\\a.txt"));

    EXPECT_EQ(2, CompressFileEx(source.Path().c_str(), (m_dir / "best.tv2bck").c_str()));
    EXPECT_EQ(-14, CompressFile((m_dir / "no-such-folder").c_str(), (m_dir / "x.tv2bck").c_str()));
    EXPECT_EQ(-10, CompressFile(source.Path().c_str(), (m_dir / std::string(600, 'p')).c_str()));
    EXPECT_FALSE(FileExists(m_dir / "x.tv2bck"));
}

} // namespace
