// Command-line starts: the run starts by itself, and argument 3 decides
// whether the tool closes by itself afterwards.
#include "AppTest.h"

namespace {
const char kFinished[] = "更新完成";
}

TEST_F(AppTest, CommandLineRunInstallsThePackageAndClosesByItself)
{
    const std::string package = MakeSamplePackage("first");
    AppProcess app(Quoted(package) + " 1 1");
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    // The package controls are hidden from the start.
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hMain, IDC_BTN_UPGRADE)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hMain, IDC_EDT_PATH)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hMain, IDC_STC_PATH_LABEL)));

    ASSERT_TRUE(WaitForStatus(hMain, kFinished));
    const DWORD dwFinished = ::GetTickCount();
    const std::string log = DlgItemText(hMain, IDC_EDT_LOG);
    EXPECT_NE(log.find("升级包名称:first"), std::string::npos) << log;
    EXPECT_NE(log.find("a.txt 已更新..."), std::string::npos) << log;
    EXPECT_NE(log.find("b.ini 已更新..."), std::string::npos) << log;

    // Timer 2 notices the end within a second; the close then waits 500 ms.
    ASSERT_TRUE(app.WaitForExit(3000));
    const DWORD dwClosing = ::GetTickCount() - dwFinished;
    EXPECT_GE(dwClosing, 450u);
    EXPECT_LE(dwClosing, 2500u);
    EXPECT_EQ(app.ExitCode(), 0u);

    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of first");
    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Bin\\b.ini"), "[b]\r\nfrom=first\r\n");
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));
}

TEST_F(AppTest, ArgumentsZeroAndZeroShowNoFileLinesAndKeepTheWindowOpen)
{
    const std::string package = MakeSamplePackage("quiet");
    AppProcess app(Quoted(package) + " 0 0");
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ASSERT_TRUE(WaitForStatus(hMain, kFinished));
    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of quiet");

    // Past two ticks of timer 2 the window is still there, with its result.
    ::Sleep(2500);
    ASSERT_TRUE(app.IsRunning());
    EXPECT_TRUE(::IsWindowVisible(hMain));
    EXPECT_EQ(DlgItemText(hMain, IDC_STC_STATUS), kFinished);
    const std::string log = DlgItemText(hMain, IDC_EDT_LOG);
    EXPECT_NE(log.find("升级包名称:quiet"), std::string::npos) << log;
    EXPECT_EQ(log.find("已更新"), std::string::npos) << log;

    // The operator closes it.
    ::PostMessageA(hMain, WM_CLOSE, 0, 0);
    EXPECT_TRUE(app.WaitForExit(3000));
}

TEST_F(AppTest, PackageInADriveRootWithNoFurtherArgumentsIsInstalledAndTheToolCloses)
{
    // The staging directory goes beside the package: D:\TAVIBACKTmp.
    const std::string package = "D:\\apptest-root.tv2bck";
    ASSERT_TRUE(::MoveFileExA(MakeSamplePackage("root").c_str(), package.c_str(), MOVEFILE_REPLACE_EXISTING));
    AppProcess app(Quoted(package));
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ASSERT_TRUE(WaitForStatus(hMain, kFinished));
    // Both flags keep their 1: the file lines are shown, and the tool closes.
    EXPECT_NE(DlgItemText(hMain, IDC_EDT_LOG).find("a.txt 已更新..."), std::string::npos);
    EXPECT_TRUE(app.WaitForExit(3000));
    ::DeleteFileA(package.c_str());

    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of root");
    EXPECT_FALSE(DirectoryExists("D:\\TAVIBACKTmp"));
}

TEST_F(AppTest, EmptyFlagsKeepTheirOneAndTextFlagsReadAsZero)
{
    // An empty package path still starts the run by itself; it fails at the
    // unpack, and the empty auto-exit flag still closes the tool.
    {
        AppProcess app("\"\" \"\" \"\"");
        const HWND hMain = app.WaitForMainWindow();
        ASSERT_NE(hMain, nullptr);
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hMain, IDC_BTN_UPGRADE)));
        EXPECT_TRUE(WaitForStatus(hMain, "解压数据出现异常,请重试!"));
        EXPECT_TRUE(app.WaitForExit(3000));
    }

    // "abc" is 0 for both flags: no file lines, and the window stays.
    const std::string package = MakeSamplePackage("text");
    AppProcess app(Quoted(package) + " abc abc");
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ASSERT_TRUE(WaitForStatus(hMain, kFinished));
    EXPECT_EQ(DlgItemText(hMain, IDC_EDT_LOG).find("已更新"), std::string::npos);
    EXPECT_FALSE(app.WaitForExit(1500));
}
