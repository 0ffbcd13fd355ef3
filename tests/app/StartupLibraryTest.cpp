// The system library at start-up: the message when it is missing, and the
// copy of the master copy into the system directory.
#include "AppTest.h"

#include <vector>

namespace {

const char kMasterDir[] = "D:\\TAVI\\System\\BIN";

// The text of a message box: its one non-empty static.
std::string MessageBoxText(HWND hBox)
{
    std::string text;
    for (HWND hChild = ::FindWindowExA(hBox, nullptr, "Static", nullptr); hChild && text.empty();
         hChild = ::FindWindowExA(hBox, hChild, "Static", nullptr))
        text = WindowText(hChild);
    return text;
}

} // namespace

class StartupLibraryTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_master = std::string(kMasterDir) + "\\plinth.dll";
        m_saved = std::string(kScratch) + "\\master.saved";
        m_bHadMaster = ::CopyFileA(m_master.c_str(), m_saved.c_str(), FALSE) != FALSE;
        MakeDirectories(kMasterDir);
    }
    void TearDown() override
    {
        if (m_bHadMaster)
            ::CopyFileA(m_saved.c_str(), m_master.c_str(), FALSE);
        else
            ::DeleteFileA(m_master.c_str());
        InstallSystemLibrary();
        AppTest::TearDown();
    }

    static void Close(AppProcess& app, HWND hMain)
    {
        ::PostMessageA(hMain, WM_CLOSE, 0, 0);
        EXPECT_TRUE(app.WaitForExit(3000));
    }

    std::string m_master;
    std::string m_saved;
    bool m_bHadMaster = false;
};

TEST_F(StartupLibraryTest, MissingLibraryIsReportedThenCopiedFromTheMasterAndLoadedAtOnce)
{
    ASSERT_TRUE(RemoveSystemLibrary());
    ASSERT_TRUE(::CopyFileA((BinDirectory() + "Plinth.dll").c_str(), m_master.c_str(), FALSE));

    AppProcess app;
    HWND hBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hBox = app.FindOtherDialog("TAVIUpdata")) != nullptr; }, 10000));
    EXPECT_EQ(MessageBoxText(hBox), "Plinth.dll 加载错误或者没有该文件！");
    // The copy comes after the message: the library was looked for first.
    EXPECT_FALSE(FileExists(SystemLibraryPath()));
    ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);

    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    EXPECT_EQ(ReadBytes(SystemLibraryPath()), ReadBytes(m_master));
    EXPECT_EQ(DlgItemText(hMain, IDC_STC_VERSION).rfind("版本:", 0), 0u) << "the copy is in use";
    Close(app, hMain);
}

TEST_F(StartupLibraryTest, UnattendedStartUsesTheCopyOnceTheOperatorOrTheTimeHasAnsweredTheMessage)
{
    ASSERT_TRUE(RemoveSystemLibrary());
    ASSERT_TRUE(::CopyFileA((BinDirectory() + "Plinth.dll").c_str(), m_master.c_str(), FALSE));
    const std::string package = MakeSamplePackage("repaired");
    {
        // An operator who is there may answer at once; the run then uses the copy.
        AppProcess app(Quoted(package) + " 1 1");
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hBox = app.FindOtherDialog("TAVIUpdata")) != nullptr; }, 10000));
        ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(app.WaitForExit(20000));
        EXPECT_EQ(app.ExitCode(), 0u);
        EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of repaired");
    }

    // Nobody answers, and there is no library anywhere: the message goes by
    // itself after ten seconds, and the run ends at the unpack.
    ASSERT_TRUE(RemoveSystemLibrary());
    ASSERT_TRUE(::DeleteFileA(m_master.c_str()));
    AppProcess app(Quoted(package) + " 1 1");
    HWND hBox = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hBox = app.FindOtherDialog("TAVIUpdata")) != nullptr; }, 10000));
    EXPECT_FALSE(WaitUntil([&] { return !::IsWindow(hBox); }, 8000)) << "closed too soon";
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(hBox); }, 7000));
    ASSERT_TRUE(app.WaitForExit(10000));
    EXPECT_EQ(app.ExitCode(), 2u);
}

TEST_F(StartupLibraryTest, LibraryAlreadyInTheSystemDirectoryIsNeverReplaced)
{
    WriteFileText(m_master, "a master copy that differs");
    const std::string installed = ReadBytes(SystemLibraryPath());

    AppProcess app;
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    EXPECT_EQ(DlgItemText(hMain, IDC_STC_VERSION).rfind("版本:", 0), 0u);
    Close(app, hMain);
    EXPECT_EQ(ReadBytes(SystemLibraryPath()), installed);
}
