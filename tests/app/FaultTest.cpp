// Killed in the middle of a run, the tool leaves nothing that stops the next
// run of the same package from completing the installation.
#include "AppTest.h"

TEST_F(AppTest, RunKilledDuringAPhaseIsCompletedByTheNextRun)
{
    // Enough files for each phase to last until the kill.
    constexpr int kManyFiles = 200;
    const std::string package = MakeManyFilePackage("killed", kManyFiles);
    for (const char* phase : {"正在解压更新数据,若更新包大,时间较长,请等待...", "正在升级更新中..."}) {
        RemoveTree(InstallRoot());
        {
            AppProcess app(Quoted(package) + " 1 1");
            const HWND hMain = app.WaitForMainWindow();
            ASSERT_NE(hMain, nullptr) << phase;
            ASSERT_TRUE(WaitForStatus(hMain, phase, 60000)) << phase;
            app.Kill();
        }
        ASSERT_TRUE(DirectoryExists(StagingDirectory())) << phase << ": the run had ended before the kill";

        AppProcess app(Quoted(package) + " 1 1");
        ASSERT_TRUE(app.WaitForExit(120000)) << phase;
        EXPECT_EQ(app.ExitCode(), 0u) << phase;
        int nWrong = 0;
        for (int n = 0; n < kManyFiles; ++n)
            nWrong += ReadBytes(InstallRoot() + "\\Data\\" + ManyFileName(n)) != ManyFileText(n);
        EXPECT_EQ(nWrong, 0) << phase;
        EXPECT_FALSE(DirectoryExists(StagingDirectory())) << phase;
    }
}
