// Closing: Esc closes after the short wait, Enter does not close, and a close
// in the middle of a run lets the run's library call finish first.
#include "AppTest.h"

#include <commctrl.h>
#include <string>

namespace {

// A key as the dialog's own message loop receives it.
void PressKey(HWND hDialog, WORD wKey)
{
    ::PostMessageA(hDialog, WM_KEYDOWN, wKey, 1);
    ::PostMessageA(hDialog, WM_KEYUP, wKey, 0xC0000001);
}

} // namespace

TEST_F(AppTest, EnterDoesNotCloseAndEscClosesAfterTheWait)
{
    AppProcess app;
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);

    PressKey(hMain, VK_RETURN);
    EXPECT_FALSE(app.WaitForExit(1500));
    EXPECT_TRUE(::IsWindowVisible(hMain));

    PressKey(hMain, VK_ESCAPE);
    const DWORD dwStart = ::GetTickCount();
    ASSERT_TRUE(app.WaitForExit(3000));
    // No worker runs, so the close waits its full 500 ms.
    EXPECT_GE(::GetTickCount() - dwStart, 500u);
    EXPECT_EQ(app.ExitCode(), 0u);
}

TEST_F(AppTest, CloseDuringTheUnpackWaitsForTheWorkerAndDoesNotCrash)
{
    // Enough files for the unpack to outlast the close's half-second wait.
    constexpr int kManyFiles = 1500;
    const std::string package = MakeManyFilePackage("many", kManyFiles);

    AppProcess app(Quoted(package) + " 1 0");
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ASSERT_TRUE(WaitForStatus(hMain, "正在解压更新数据,若更新包大,时间较长,请等待..."));
    const HWND hProgress = ::GetDlgItem(hMain, IDC_PROGRESS);
    DWORD_PTR dwPos = 0;
    ::SendMessageTimeoutA(hProgress, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &dwPos);
    ::PostMessageA(hMain, WM_CLOSE, 0, 0);
    // Only meaningful while the unpack is still under way.
    ASSERT_LT(dwPos, 100u);

    ASSERT_TRUE(app.WaitForExit(60000));
    EXPECT_EQ(app.ExitCode(), 6u) << "the run did not reach a final status";
    // The unpack ran to its end before the process went; the run then stopped
    // instead of installing.
    for (int n : {0, kManyFiles / 2, kManyFiles - 1})
        EXPECT_TRUE(FileExists(StagingDirectory() + "\\" + ManyFileName(n))) << n;
    EXPECT_FALSE(DirectoryExists(InstallRoot() + "\\Data"));
}
