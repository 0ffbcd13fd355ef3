// A second start while one copy runs shows that copy and ends; while a copy
// ends without its window, the start waits for it.
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

TEST_F(AppTest, StartWaitsForACopyThatIsEndingAndThenRunsItsPackage)
{
    const std::string package = MakeSamplePackage("after");
    // The marker of a copy whose window has closed while its process still ends.
    HANDLE hMarker = ::CreateSemaphoreA(nullptr, 1, 1, "TAVIUpdata");
    ASSERT_NE(hMarker, nullptr);
    AppProcess app(Quoted(package) + " 1 1");
    EXPECT_FALSE(app.WaitForExit(2000));
    EXPECT_EQ(app.MainWindow(), nullptr);
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));

    ::CloseHandle(hMarker);
    EXPECT_NE(app.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(app.WaitForExit(20000));
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of after");
}

TEST_F(AppTest, StartGivesUpAfterAMinuteWhenTheMarkerIsStillHeld)
{
    HANDLE hMarker = ::CreateSemaphoreA(nullptr, 1, 1, "TAVIUpdata");
    ASSERT_NE(hMarker, nullptr);
    AppProcess app(Quoted(MakeSamplePackage("never")) + " 1 1");
    EXPECT_FALSE(app.WaitForExit(55000));
    EXPECT_EQ(app.MainWindow(), nullptr);
    ASSERT_TRUE(app.WaitForExit(15000));
    EXPECT_EQ(app.ExitCode(), 5u);
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));
    ::CloseHandle(hMarker);
}
