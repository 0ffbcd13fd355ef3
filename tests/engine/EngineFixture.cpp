#include "EngineFixture.h"

#include "PlinthLoader.h"
#include "SharedState.h"
#include "TestFiles.h"

void EngineTest::SetUp()
{
    m_savedArgc = __argc;
    m_savedArgv = __argv;
    __argc = 1;

    m_library = ReadBytes(ProgramDirectory() + "\\Plinth.dll");
    ASSERT_FALSE(m_library.empty()) << "Plinth.dll is not in the build's bin directory";
    WriteBytes(SystemLibraryPath(), m_library);

    m_dir = FreshTestDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name());
    g_szPackagePath[0] = g_szUpdateDir[0] = '\0';
    g_nShowLog = 1;
    g_nAutoExit = 1;
    g_hUpdateThread = nullptr;
    g_bThreadEnd = 1;
    g_bUpdateDone = 0;
    g_nExitCode = 0;
}

void EngineTest::TearDown()
{
    FreePlinth();
    WriteBytes(SystemLibraryPath(), m_library);
    __argc = m_savedArgc;
    __argv = m_savedArgv;
}

std::string EngineTest::VersionedLibrary(int nMajor)
{
    return ReadBytes(ProgramDirectory() + "\\engine_ver" + std::to_string(nMajor) + ".dll");
}
