#include "EngineFixture.h"
#include "InstalledVersions.h"
#include "PlinthLoader.h"
#include "PlinthWrappers.h"
#include "ReplaceRules.h"
#include "TestFiles.h"

using InstalledVersionsTest = EngineTest;

namespace {
std::string Version(CInstalledVersions& versions, const std::string& path)
{
    char text[1024] = {};
    versions.Read(path.c_str(), text);
    return text;
}

// A listing that a share cuts short after its first entry.
BOOL WINAPI CutListing(HANDLE, LPWIN32_FIND_DATAW)
{
    SetLastError(ERROR_UNEXP_NET_ERR);
    return FALSE;
}

std::string LibraryVersion(const std::string& path)
{
    char text[1024] = {};
    GetVers(path.c_str(), text);
    return text;
}
}

TEST(InstalledVersionsKeys, OnlyPathsThatNoOtherSpellingReachesAreKeyed)
{
    const struct {
        const char* pszPath;
        const wchar_t* pszKey;
    } cases[] = {
        {"D:\\TAVI\\System\\Meter.dll", L"D:\\TAVI\\SYSTEM\\METER.DLL"},
        {"d:\\tavi\\升级\\a.ini", L"D:\\TAVI\\升级\\A.INI"},
        {"D:\\TAVI\\\\Meter.dll", L""},
        {"D:\\TAVI\\.\\Meter.dll", L""},
        {"D:\\TAVI\\..\\Meter.dll", L""},
        {"D:\\TAVI\\Meter.dll.", L""},
        {"D:\\TAVI\\Meter.dll ", L""},
        {"D:\\PROGRA~1\\Meter.dll", L""},
        {"D:\\TAVI\\Meter.dll:stream", L""},
        {"D:\\TAVI\\M*.dll", L""},
        {"D:\\TAVI/Meter.dll", L""},
        {"D:\\TAVI\\NUL", L""},
        {"D:\\TAVI\\com1.log", L""},
        {"\\\\server\\share\\Meter.dll", L""},
        {"D:Meter.dll", L""},
        {"D:\\", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(c.pszKey), CInstalledVersions::PlainKey(c.pszPath)) << c.pszPath;
}

TEST_F(InstalledVersionsTest, AFileKnownAbsentGetsTheLibrarysTextForAMissingFile)
{
    ASSERT_EQ(1, LoadPlinth(1));
    const std::string dir = m_dir + "\\inst";
    MakeDirectories(dir);
    WriteBytes(dir + "\\v2.dll", VersionedLibrary(2));
    const std::string absentText = LibraryVersion(dir + "\\absent.dll");
    ASSERT_NE(LibraryVersion(dir + "\\v2.dll"), absentText);

    CInstalledVersions versions;
    EXPECT_EQ(LibraryVersion(dir + "\\v2.dll"), Version(versions, dir + "\\V2.DLL")) << "names match in any case";
    EXPECT_EQ(absentText, Version(versions, dir + "\\a.dll"));

    // What the run knows is its listing and its own writes: a file put there
    // behind its back after the listing is not seen...
    for (const char* pszName : {"b.dll", "c.dll", "d.dll"})
        WriteBytes(dir + "\\" + pszName, VersionedLibrary(2));
    EXPECT_EQ(absentText, Version(versions, dir + "\\b.dll"));
    // ...unless the run wrote it, made it as a level of a chain, or wrote a
    // file by a spelling that the listing cannot follow.
    versions.FileWritten((dir + "\\B.dll").c_str());
    EXPECT_EQ(LibraryVersion(dir + "\\b.dll"), Version(versions, dir + "\\b.dll"));
    versions.ChainMade((dir + "\\c.dll\\sub\\").c_str());
    EXPECT_EQ(LibraryVersion(dir + "\\c.dll"), Version(versions, dir + "\\c.dll"));
    EXPECT_EQ(absentText, Version(versions, dir + "\\d.dll"));
    versions.FileWritten((dir + "\\other.dll.").c_str());
    EXPECT_EQ(LibraryVersion(dir + "\\d.dll"), Version(versions, dir + "\\d.dll"));

    // A library loaded anew is asked again for its text for a missing file.
    versions.LibraryChanged();
    FreePlinth();
    EXPECT_EQ("", Version(versions, dir + "\\e.dll"));
}

TEST_F(InstalledVersionsTest, AFileThatAppearedBehindTheRunsBackIsNeitherOverwrittenNorLentItsVersion)
{
    ASSERT_EQ(1, LoadPlinth(1));
    const std::string dir = m_dir + "\\inst";
    MakeDirectories(dir);
    const std::string absentText = LibraryVersion(dir + "\\absent.dll");
    const std::string staged = m_dir + "\\staged.dll";
    WriteBytes(staged, VersionedLibrary(1));

    CInstalledVersions versions;
    EXPECT_EQ(absentText, Version(versions, dir + "\\first.dll"));  // the listing is made now
    EXPECT_TRUE(versions.AnsweredAbsent((dir + "\\first.dll").c_str()));

    // Another program drops a newer copy after the listing.
    WriteBytes(dir + "\\late.dll", VersionedLibrary(2));
    versions.LibraryChanged();  // as after the system library's reload
    EXPECT_EQ(absentText, Version(versions, dir + "\\late.dll")) << "believed absent, and not a version of its own";
    EXPECT_TRUE(versions.AnsweredAbsent((dir + "\\late.dll").c_str()));
    EXPECT_EQ(absentText, Version(versions, dir + "\\new.dll")) << "the missing file's text is not late.dll's";

    // Such a file is written only if it is still not there.
    EXPECT_EQ(engine::NEW_FILE_EXISTS, engine::InstallNewFile(staged.c_str(), (dir + "\\late.dll").c_str()));
    EXPECT_EQ(VersionedLibrary(2), ReadBytes(dir + "\\late.dll"));
    EXPECT_EQ(engine::NEW_FILE_COPIED, engine::InstallNewFile(staged.c_str(), (dir + "\\new.dll").c_str()));
    EXPECT_EQ(VersionedLibrary(1), ReadBytes(dir + "\\new.dll"));

    // Found there, it is asked of the library from then on.
    versions.FileWritten((dir + "\\late.dll").c_str());
    EXPECT_EQ(LibraryVersion(dir + "\\late.dll"), Version(versions, dir + "\\late.dll"));
    EXPECT_FALSE(versions.AnsweredAbsent((dir + "\\late.dll").c_str()));
}

TEST_F(InstalledVersionsTest, AListingCutShortAnswersNothing)
{
    ASSERT_EQ(1, LoadPlinth(1));
    const std::string dir = m_dir + "\\inst";
    MakeDirectories(dir);
    for (const char* pszName : {"a.dll", "b.dll", "c.dll"})
        WriteBytes(dir + "\\" + pszName, VersionedLibrary(2));
    struct RealFindNext {
        decltype(g_pfnVersionsFindNextFileW) pfn = g_pfnVersionsFindNextFileW;
        ~RealFindNext() { g_pfnVersionsFindNextFileW = pfn; }
    } real;
    g_pfnVersionsFindNextFileW = &CutListing;

    CInstalledVersions versions;
    for (const char* pszName : {"a.dll", "b.dll", "c.dll", "absent.dll"}) {
        const std::string path = dir + "\\" + pszName;
        EXPECT_EQ(LibraryVersion(path), Version(versions, path)) << pszName;
        EXPECT_FALSE(versions.AnsweredAbsent(path.c_str())) << pszName;
    }
}
