// Packages made by the common ZIP writers, through UnCompressFile: every one
// installs with the right names and bytes. make-writer-packages.sh writes the
// native writers' packages before the tests (fixture plinth_writer_packages);
// the Windows shell's compressed folders, which write names in the ANSI code
// page, are written here with the tests' own writer.
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"
#include "TestZip.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using plinthtest::ReadFileBytes;
using plinthtest::TempDir;

namespace {

const char kChinese[] = "\xBC\xEC\xB2\xE2\xCF\xDF.txt";                        // 检测线.txt in GBK
const char kChineseText[] = "\xE4\xB8\xAD\xE6\x96\x87\xE5\x86\x85\xE5\xAE\xB9"; // 中文内容 in UTF-8

std::string LogText()
{
    std::string text;
    for (int i = 1; i <= 5000; ++i)
        text += std::to_string(i) + "\n";
    return text;
}

// The package written here: names in the ANSI code page without the UTF-8
// flag, as the shell's compressed folders write them (host FAT, 0, or NTFS,
// 10) and a Unix system in a GBK locale (3), or with data descriptors that
// lack their signature.
std::string OwnPackage(std::uint16_t host, bool descriptors)
{
    std::vector<testzip::Entry> entries(4);
    const char* names[] = {"TAVIBK.cfg", "a.txt", kChinese, "log.txt"};
    const std::string data[] = {"[FILEPATH]\r\nPACKNAME=writers\r\n", "hello", kChineseText, LogText()};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].name = names[i];
        entries[i].data = data[i];
        entries[i].deflate = i == 3;
        entries[i].madeBy = static_cast<std::uint16_t>((host << 8) | 20);
        entries[i].descriptor = descriptors;
        entries[i].flags = descriptors ? 0x0008 : 0;
    }
    return testzip::Build(entries);
}

struct Writer {
    const char* label;
    const char* fixture; // a package in bin\writers, or null for one written here
    std::uint16_t host;
    bool descriptors;
};

void PrintTo(const Writer& writer, std::ostream* out)
{
    *out << writer.label;
}

class Writers : public ::testing::TestWithParam<Writer> {};

TEST_P(Writers, PackageInstallsWithTheRightNamesAndBytes)
{
    const Writer& writer = GetParam();
    TempDir dir("writers");
    std::string package = dir / "update.tv2bck";
    std::string bytes = writer.fixture
                            ? ReadFileBytes(plinthtest::ProgramDirectory() + "\\writers\\" + writer.fixture)
                            : OwnPackage(writer.host, writer.descriptors);
    ASSERT_FALSE(bytes.empty()) << "no package from " << writer.label;
    ASSERT_TRUE(plinthtest::WriteFileBytes(package, bytes));
    std::string target = dir / "TAVIBACKTmp";

    EXPECT_EQ(4, UnCompressFile(package.c_str(), target.c_str()));
    EXPECT_EQ(4, plinthtest::CountEntries(target));
    EXPECT_EQ("hello", ReadFileBytes(target + "\\a.txt"));
    EXPECT_EQ(kChineseText, ReadFileBytes(target + "\\" + kChinese));
    EXPECT_TRUE(ReadFileBytes(target + "\\log.txt") == LogText()) << "log.txt differs";
    char name[64] = {};
    GetPrivateProfileStringA("FILEPATH", "PACKNAME", "", name, sizeof name, (target + "\\TAVIBK.cfg").c_str());
    EXPECT_STREQ("writers", name);
}

INSTANTIATE_TEST_SUITE_P(
    Common, Writers,
    ::testing::Values(Writer{"Python zipfile writestr", "python-writestr.zip", 0, false},
                      Writer{"Python zipfile write", "python-write.zip", 0, false},
                      Writer{"Python zipfile to a pipe", "python-pipe.zip", 0, false},
                      Writer{"Python zipfile to a pipe, ZIP64", "python-pipe64.zip", 0, false},
                      Writer{"Info-ZIP zip", "infozip.zip", 0, false},
                      Writer{"Info-ZIP zip -X", "infozip-X.zip", 0, false},
                      Writer{"Info-ZIP zip to standard output", "infozip-stdout.zip", 0, false},
                      Writer{"7-Zip", "7zip.zip", 0, false}, Writer{"bsdtar", "bsdtar.zip", 0, false},
                      Writer{"compressed folder, FAT", nullptr, 0, false},
                      Writer{"compressed folder, NTFS", nullptr, 10, false},
                      Writer{"a Unix system whose names are GBK", nullptr, 3, false},
                      Writer{"data descriptors without their signature", nullptr, 0, true}));

} // namespace
