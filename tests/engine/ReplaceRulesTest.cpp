#include "EngineFixture.h"
#include "PlinthLoader.h"
#include "ReplaceRules.h"
#include "TestFiles.h"

using ReplaceRulesTest = EngineTest;

TEST_F(ReplaceRulesTest, VersionTextsDecideTheCopy)
{
    ASSERT_EQ(1, LoadPlinth(1));
    const std::string v1 = m_dir + "\\v1.dll", v2 = m_dir + "\\v2.dll", v1Copy = m_dir + "\\v1copy.dll";
    const std::string plain = m_dir + "\\plain.txt";
    WriteBytes(v1, VersionedLibrary(1));
    WriteBytes(v1Copy, VersionedLibrary(1));
    WriteBytes(v2, VersionedLibrary(2));
    WriteBytes(plain, "no version resource");
    for (const std::string& path : {v1, v2, v1Copy, plain})
        SetWriteTime(path, PackageFileTime());

    // Destination, staged file.
    EXPECT_EQ(0, engine::NeedReplaceFile(v2.c_str(), v1.c_str())) << "installed newer: kept";
    EXPECT_EQ(1, engine::NeedReplaceFile(v1.c_str(), v2.c_str())) << "installed older: replaced";
    EXPECT_EQ(1, engine::NeedReplaceFile(v1Copy.c_str(), v1.c_str())) << "equal: copied again";
    EXPECT_EQ(1, engine::NeedReplaceFile(v2.c_str(), plain.c_str())) << "unversioned: always copied";
    EXPECT_EQ(1, engine::NeedReplaceFile((m_dir + "\\absent.dll").c_str(), v1.c_str()));
    EXPECT_EQ(1, engine::NeedReplaceFile(v2.c_str(), (m_dir + "\\absent.dll").c_str()));

    // Without the library no version can be read: the installed file stays.
    FreePlinth();
    EXPECT_EQ(0, engine::NeedReplaceFile(v1.c_str(), v2.c_str()));
}

TEST_F(ReplaceRulesTest, DirectoryChainCreatesNineLevelsBelowTheDrive)
{
    ASSERT_EQ(1, LoadPlinth(1));
    // m_dir is D:\engine-tests\<name>, two levels below the drive.
    const std::string nine = m_dir + "\\3\\4\\5\\6\\7\\8\\9";
    engine::CreateDirectoryChain((nine + "\\10\\11\\").c_str());
    EXPECT_TRUE(DirectoryExists(nine));
    EXPECT_FALSE(DirectoryExists(nine + "\\10"));

    // An existing chain is walked again harmlessly.
    engine::CreateDirectoryChain((nine + "\\").c_str());
    EXPECT_TRUE(DirectoryExists(nine));

    // A name too long for the tool's buffers creates nothing.
    const std::string longName(40, 'n');
    engine::CreateDirectoryChain((m_dir + "\\ok\\" + longName + "\\").c_str());
    EXPECT_FALSE(DirectoryExists(m_dir + "\\ok"));
}

TEST_F(ReplaceRulesTest, DirectoryQueriesAndCreation)
{
    WriteBytes(m_dir + "\\file.txt", "x");
    EXPECT_EQ(1, engine::DirectoryExists(m_dir.c_str()));
    EXPECT_EQ(0, engine::DirectoryExists((m_dir + "\\").c_str())) << "the platform finds nothing for a trailing backslash";
    EXPECT_EQ(0, engine::DirectoryExists((m_dir + "\\file.txt").c_str()));
    EXPECT_EQ(0, engine::DirectoryExists((m_dir + "\\absent").c_str()));

    EXPECT_EQ(1, engine::CreateSubDirectory("sub", m_dir.c_str()));
    EXPECT_TRUE(DirectoryExists(m_dir + "\\sub"));
    EXPECT_EQ(0, engine::CreateSubDirectory("sub", m_dir.c_str())) << "exists already";
    EXPECT_EQ(1, engine::CreateSubDirectory("下级", (m_dir + "\\sub\\").c_str())) << "doubled separator";
    EXPECT_TRUE(DirectoryExists(m_dir + "\\sub\\下级"));
}

namespace {
int g_nCopies = 0;
bool g_bCopyFails = false;

// Copies as Windows does: a read-only destination is refused (Wine copies over it).
BOOL WINAPI CopyLikeWindows(LPCSTR pszSource, LPCSTR pszDest, BOOL bFailIfExists)
{
    ++g_nCopies;
    const DWORD dwAttributes = GetFileAttributesA(pszDest);
    if (g_bCopyFails || (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return CopyFileA(pszSource, pszDest, bFailIfExists);
}
}

TEST_F(ReplaceRulesTest, ReadOnlyDestinationIsMadeWritableAndCopiedOnceMore)
{
    const std::string staged = m_dir + "\\staged.txt", dest = m_dir + "\\dest.txt";
    WriteBytes(staged, "new");
    struct Case {
        const char* what;
        bool bDestExists, bReadOnly, bCopyFails;
        bool bInstalled;
        int nCopies;
    };
    for (const Case& c : {Case{"read-only", true, true, false, true, 2},
                          Case{"writable", true, false, false, true, 1},
                          Case{"absent", false, false, false, true, 1},
                          Case{"read-only, refused again", true, true, true, false, 2},
                          Case{"writable, refused", true, false, true, false, 1},
                          Case{"absent, refused", false, false, true, false, 1}}) {
        SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(dest.c_str());
        if (c.bDestExists) {
            WriteBytes(dest, "old");
            SetFileAttributesA(dest.c_str(), c.bReadOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        }
        g_nCopies = 0;
        g_bCopyFails = c.bCopyFails;
        EXPECT_EQ(c.bInstalled, engine::InstallFile(staged.c_str(), dest.c_str(), CopyLikeWindows)) << c.what;
        EXPECT_EQ(c.nCopies, g_nCopies) << c.what;
        EXPECT_EQ(c.bInstalled ? "new" : c.bDestExists ? "old" : "", ReadBytes(dest)) << c.what;
    }
    SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_NORMAL);
}
