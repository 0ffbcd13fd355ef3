#include "EngineFixture.h"
#include "PlinthLoader.h"
#include "RelatedPrograms.h"
#include "TestFiles.h"

#include <vector>

using RelatedProgramsTest = EngineTest;

TEST_F(RelatedProgramsTest, EndsEveryProgramOfTheTableAndNoOther)
{
    std::vector<HANDLE> programs;
    for (const char* image : g_szRelatedPrograms) {
        programs.push_back(StartSleeperAs(m_dir, image));
        ASSERT_NE(nullptr, programs.back()) << image;
    }
    HANDLE bystander = StartSleeperAs(m_dir, "Bystander.exe");
    ASSERT_NE(nullptr, bystander);

    ASSERT_EQ(1, LoadPlinth(1));
    EXPECT_EQ(1, engine::CloseRelatedPrograms());
    for (size_t i = 0; i < programs.size(); ++i) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(programs[i], 5000)) << g_szRelatedPrograms[i];
        CloseHandle(programs[i]);
    }
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(bystander, 0));
    TerminateProcess(bystander, 0);
    CloseHandle(bystander);
}

TEST_F(RelatedProgramsTest, WithoutTheLibraryNothingEndsAndTheCallStillAnswersOne)
{
    HANDLE program = StartSleeperAs(m_dir, g_szRelatedPrograms[0]);
    ASSERT_NE(nullptr, program);
    EXPECT_EQ(1, engine::CloseRelatedPrograms());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(program, 200));
    TerminateProcess(program, 0);
    CloseHandle(program);
}
