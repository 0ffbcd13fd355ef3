#include "AppTest.h"

#include <cstdio>

void AppTest::SetUp()
{
    RemoveTree(kScratch);
    MakeDirectories(kScratch);
    ASSERT_TRUE(InstallSystemLibrary());
}

void AppTest::TearDown()
{
    RemoveTree(kScratch);
}

std::string AppTest::MakeSamplePackage(const std::string& name)
{
    const std::string source = std::string(kScratch) + "\\src-" + name;
    WriteFileText(source + "\\Data\\a.txt", "a of " + name);
    WriteFileText(source + "\\Bin\\b.ini", "[b]\r\nfrom=" + name + "\r\n");
    const std::string package = std::string(kScratch) + "\\pkg\\" + name + ".tv2bck";
    MakeDirectories(std::string(kScratch) + "\\pkg");
    EXPECT_EQ(BuildPackage(package, InstallRoot(), source, name), 0u);
    return package;
}

std::string AppTest::MakeManyFilePackage(const std::string& name, int nFiles)
{
    const std::string source = std::string(kScratch) + "\\src-" + name;
    for (int n = 0; n < nFiles; ++n)
        WriteFileText(source + "\\Data\\" + ManyFileName(n), ManyFileText(n));
    const std::string package = std::string(kScratch) + "\\pkg\\" + name + ".tv2bck";
    MakeDirectories(std::string(kScratch) + "\\pkg");
    EXPECT_EQ(BuildPackage(package, InstallRoot(), source, name), 0u);
    return package;
}

std::string AppTest::ManyFileName(int n)
{
    char szName[32];
    snprintf(szName, sizeof szName, "f%04d.txt", n);
    return szName;
}

bool AppTest::WaitForStatus(HWND hMain, const std::string& text, DWORD dwTimeoutMs)
{
    return WaitUntil([&] { return ::IsWindow(hMain) && DlgItemText(hMain, IDC_STC_STATUS) == text; },
                     dwTimeoutMs);
}
