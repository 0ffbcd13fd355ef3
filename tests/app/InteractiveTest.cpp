// Started without arguments: the operator picks a package in the file
// dialog, and may run one update after another.
#include "AppTest.h"

namespace {

// The file dialog's file name box: an edit, or the edit inside a combo box.
HWND FileNameBox(HWND hFileDialog)
{
    for (int nID : {0x47C, 0x480}) {
        HWND hItem = ::GetDlgItem(hFileDialog, nID);
        if (!hItem)
            continue;
        char szClass[64] = "";
        ::GetClassNameA(hItem, szClass, sizeof szClass);
        if (lstrcmpiA(szClass, "Edit") == 0)
            return hItem;
        if (HWND hEdit = ::FindWindowExA(hItem, nullptr, "Edit", nullptr))
            return hEdit;
        if (HWND hCombo = ::FindWindowExA(hItem, nullptr, "ComboBox", nullptr))
            if (HWND hEdit = ::FindWindowExA(hCombo, nullptr, "Edit", nullptr))
                return hEdit;
    }
    return nullptr;
}

} // namespace

class InteractiveTest : public AppTest {
protected:
    // Presses the upgrade button, enters the package's path in the file
    // dialog that opens, and presses its Open button.
    void PickPackage(const AppProcess& app, HWND hMain, const std::string& package)
    {
        const HWND hButton = ::GetDlgItem(hMain, IDC_BTN_UPGRADE);
        ASSERT_TRUE(::IsWindowEnabled(hButton));
        ::PostMessageA(hButton, BM_CLICK, 0, 0);
        HWND hFileDialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hFileDialog = app.FindOtherDialog()) != nullptr; }, 10000));
        HWND hName = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hName = FileNameBox(hFileDialog)) != nullptr; }, 5000));
        DWORD_PTR dwResult = 0;
        ::SendMessageTimeoutA(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(package.c_str()), SMTO_ABORTIFHUNG,
                              2000, &dwResult);
        ::PostMessageA(hFileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(hFileDialog, IDOK)));
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(hFileDialog); }, 5000));
    }

    // Waits for the run of the named package to end with the button enabled again.
    static bool WaitForRunOf(HWND hMain, const std::string& name)
    {
        return WaitUntil(
            [&] {
                return DlgItemText(hMain, IDC_STC_STATUS) == "更新完成" &&
                       DlgItemText(hMain, IDC_EDT_LOG).find("升级包名称:" + name) != std::string::npos &&
                       ::IsWindowEnabled(::GetDlgItem(hMain, IDC_BTN_UPGRADE));
            },
            20000);
    }
};

TEST_F(InteractiveTest, PackagesPickedInTheFileDialogAreInstalledOneAfterAnother)
{
    const std::string first = MakeSamplePackage("one");
    const std::string second = MakeSamplePackage("two");
    AppProcess app;
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    EXPECT_EQ(DlgItemText(hMain, IDC_STC_STATUS), "请选择升级文件路径");
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(hMain, IDC_BTN_UPGRADE)));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(hMain, IDC_EDT_PATH)));

    PickPackage(app, hMain, first);
    ASSERT_TRUE(WaitForRunOf(hMain, "one"));
    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of one");
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));

    // The button is enabled again, and a second run's log replaces the first's.
    PickPackage(app, hMain, second);
    ASSERT_TRUE(WaitForRunOf(hMain, "two"));
    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of two");
    const std::string log = DlgItemText(hMain, IDC_EDT_LOG);
    EXPECT_EQ(log.find("升级包名称:one"), std::string::npos) << log;
    EXPECT_TRUE(app.IsRunning());
}

TEST_F(InteractiveTest, CancelledFileDialogChangesNothing)
{
    AppProcess app;
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ::PostMessageA(::GetDlgItem(hMain, IDC_BTN_UPGRADE), BM_CLICK, 0, 0);
    HWND hFileDialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hFileDialog = app.FindOtherDialog()) != nullptr; }, 10000));
    ::PostMessageA(hFileDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(hFileDialog); }, 5000));

    ::Sleep(300);
    EXPECT_EQ(DlgItemText(hMain, IDC_STC_STATUS), "请选择升级文件路径");
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(hMain, IDC_BTN_UPGRADE)));
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));
}
