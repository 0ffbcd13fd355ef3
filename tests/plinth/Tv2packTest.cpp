// tv2pack create, list and verify, run as the integrators run it, and the
// packages it makes unpacked by Plinth.dll.
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"
#include "TestZip.h"

#include <gtest/gtest.h>

#include <string>

using plinthtest::FileExists;
using plinthtest::ReadFileBytes;
using plinthtest::RunProgram;
using plinthtest::TempDir;
using plinthtest::WriteFileBytes;

namespace {

std::string Profile(const std::string& file, const char* section, const std::string& key)
{
    char value[512] = {};
    GetPrivateProfileStringA(section, key.c_str(), "-1", value, sizeof value, file.c_str());
    return value;
}

class Tv2pack : public ::testing::Test {
protected:
    Tv2pack() : m_dir("tv2pack"), m_source(m_dir / "src"), m_package(m_dir / "out.tv2bck")
    {
        CreateDirectoryA(m_source.c_str(), nullptr);
    }

    void AddSource(const std::string& relative, const std::string& bytes)
    {
        std::string path = m_source;
        for (std::size_t at = relative.find('\\'); at != std::string::npos; at = relative.find('\\', at + 1))
            CreateDirectoryA((m_source + "\\" + relative.substr(0, at)).c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(m_source + "\\" + relative, bytes)) << relative;
    }

    int Create(const std::string& root, std::string* output, const std::string& extra = "")
    {
        return RunProgram("tv2pack.exe create \"" + m_package + "\" --root " + root + " \"" + m_source + "\"" + extra,
                          output);
    }

    // A refused create leaves neither the package nor a part of it.
    void ExpectRefused(const std::string& root, const std::string& needle)
    {
        std::string output;
        EXPECT_EQ(1, Create(root, &output)) << output;
        EXPECT_NE(std::string::npos, output.find(needle)) << output;
        EXPECT_FALSE(FileExists(m_package));
        EXPECT_EQ(1, plinthtest::CountEntries(m_dir.Path())) << "only src/ may remain";
    }

    TempDir m_dir;
    std::string m_source;
    std::string m_package;
};

TEST_F(Tv2pack, CreatesAPackageThatListsVerifiesAndUnpacks)
{
    std::string versioned = ReadFileBytes(plinthtest::ProgramDirectory() + "\\plinth_ver_high.dll");
    ASSERT_FALSE(versioned.empty());
    AddSource("System\\BIN\\a.dll", versioned);
    AddSource("System\\BIN\\readme.txt", "read me");
    AddSource("\xCA\xFD\xBE\xDD\\\xB1\xED.txt", "table"); // 数据\表.txt
    std::string output;
    ASSERT_EQ(0, Create("D:\\TAVI", &output, " --name Line3 --version 2.1")) << output;
    ASSERT_TRUE(FileExists(m_package));

    // A user's file of the name that list and verify once took for a copy
    // of the configuration is left alone.
    std::string bystander = m_package + ".tv2pack-cfg.tmp";
    ASSERT_TRUE(WriteFileBytes(bystander, "mine"));
    EXPECT_EQ(0, RunProgram("tv2pack.exe verify \"" + m_package + "\"", &output)) << output;
    EXPECT_NE(std::string::npos, output.find("OK, 3 files")) << output;
    EXPECT_EQ(0, RunProgram("tv2pack.exe list \"" + m_package + "\"", &output)) << output;
    EXPECT_NE(std::string::npos, output.find("a.dll\t-> D:\\TAVI\\System\\BIN\\a.dll")) << output;
    EXPECT_NE(std::string::npos, output.find(u8"表.txt\t-> D:\\TAVI\\数据\\表.txt")) << output;
    EXPECT_NE(std::string::npos, output.find("\t1.2.10.0.")) << output;
    EXPECT_EQ("mine", ReadFileBytes(bystander));

    std::string target = m_dir / "TAVIBACKTmp";
    ASSERT_EQ(4, UnCompressFile(m_package.c_str(), target.c_str()));
    std::string cfg = target + "\\TAVIBK.cfg";
    EXPECT_EQ("Line3", Profile(cfg, "FILEPATH", "PACKNAME"));
    EXPECT_EQ("3", Profile(cfg, "FILEPATH", "CNT"));
    EXPECT_EQ("D:\\TAVI\\System\\BIN\\a.dll", Profile(cfg, "FILEPATH", "a.dll"));
    EXPECT_EQ("D:\\TAVI\\\xCA\xFD\xBE\xDD\\\xB1\xED.txt", Profile(cfg, "FILEPATH", "\xB1\xED.txt"));
    EXPECT_EQ("2.1", Profile(cfg, "FILEVERSION", "VERSION"));
    EXPECT_EQ(19u, Profile(cfg, "FILEVERSION", "CREATETIME").size());
    char version[1024];
    GetVers((m_source + "\\System\\BIN\\a.dll").c_str(), version);
    EXPECT_EQ(version, Profile(cfg, "FILEVER", "a.dll"));
    EXPECT_EQ("0.0.0.0.0.0.0", Profile(cfg, "FILEVER", "readme.txt"));
    char time[64];
    GetFileDayTime((m_source + "\\System\\BIN\\readme.txt").c_str(), time, sizeof time);
    EXPECT_EQ(time, Profile(cfg, "FILERWTIME", "readme.txt"));
    EXPECT_EQ(versioned, ReadFileBytes(target + "\\a.dll"));
    EXPECT_EQ("table", ReadFileBytes(target + "\\\xB1\xED.txt"));
}

TEST_F(Tv2pack, RefusesTwoFilesOfTheSameName)
{
    AddSource("System\\BIN\\setup.ini", "1");
    AddSource("Config\\SETUP.INI", "2");
    ExpectRefused("D:\\TAVI", "same name");
}

TEST_F(Tv2pack, RefusesNamesThatThePackageOrItsConfigurationCannotHold)
{
    AddSource("TAVIBK.cfg", "[FILEPATH]");
    AddSource("bin\\CNT", "x");
    AddSource("a=b.txt", "x");
    ExpectRefused("D:\\TAVI", "configuration file");
    std::string output;
    Create("D:\\TAVI", &output);
    EXPECT_NE(std::string::npos, output.find("CNT")) << output;
    EXPECT_NE(std::string::npos, output.find("'='")) << output;
}

TEST_F(Tv2pack, RefusesDestinationsThatTheUpdateToolCannotReach)
{
    AddSource(std::string(40, 'd') + "\\a.txt", "x");
    ExpectRefused("D:\\TAVI", "40 bytes long");
    plinthtest::RemoveTree(m_source);
    CreateDirectoryA(m_source.c_str(), nullptr);

    AddSource("1\\2\\3\\4\\5\\6\\7\\8\\deep.txt", "x"); // TAVI plus 8: nine levels are fine
    std::string output;
    EXPECT_EQ(0, Create("D:\\TAVI", &output)) << output;
    DeleteFileA(m_package.c_str());
    AddSource("1\\2\\3\\4\\5\\6\\7\\8\\9\\deeper.txt", "x");
    ExpectRefused("D:\\TAVI", "10 levels below the drive");
    plinthtest::RemoveTree(m_source);
    CreateDirectoryA(m_source.c_str(), nullptr);

    // Eight levels of 38 bytes in the root: a directory string over 299 bytes.
    std::string root = "D:";
    for (int i = 0; i < 8; ++i)
        root += "\\" + std::string(37, 'L') + std::to_string(i);
    AddSource("x\\f.txt", "x");
    ExpectRefused(root, "directory is 317 bytes long");
    plinthtest::RemoveTree(m_source);
    CreateDirectoryA(m_source.c_str(), nullptr);

    // The tool takes a destination's directory up to its last backslash, so
    // a name that also occurs in the directory is fine.
    AddSource("Data\\a", "x");
    EXPECT_EQ(0, Create("D:\\TAVI", &output)) << output;
    DeleteFileA(m_package.c_str());
    ExpectRefused("TAVI", "drive");
}

TEST_F(Tv2pack, VerifyListsEveryProblemOfAPackage)
{
    testzip::Entry cfg;
    cfg.name = "TAVIBK.cfg";
    cfg.data = "[FILEPATH]\r\nPACKNAME=-1\r\nCNT=5\r\na.dll=D:\\TAVI\\a.dll\r\nghost.dll=D:\\TAVI\\ghost.dll\r\n";
    testzip::Entry a;
    a.name = "a.dll";
    a.data = "aaaa";
    testzip::Entry b;
    b.name = "b.dll";
    b.data = "bbbb";
    b.recordedCrc = 1;
    ASSERT_TRUE(WriteFileBytes(m_package, testzip::Build({cfg, a, b})));
    std::string output;
    EXPECT_EQ(1, RunProgram("tv2pack.exe verify \"" + m_package + "\"", &output));
    EXPECT_NE(std::string::npos, output.find("PACKNAME")) << output;
    EXPECT_NE(std::string::npos, output.find("CNT is 5 but the package holds 2 files")) << output;
    EXPECT_NE(std::string::npos, output.find("b.dll: TAVIBK.cfg gives no destination")) << output;
    EXPECT_NE(std::string::npos, output.find("ghost.dll, which the package does not hold")) << output;
    EXPECT_NE(std::string::npos, output.find("b.dll: CRC-32 mismatch")) << output;
    EXPECT_NE(std::string::npos, output.find("5 problem(s)")) << output;

    ASSERT_TRUE(WriteFileBytes(m_package, "not a zip at all, just some text long enough to look for an end record"));
    EXPECT_EQ(1, RunProgram("tv2pack.exe verify \"" + m_package + "\"", &output));
    EXPECT_NE(std::string::npos, output.find("not a ZIP archive")) << output;
}

TEST_F(Tv2pack, RefusesASystemLibraryThatTheUpdateToolWouldNotInstall)
{
    // Text, not a library: create refuses it, and verify finds it in a package made otherwise.
    AddSource("System\\BIN\\Plinth.dll", "not a library");
    ExpectRefused("D:\\TAVI", "System\\BIN\\Plinth.dll: the update tool would not install this system library");

    testzip::Entry library;
    library.name = "Plinth.dll";
    library.data = "not a library";
    ASSERT_TRUE(WriteFileBytes(m_package, testzip::Build({library})));
    std::string output;
    EXPECT_EQ(1, RunProgram("tv2pack.exe verify \"" + m_package + "\"", &output));
    EXPECT_NE(std::string::npos, output.find("Plinth.dll: the update tool would not install this system library"))
        << output;

    // The build's own library serves.
    const std::string real = ReadFileBytes("Plinth.dll");
    ASSERT_FALSE(real.empty());
    library.data = real;
    ASSERT_TRUE(WriteFileBytes(m_package, testzip::Build({library})));
    RunProgram("tv2pack.exe verify \"" + m_package + "\"", &output);
    EXPECT_EQ(std::string::npos, output.find("system library")) << output;
}

} // namespace
