// A second start while one copy runs shows that copy and ends.
#include "AppTest.h"

TEST_F(AppTest, SecondStartRestoresTheRunningCopyAndEndsAtOnce)
{
    AppProcess first;
    const HWND hMain = first.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ::ShowWindow(hMain, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(hMain) != FALSE; }, 3000));

    // Even with a package to install, the second copy does nothing but that.
    const std::string package = MakeSamplePackage("second");
    AppProcess second(Quoted(package) + " 1 1");
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.WaitForExit(5000));
    EXPECT_EQ(second.ExitCode(), 5u) << "its package was not applied";

    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(WaitUntil([&] { return !::IsIconic(hMain) && ::IsWindowVisible(hMain); }, 3000));
    EXPECT_FALSE(FileExists(InstallRoot() + "\\Data\\a.txt"));
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));
}

TEST_F(AppTest, CopiesUnderAnotherFileNameRunSideBySide)
{
    AppProcess first;
    ASSERT_NE(first.WaitForMainWindow(), nullptr);

    // The instance marker is named after the executable.
    const std::string renamed = std::string(kScratch) + "\\TAVIUpdataCopy.exe";
    ASSERT_TRUE(::CopyFileA((BinDirectory() + "TAVIUpdata.exe").c_str(), renamed.c_str(), FALSE));
    {
        AppProcess copy(std::string(), renamed);
        EXPECT_NE(copy.WaitForMainWindow(), nullptr);
        EXPECT_TRUE(copy.IsRunning());
        EXPECT_TRUE(first.IsRunning());
    }
    ::DeleteFileA(renamed.c_str());
}
