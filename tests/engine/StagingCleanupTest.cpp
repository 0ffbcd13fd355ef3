#include "EngineFixture.h"
#include "TAVIUpdataDlg.h"
#include "TestFiles.h"

class StagingCleanupTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        m_staging = m_dir + "\\TAVIBACKTmp";
        MakeDirectories(m_staging);
    }

    void AddFile(const std::string& name, DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL)
    {
        WriteBytes(m_staging + "\\" + name, name);
        SetFileAttributesA((m_staging + "\\" + name).c_str(), dwAttributes);
    }

    void Remove() { CTAVIUpdataDlg().RemoveStagingDirectory((m_staging + "\\").c_str()); }

    std::string m_staging;
};

TEST_F(StagingCleanupTest, ReadOnlyCacheFilesGoAndTheDirectoryWithThem)
{
    AddFile("a.dll");
    AddFile("OP_CACHE.ATR", FILE_ATTRIBUTE_READONLY);
    AddFile("OP_CACHE.IDX", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Remove();
    EXPECT_FALSE(DirectoryExistsAt(m_staging));
}

TEST_F(StagingCleanupTest, AnotherReadOnlyFileKeepsTheDirectory)
{
    AddFile("a.dll");
    AddFile("keep.txt", FILE_ATTRIBUTE_READONLY);
    Remove();
    EXPECT_FALSE(FileExists(m_staging + "\\a.dll"));
    EXPECT_TRUE(FileExists(m_staging + "\\keep.txt"));
}

TEST_F(StagingCleanupTest, SubdirectoryKeepsItsContentsAndTheDirectory)
{
    AddFile("a.dll");
    MakeDirectories(m_staging + "\\sub");
    WriteBytes(m_staging + "\\sub\\inner.txt", "inner");
    Remove();
    EXPECT_FALSE(FileExists(m_staging + "\\a.dll"));
    EXPECT_TRUE(FileExists(m_staging + "\\sub\\inner.txt"));
}

TEST_F(StagingCleanupTest, ClearingReadOnlyKeepsTheOtherBitsAndTheTimes)
{
    CTAVIUpdataDlg dlg;
    AddFile("f.txt");
    const std::string path = m_staging + "\\f.txt";
    SetWriteTime(path, PackageFileTime());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    EXPECT_EQ(1, dlg.ClearReadOnlyAttribute(path.c_str()));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE), Attributes(path));
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    const FILETIME expected = PackageFileTime();
    EXPECT_EQ(expected.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(expected.dwHighDateTime, data.ftLastWriteTime.dwHighDateTime);

    EXPECT_EQ(1, dlg.ClearReadOnlyAttribute((m_staging + "\\absent.txt").c_str())) << "nothing to do";
}
