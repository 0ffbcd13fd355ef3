// The exit code tells a script how the run ended; until the auto-exit closes
// the window, its status text tells the same.
#include "AppTest.h"

#include <vector>

#include "TestFiles.h"

TEST_F(AppTest, ExitCodeFollowsTheFinalStatusText)
{
    const std::string sample = MakeSamplePackage("codes");
    const std::string notPackage = std::string(kScratch) + "\\pkg\\text.tv2bck";
    WriteFileText(notPackage, "not an archive");
    const std::string bare = std::string(kScratch) + "\\pkg\\bare.tv2bck";
    StoredZip zip;
    zip.Add("a.txt", "an archive without its configuration");
    zip.Write(bare);
    const std::string held = InstallRoot() + "\\Data\\a.txt";

    struct Case {
        const char* what;
        std::string package;
        bool bHoldInstalledFile;
        std::string status;
        DWORD dwCode;
    };
    const std::vector<Case> cases = {
        {"finished", sample, false, "更新完成", 0},
        {"a file held open", sample, true, "更新完成,但有1个文件未能更新!", 1},
        {"missing package", std::string(kScratch) + "\\pkg\\missing.tv2bck", false, "解压数据出现异常,请重试!", 2},
        {"refused by the library", notPackage, false, "解压数据出现异常,请重试!", 2},
        {"no configuration", bare, false, "文件非法或异常,请重试!", 3},
        {"folder path too long", "D:\\" + std::string(480, 'x') + "\\a.tv2bck", false, "升级文件路径过长,请重试!", 4},
    };
    for (const Case& c : cases) {
        HANDLE hHeld = INVALID_HANDLE_VALUE;
        if (c.bHoldInstalledFile)
            hHeld = ::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        AppProcess app(Quoted(c.package) + " 1 1");
        const HWND hMain = app.WaitForMainWindow();
        ASSERT_NE(hMain, nullptr) << c.what;
        EXPECT_TRUE(WaitForStatus(hMain, c.status)) << c.what;
        // Timer 2 sees the end within a second; the close then waits 500 ms.
        const DWORD dwShown = ::GetTickCount();
        ASSERT_TRUE(app.WaitForExit(5000)) << c.what;
        EXPECT_LE(::GetTickCount() - dwShown, 2500u) << c.what;
        EXPECT_EQ(app.ExitCode(), c.dwCode) << c.what;
        if (hHeld != INVALID_HANDLE_VALUE)
            ::CloseHandle(hHeld);
    }
}
