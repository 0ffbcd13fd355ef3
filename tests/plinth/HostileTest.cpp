// Hostile packages: each is refused with a negative answer before anything is
// written, nothing escapes the library, and the tool's process ends normally.
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"
#include "TestZip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using plinthtest::CountEntries;
using plinthtest::ReadFileBytes;
using plinthtest::TempDir;
using plinthtest::WriteFileBytes;

namespace {

testzip::Entry Stored(const std::string& name, const std::string& data)
{
    testzip::Entry e;
    e.name = name;
    e.data = data;
    return e;
}

void Put(std::string& s, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A package of count tiny entries, all of one empty file "a" (the directory
// fills the file), with ZIP64 end records.
bool WriteTinyEntries(const std::string& path, std::uint64_t count)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = h != INVALID_HANDLE_VALUE;
    auto write = [&](const std::string& bytes) {
        DWORD n = 0;
        ok = ok && WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size();
    };
    std::string local;
    Put(local, 0x04034b50, 4);
    Put(local, 20, 2);
    local.append(20, '\0'); // flags, method, time, date, CRC-32 and sizes
    Put(local, 1, 2);  // the name's length
    Put(local, 0, 2);
    write(local + "a");
    std::string record;
    Put(record, 0x02014b50, 4);
    Put(record, 20, 2);
    Put(record, 20, 2);
    record.append(20, '\0');
    Put(record, 1, 2);
    Put(record, 0, 8); // extra, comment, disk, internal attributes
    Put(record, 0x20, 4);
    Put(record, 0, 4); // the local header's offset
    record += "a";
    std::string chunk;
    for (int i = 0; i < 20000; ++i)
        chunk += record;
    for (std::uint64_t left = count; left > 0 && ok;) {
        std::uint64_t n = std::min<std::uint64_t>(left, 20000);
        write(chunk.substr(0, static_cast<std::size_t>(n) * record.size()));
        left -= n;
    }
    const std::uint64_t cdOffset = local.size() + 1, cdSize = count * record.size();
    std::string end;
    Put(end, 0x06064b50, 4);
    Put(end, 44, 8);
    Put(end, 45, 2);
    Put(end, 45, 2);
    Put(end, 0, 8); // this disk, the directory's disk
    Put(end, count, 8);
    Put(end, count, 8);
    Put(end, cdSize, 8);
    Put(end, cdOffset, 8);
    Put(end, 0x07064b50, 4);
    Put(end, 0, 4);
    Put(end, cdOffset + cdSize, 8); // where the ZIP64 end record is
    Put(end, 1, 4);
    Put(end, 0x06054b50, 4);
    Put(end, 0, 4);
    Put(end, 0xFFFFFFFF, 4);
    Put(end, 0xFFFFFFFFFFFFFFFF, 8);
    Put(end, 0, 2);
    write(end);
    return CloseHandle(h) && ok;
}

// The short name that the file system gives a long name, as a file of that
// name in dir shows it.
std::string ShortNameOf(const std::string& dir, const std::string& longName)
{
    std::string path = dir + "\\" + longName;
    WriteFileBytes(path, "x");
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    DeleteFileA(path.c_str());
    std::string result = shortPath;
    return result.substr(result.rfind('\\') + 1);
}

// count stored entries of a few bytes; the last is encrypted, so that the
// package is refused once its whole directory has been read.
std::string ManyEntries(int count)
{
    std::vector<testzip::Entry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        entries.push_back(Stored("f" + std::to_string(100000 + i) + ".dat", "data"));
    entries.back().flags = 0x0001;
    return testzip::Build(entries);
}

struct Hostile {
    const char* label;
    std::function<bool(const std::string& package, const std::string& scratch)> write;
    int answer;
};

void PrintTo(const Hostile& hostile, std::ostream* out)
{
    *out << hostile.label;
}

Hostile Bytes(const char* label, std::function<std::string()> make, int answer)
{
    return Hostile{label, [make](const std::string& package, const std::string&) { return WriteFileBytes(package, make()); },
                   answer};
}

// A package and its target in a scratch directory; nothing may appear
// beside them, nor in the target.
class HostilePackages : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostilePackages, AreRefusedBeforeAnythingIsWritten)
{
    TempDir dir("hostile");
    std::string package = dir / "update.tv2bck", target = dir / "TAVIBACKTmp";
    CreateDirectoryA(target.c_str(), nullptr);
    ASSERT_TRUE(GetParam().write(package, dir.Path()));
    EXPECT_EQ(GetParam().answer, UnCompressFile(package.c_str(), target.c_str()));
    EXPECT_EQ(2, CountEntries(dir.Path()));
    EXPECT_EQ(0, CountEntries(target));
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostilePackages,
    ::testing::Values(
        Bytes("a directory that claims more entries than its size holds",
              [] {
                  std::string zip = testzip::Build({Stored("a.txt", "a"), Stored("b.txt", "b")});
                  std::size_t end = zip.size() - 22;
                  zip[end + 8] = zip[end + 10] = 100; // 100 entries in 2 records
                  return zip;
              },
              -2),
        Hostile{"a ZIP64 directory of four million tiny entries",
                [](const std::string& package, const std::string&) { return WriteTinyEntries(package, 4000000); }, -2},
        Bytes("sizes whose sum overflows 64 bits",
              [] {
                  std::vector<testzip::Entry> entries = {Stored("a.dat", "a"), Stored("b.dat", "b"),
                                                         Stored("c.dat", "ccc")};
                  for (int i = 0; i < 2; ++i) {
                      entries[i].deflate = true;
                      entries[i].recordedSize = 0x7FFFFFFFFFFFFFFF; // the sum wraps round to 1
                  }
                  return testzip::Build(entries);
              },
              -7),
        Bytes("a Windows short name of another entry",
              [] { return testzip::Build({Stored("abcdefghij.txt", "long"), Stored("ABCDEF~1.TXT", "short")}); },
              -4),
        Hostile{"the file system's own short name of another entry",
                [](const std::string& package, const std::string& scratch) {
                    std::string alias = ShortNameOf(scratch, "abcdefghij.txt");
                    return alias != "abcdefghij.txt" &&
                           WriteFileBytes(package, testzip::Build({Stored(alias, "alias"),
                                                                   Stored("abcdefghij.txt", "long")}));
                },
                -4},
        Bytes("a symbolic link",
              [] {
                  testzip::Entry link = Stored("link.dll", "C:\\Windows\\System32\\kernel32.dll");
                  link.madeBy = (3 << 8) | 30;
                  link.externalAttr = 0120777u << 16;
                  return testzip::Build({Stored("a.txt", "a"), link});
              },
              -3)));

TEST(HostileMemory, TheDirectoryTakesAFewMegabytesPer10000Entries)
{
    TempDir dir("entries");
    std::string package = dir / "many.tv2bck";
    ASSERT_TRUE(WriteFileBytes(package, ManyEntries(60000)));
    std::string output;
    EXPECT_EQ(1, plinthtest::RunProgram("plinth_unpack.exe \"" + package + "\" \"" + (dir / "out") + "\"", &output));
    EXPECT_NE(std::string::npos, output.find("UnCompressFile: -6")) << output;
    std::size_t at = output.find("peak working set growth: ");
    ASSERT_NE(std::string::npos, at) << output;
    int kilobytes = std::atoi(output.c_str() + at + 25);
    EXPECT_LT(kilobytes, 24 * 1024) << "60,000 entries took " << kilobytes << " KB";
}

TEST(HostileMemory, UnCompressFileAnswersWhenMemoryRunsOut)
{
    TempDir dir("no-memory");
    std::string package = dir / "many.tv2bck", target = dir / "out";
    ASSERT_TRUE(WriteFileBytes(package, ManyEntries(60000)));
    // Only holes of 1 MB are left in the address space, and the list of
    // 60,000 entries needs one block of several MB.
    std::vector<void*> chunks;
    chunks.reserve(4096);
    while (void* chunk = VirtualAlloc(nullptr, 1u << 20, MEM_RESERVE, PAGE_NOACCESS))
        chunks.push_back(chunk);
    std::sort(chunks.begin(), chunks.end());
    for (std::size_t i = 0; i < chunks.size(); i += 4)
        VirtualFree(chunks[i], 0, MEM_RELEASE);
    int answer = UnCompressFile(package.c_str(), target.c_str());
    for (std::size_t i = 0; i < chunks.size(); ++i)
        if (i % 4 != 0)
            VirtualFree(chunks[i], 0, MEM_RELEASE);
    EXPECT_EQ(-16, answer);
    EXPECT_FALSE(plinthtest::FileExists(target));
}

// TAVIUpdata.exe, a whole command-line run: the package that once ended the
// tool (exit code 3) is refused by the library (exit code 2, its status text
// "解压数据出现异常,请重试!"), and a writer's package installs.
TEST(HostileRun, TheToolEndsNormallyAndThenInstallsAWritersPackage)
{
    const std::string root = "D:\\plinth-writers", packages = root + "\\pkg";
    plinthtest::RemoveTree(root);
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(packages.c_str(), nullptr);
    const std::string staging = packages + "\\TAVIBACKTmp";

    ASSERT_TRUE(WriteTinyEntries(packages + "\\hostile.tv2bck", 4000000));
    EXPECT_EQ(2, plinthtest::RunProgram("TAVIUpdata.exe \"" + packages + "\\hostile.tv2bck\" 1 1"));
    EXPECT_EQ(0, CountEntries(staging));

    std::string writers = ReadFileBytes(plinthtest::ProgramDirectory() + "\\writers\\python-pipe.zip");
    ASSERT_TRUE(WriteFileBytes(packages + "\\writers.tv2bck", writers));
    EXPECT_EQ(0, plinthtest::RunProgram("TAVIUpdata.exe \"" + packages + "\\writers.tv2bck\" 1 1"));
    EXPECT_EQ("hello", ReadFileBytes(root + "\\Data\\a.txt"));
    EXPECT_EQ("\xE4\xB8\xAD\xE6\x96\x87\xE5\x86\x85\xE5\xAE\xB9", ReadFileBytes(root + "\\Data\\\xBC\xEC\xB2\xE2\xCF\xDF.txt"));
    EXPECT_FALSE(ReadFileBytes(root + "\\log.txt").empty());
    EXPECT_FALSE(plinthtest::FileExists(staging));
    plinthtest::RemoveTree(root);
}

} // namespace
