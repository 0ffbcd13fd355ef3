// One hundred unattended runs in a row, as a line's scripts make them.
#include "AppTest.h"

TEST_F(AppTest, HundredCommandLineRunsInARowEachSucceed)
{
    const std::string package = MakeSamplePackage("nightly");
    for (int nRun = 1; nRun <= 100; ++nRun) {
        AppProcess app(Quoted(package) + " 1 1");
        ASSERT_TRUE(app.WaitForExit(30000)) << "run " << nRun;
        ASSERT_EQ(app.ExitCode(), 0u) << "run " << nRun;
    }
    EXPECT_EQ(ReadBytes(InstallRoot() + "\\Data\\a.txt"), "a of nightly");
    EXPECT_FALSE(DirectoryExists(StagingDirectory()));
}
