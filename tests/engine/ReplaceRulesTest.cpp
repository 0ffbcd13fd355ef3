#include "EngineFixture.h"
#include "PlinthLoader.h"
#include "TAVIUpdataDlg.h"
#include "TestFiles.h"

using ReplaceRulesTest = EngineTest;

TEST_F(ReplaceRulesTest, VersionTextsDecideTheCopy)
{
    ASSERT_EQ(1, LoadPlinth(1));
    CTAVIUpdataDlg dlg;
    const std::string v1 = m_dir + "\\v1.dll", v2 = m_dir + "\\v2.dll", v1Copy = m_dir + "\\v1copy.dll";
    const std::string plain = m_dir + "\\plain.txt";
    WriteBytes(v1, VersionedLibrary(1));
    WriteBytes(v1Copy, VersionedLibrary(1));
    WriteBytes(v2, VersionedLibrary(2));
    WriteBytes(plain, "no version resource");
    for (const std::string& path : {v1, v2, v1Copy, plain})
        SetWriteTime(path, PackageFileTime());

    // Destination, file time, file version (not used), staged file.
    EXPECT_EQ(0, dlg.NeedReplaceFile(v2.c_str(), "-1", "9.9.9.9", v1.c_str())) << "installed newer: kept";
    EXPECT_EQ(1, dlg.NeedReplaceFile(v1.c_str(), "-1", "-1", v2.c_str())) << "installed older: replaced";
    EXPECT_EQ(1, dlg.NeedReplaceFile(v1Copy.c_str(), "-1", "-1", v1.c_str())) << "equal: copied again";
    EXPECT_EQ(1, dlg.NeedReplaceFile(v2.c_str(), "-1", "-1", plain.c_str())) << "unversioned: always copied";
    EXPECT_EQ(1, dlg.NeedReplaceFile((m_dir + "\\absent.dll").c_str(), "-1", "-1", v1.c_str()));
    EXPECT_EQ(1, dlg.NeedReplaceFile(v2.c_str(), "-1", "-1", (m_dir + "\\absent.dll").c_str()));

    // Without the library no version can be read: the installed file stays.
    FreePlinth();
    EXPECT_EQ(0, dlg.NeedReplaceFile(v1.c_str(), "-1", "-1", v2.c_str()));
}

TEST_F(ReplaceRulesTest, DirectoryChainCreatesNineLevelsBelowTheDrive)
{
    ASSERT_EQ(1, LoadPlinth(1));
    CTAVIUpdataDlg dlg;
    // m_dir is D:\engine-tests\<name>, two levels below the drive.
    const std::string nine = m_dir + "\\3\\4\\5\\6\\7\\8\\9";
    dlg.CreateDirectoryChain((nine + "\\10\\11\\").c_str());
    EXPECT_TRUE(DirectoryExistsAt(nine));
    EXPECT_FALSE(DirectoryExistsAt(nine + "\\10"));

    // An existing chain is walked again harmlessly.
    dlg.CreateDirectoryChain((nine + "\\").c_str());
    EXPECT_TRUE(DirectoryExistsAt(nine));

    // A name too long for the tool's buffers creates nothing.
    const std::string longName(40, 'n');
    dlg.CreateDirectoryChain((m_dir + "\\ok\\" + longName + "\\").c_str());
    EXPECT_FALSE(DirectoryExistsAt(m_dir + "\\ok"));
}

TEST_F(ReplaceRulesTest, DirectoryQueriesAndCreation)
{
    CTAVIUpdataDlg dlg;
    WriteBytes(m_dir + "\\file.txt", "x");
    EXPECT_EQ(1, dlg.DirectoryExists(m_dir.c_str()));
    EXPECT_EQ(0, dlg.DirectoryExists((m_dir + "\\").c_str())) << "the platform finds nothing for a trailing backslash";
    EXPECT_EQ(0, dlg.DirectoryExists((m_dir + "\\file.txt").c_str()));
    EXPECT_EQ(0, dlg.DirectoryExists((m_dir + "\\absent").c_str()));

    EXPECT_EQ(1, dlg.CreateSubDirectory("sub", m_dir.c_str()));
    EXPECT_TRUE(DirectoryExistsAt(m_dir + "\\sub"));
    EXPECT_EQ(0, dlg.CreateSubDirectory("sub", m_dir.c_str())) << "exists already";
    EXPECT_EQ(1, dlg.CreateSubDirectory("下级", (m_dir + "\\sub\\").c_str())) << "doubled separator";
    EXPECT_TRUE(DirectoryExistsAt(m_dir + "\\sub\\下级"));
}
