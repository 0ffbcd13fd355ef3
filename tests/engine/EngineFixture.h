#pragma once
#include <gtest/gtest.h>
#include <string>

// Every engine test: the project's Plinth.dll in the system directory, a
// fresh directory of its own on D:, the shared globals at their start values
// and no command line (the dialog opens as when started by hand).
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A staged or installed file of one of the test libraries (version 1 or 2).
    static std::string VersionedLibrary(int nMajor);

    std::string m_dir;
    std::string m_library;  // the project's Plinth.dll, as built

private:
    int m_savedArgc = 0;
    char** m_savedArgv = nullptr;
};
