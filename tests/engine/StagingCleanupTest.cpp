#include "EngineFixture.h"
#include "StagingCleanup.h"
#include "TestFiles.h"

// What the cleanup removes and keeps is shown on whole runs (UpdateRunTest);
// here the attribute step on its own.
using StagingCleanupTest = EngineTest;

TEST_F(StagingCleanupTest, ClearingReadOnlyKeepsTheOtherBitsAndTheTimes)
{
    const std::string path = m_dir + "\\f.txt";
    WriteBytes(path, "f");
    SetWriteTime(path, PackageFileTime());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);

    EXPECT_EQ(1, engine::ClearReadOnlyAttribute(path.c_str()));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE), Attributes(path));
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    const FILETIME expected = PackageFileTime();
    EXPECT_EQ(expected.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(expected.dwHighDateTime, data.ftLastWriteTime.dwHighDateTime);

    EXPECT_EQ(1, engine::ClearReadOnlyAttribute((m_dir + "\\absent.txt").c_str())) << "nothing to do";
}

TEST_F(StagingCleanupTest, LinksAreRemovedWithoutBeingEnteredAndALinkedStagingFolderIsLeftAlone)
{
    const std::string target = m_dir + "\\elsewhere";
    MakeDirectories(target);
    WriteBytes(target + "\\precious.txt", "precious");
    const std::string staging = m_dir + "\\TAVIBACKTmp";
    MakeDirectories(staging);
    WriteBytes(staging + "\\a.txt", "a");
    ASSERT_TRUE(MakeDirectoryLink(staging + "\\link", target));

    engine::RemoveStagingDirectory((staging + "\\").c_str());
    EXPECT_EQ("precious", ReadBytes(target + "\\precious.txt"));
    EXPECT_FALSE(FileExists(staging + "\\a.txt"));
    // Windows removes the link itself, and then the folder; Wine 8 refuses to
    // remove a link of the host that leads to a folder, and both stay.
    EXPECT_TRUE(!DirectoryExists(staging) || engine::IsLink((staging + "\\link").c_str()));
    EXPECT_TRUE(RemoveDirectoryLink(staging + "\\link"));

    const std::string linked = m_dir + "\\linked\\TAVIBACKTmp";
    MakeDirectories(m_dir + "\\linked");
    ASSERT_TRUE(MakeDirectoryLink(linked, target));
    engine::RemoveStagingDirectory((linked + "\\").c_str());
    EXPECT_EQ("precious", ReadBytes(target + "\\precious.txt"));
    EXPECT_TRUE(RemoveDirectoryLink(linked));
}
