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
