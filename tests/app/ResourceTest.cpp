// What the program's resources say about it: the version resource that
// Explorer shows, and the About box behind the system menu.
#include "AppTest.h"

#include <vector>

namespace {

class VersionInfo {
public:
    explicit VersionInfo(const std::string& path)
    {
        DWORD dwHandle = 0;
        const DWORD dwSize = ::GetFileVersionInfoSizeA(path.c_str(), &dwHandle);
        m_data.resize(dwSize);
        if (dwSize == 0 || !::GetFileVersionInfoA(path.c_str(), 0, dwSize, m_data.data()))
            m_data.clear();
    }

    bool Loaded() const { return !m_data.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const { return static_cast<const VS_FIXEDFILEINFO*>(Query("\\")); }

    DWORD Translation() const
    {
        const auto* pWords = static_cast<const WORD*>(Query("\\VarFileInfo\\Translation"));
        return pWords ? MAKELONG(pWords[1], pWords[0]) : 0;
    }

    // A string of the Chinese (PRC), Unicode block, as ANSI text.
    std::string String(const char* pszName) const
    {
        const void* pValue = Query((std::string("\\StringFileInfo\\080404b0\\") + pszName).c_str());
        return pValue ? static_cast<const char*>(pValue) : std::string("(none)");
    }

private:
    const void* Query(const char* pszBlock) const
    {
        void* pValue = nullptr;
        UINT nLength = 0;
        if (!Loaded() ||
            !::VerQueryValueA(const_cast<BYTE*>(m_data.data()), pszBlock, &pValue, &nLength))
            return nullptr;
        return pValue;
    }

    std::vector<BYTE> m_data;
};

} // namespace

TEST(ResourceTest, VersionResourceDescribesTheToolAndItsCommandLine)
{
    const VersionInfo info(BinDirectory() + "TAVIUpdata.exe");
    ASSERT_TRUE(info.Loaded());
    ASSERT_NE(info.Fixed(), nullptr);
    EXPECT_EQ(info.Fixed()->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(info.Fixed()->dwFileVersionLS, MAKELONG(1, 2));
    EXPECT_EQ(info.Fixed()->dwProductVersionMS, MAKELONG(11, 20));
    EXPECT_EQ(info.Fixed()->dwProductVersionLS, MAKELONG(6, 7));
    EXPECT_EQ(info.Translation(), MAKELONG(1200, 0x0804));
    EXPECT_EQ(info.String("FileVersion"), "1, 0, 2, 1");
    EXPECT_EQ(info.String("ProductVersion"), "20, 11, 7, 6");
    EXPECT_EQ(info.String("InternalName"), "TAVIUpdata");
    EXPECT_EQ(info.String("ProductName"), "TAVI升级工具");
    EXPECT_EQ(info.String("OriginalFilename"), "TAVI升级工具");
    EXPECT_EQ(info.String("Comments"),
              "TAVI系统升级工具( 启动格式 参数1更新包全路径 ,参数2 是否显示日志，参数3 是否自动退出  ,如:D:\\ABC.tv2bck)");
}

TEST_F(AppTest, SystemMenuOpensTheAboutBox)
{
    AppProcess app;
    const HWND hMain = app.WaitForMainWindow();
    ASSERT_NE(hMain, nullptr);
    ::PostMessageA(hMain, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    HWND hAbout = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hAbout = app.FindOtherDialog("关于 TAVI升级工具")) != nullptr; }, 5000));
    bool bNamed = false;
    for (HWND hChild = ::FindWindowExA(hAbout, nullptr, "Static", nullptr); hChild;
         hChild = ::FindWindowExA(hAbout, hChild, "Static", nullptr))
        bNamed = bNamed || WindowText(hChild) == "TAVI升级工具 1.0版";
    EXPECT_TRUE(bNamed);

    // Its OK button closes it, and the tool goes on.
    ::PostMessageA(hAbout, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(hAbout); }, 3000));
    EXPECT_TRUE(app.IsRunning());
}

TEST(ResourceTest, ManifestAsksForCommonControlsSixAsInvokerOnWindowsVistaToEleven)
{
    HMODULE hExe = ::LoadLibraryExA((BinDirectory() + "TAVIUpdata.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(hExe, nullptr);
    // Resource 1 is the one Windows reads when it starts the process.
    std::string manifest;
    if (HRSRC hInfo = ::FindResourceA(hExe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)))  // RT_MANIFEST
        manifest.assign(static_cast<const char*>(::LockResource(::LoadResource(hExe, hInfo))),
                        ::SizeofResource(hExe, hInfo));
    ::FreeLibrary(hExe);
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "<requestedExecutionLevel level=\"asInvoker\"",
                             "{e2011457-1546-43c5-a5fe-008deee3d3f0}",    // Windows Vista
                             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",    // 7
                             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",    // 8
                             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",    // 8.1
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})  // 10 and 11
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}
