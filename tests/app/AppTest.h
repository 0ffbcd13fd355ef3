#pragma once
#include <gtest/gtest.h>
#include <string>

#include "AppProcess.h"
#include "AppTestSupport.h"
#include "resource.h"

// Each test starts from an empty scratch folder and the build's Plinth.dll in
// the system directory.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A package of two files, a.txt for <root>\Data and b.ini for <root>\Bin,
    // whose texts carry the name: D:\apptest\pkg\<name>.tv2bck, root
    // D:\apptest\inst.
    std::string MakeSamplePackage(const std::string& name);
    // A package of nFiles small files for <root>\Data, whose unpack and
    // install take a while: D:\apptest\pkg\<name>.tv2bck.
    std::string MakeManyFilePackage(const std::string& name, int nFiles);
    static std::string ManyFileName(int n);
    static std::string ManyFileText(int n) { return "file " + std::to_string(n); }
    // Where the package's staging directory is made.
    static std::string StagingDirectory() { return std::string(kScratch) + "\\pkg\\TAVIBACKTmp"; }
    static std::string InstallRoot() { return std::string(kScratch) + "\\inst"; }

    // Waits until the status text reads the text, or the window is gone.
    static bool WaitForStatus(HWND hMain, const std::string& text, DWORD dwTimeoutMs = 20000);
};

// Quoted for a command line.
inline std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}
