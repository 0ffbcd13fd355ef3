// The workstation does not stand still while a run runs: other programs write
// files, a second copy arrives under another name, folders are links. Each is
// made to happen with real processes (no display: no-display-check.sh).
#include "AppTest.h"

#include "TestFiles.h"

namespace {
const char kWaitingStatus[] = "另一个升级正在使用此目录,请稍候...";

std::string VersionedLibraryFile(int nMajor)
{
    return BinDirectory() + "engine_ver" + std::to_string(nMajor) + ".dll";
}
}

TEST_F(AppTest, NewerFileDroppedDuringTheRunIsKept)
{
    const std::string late = InstallRoot() + "\\Data\\late.dll";
    // The run's order of files is the file system's: should it reach late.dll
    // before the other program drops its copy, the drop comes too late to
    // tell anything, and the whole is tried again.
    for (int nAttempt = 1;; ++nAttempt) {
        RemoveTree(InstallRoot());
        const std::string source = std::string(kScratch) + "\\src-late";
        MakeDirectories(source + "\\Data");
        WriteBytes(source + "\\Data\\late.dll", ReadBytes(VersionedLibraryFile(1)));
        const std::string package = MakeManyFilePackage("late", 300);
        AppProcess dropper(Quoted(InstallRoot() + "\\Data") + " " + Quoted(VersionedLibraryFile(2)) + " " + Quoted(late),
                           BinDirectory() + "app_dropper.exe");
        AppProcess app(Quoted(package) + " 1 1");
        ASSERT_TRUE(app.WaitForExit(120000));
        ASSERT_TRUE(dropper.WaitForExit(10000));
        if (dropper.ExitCode() == 1 && nAttempt < 3)
            continue;
        ASSERT_EQ(0u, dropper.ExitCode()) << "the other program's copy was not dropped during the run";
        EXPECT_EQ(0u, app.ExitCode());
        EXPECT_EQ(ReadBytes(VersionedLibraryFile(2)), ReadBytes(late)) << "the newer copy was overwritten";
        EXPECT_EQ(ManyFileText(299), ReadBytes(InstallRoot() + "\\Data\\" + ManyFileName(299)));
        break;
    }
}

TEST_F(AppTest, StagingFolderThatIsALinkIsRefusedAndWhatItPointsToIsUntouched)
{
    const std::string package = MakeSamplePackage("linked");
    const std::string target = std::string(kScratch) + "\\elsewhere";
    WriteFileText(target + "\\precious.txt", "precious");
    ASSERT_TRUE(MakeDirectoryLink(StagingDirectory(), target));

    AppProcess app(Quoted(package) + " 1 1");
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    EXPECT_TRUE(WaitForStatus(hMain, "升级临时目录TAVIBACKTmp是链接,请删除后重试!"));
    ASSERT_TRUE(app.WaitForExit(10000));
    EXPECT_EQ(8u, app.ExitCode());
    EXPECT_EQ("precious", ReadBytes(target + "\\precious.txt"));
    EXPECT_FALSE(FileExists(target + "\\a.txt")) << "unpacked through the link";
    EXPECT_FALSE(FileExists(InstallRoot() + "\\Data\\a.txt"));
    // Left there, it would refuse every later test's package.
    EXPECT_TRUE(RemoveDirectoryLink(StagingDirectory()));
}

TEST_F(AppTest, CopiesUnderTwoNamesOnOnePackageFolderRunOneAfterTheOther)
{
    const int nFiles = 1500;
    const std::string package = MakeManyFilePackage("twice", nFiles);
    const std::string renamed = std::string(kScratch) + "\\TAVIUpdata_new.exe";
    ASSERT_TRUE(::CopyFileA((BinDirectory() + "TAVIUpdata.exe").c_str(), renamed.c_str(), FALSE));

    AppProcess first(Quoted(package) + " 0 1");
    ASSERT_TRUE(WaitUntil([] { return DirectoryExists(StagingDirectory()); }, 20000));
    AppProcess second(Quoted(package) + " 0 1", renamed);
    const HWND hSecond = second.WaitForMainWindow();
    ASSERT_NE(hSecond, nullptr);
    EXPECT_TRUE(WaitForStatus(hSecond, kWaitingStatus, 5000)) << "ran beside the first";

    ASSERT_TRUE(first.WaitForExit(120000));
    ASSERT_TRUE(second.WaitForExit(120000));
    EXPECT_EQ(0u, first.ExitCode());
    EXPECT_EQ(0u, second.ExitCode());
    int nInstalled = 0;
    for (int n = 0; n < nFiles; ++n)
        nInstalled += ReadBytes(InstallRoot() + "\\Data\\" + ManyFileName(n)) == ManyFileText(n);
    EXPECT_EQ(nFiles, nInstalled);
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));
}

TEST_F(AppTest, MarkerThatThisCopyMayNotOpenCountsAsAnotherCopyRunning)
{
    // The marker of a copy of another account: an empty access list refuses everyone else.
    SECURITY_DESCRIPTOR sd;
    ASSERT_TRUE(::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
    ACL acl;
    ASSERT_TRUE(::InitializeAcl(&acl, sizeof acl, ACL_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE));
    SECURITY_ATTRIBUTES sa = {sizeof sa, &sd, FALSE};
    HANDLE hMarker = ::CreateSemaphoreA(&sa, 1, 1, "TAVIUpdata");
    ASSERT_NE(hMarker, nullptr);

    AppProcess app(Quoted(MakeSamplePackage("denied")) + " 1 1");
    EXPECT_FALSE(app.WaitForExit(2000));
    EXPECT_EQ(app.MainWindow(), nullptr) << "ran beside the other copy";
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));

    ::CloseHandle(hMarker);
    ASSERT_TRUE(app.WaitForExit(20000));
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of denied");
}

TEST_F(AppTest, LogPaneAndProgressBarStayVisibleAndFindableThroughoutARun)
{
    AppProcess app(Quoted(MakeManyFilePackage("watched", 1500)) + " 1 1");
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    int nSamples = 0, nHidden = 0, nNotFound = 0;
    while (app.IsRunning() && ::IsWindow(hMain)) {
        for (const int nID : {IDC_EDT_LOG, IDC_PROGRESS}) {
            const HWND hControl = ::GetDlgItem(hMain, nID);
            RECT rc;
            if (!hControl || !::GetWindowRect(hControl, &rc) || !::IsWindowVisible(hMain))
                continue;
            const POINT center = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            ++nSamples;
            nHidden += !::IsWindowVisible(hControl);
            nNotFound += ::WindowFromPoint(center) != hControl;
        }
        ::Sleep(5);
    }
    EXPECT_GT(nSamples, 100);
    EXPECT_EQ(0, nHidden);
    EXPECT_EQ(0, nNotFound);
    ASSERT_TRUE(app.WaitForExit(30000));  // the window goes before the process
    EXPECT_EQ(app.ExitCode(), 0u);
}
