#include "PlinthTestEnv.h"

#include "PlinthLoader.h"
#include "PlinthWrappers.h"

#include <gtest/gtest.h>

#include <vector>

namespace plinthtest {

int g_unpackPercentAtLoad = 0;

TempDir::TempDir(const char* tag)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    m_path = std::string(temp) + "plinth-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter);
    RemoveTree(m_path);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TempDir::~TempDir()
{
    RemoveTree(m_path);
}

int CountEntries(const std::string& dir)
{
    int count = 0;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::string name = fd.cFileName;
        if (name != "." && name != "..")
            ++count;
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return count;
}

int RunProgram(const std::string& commandLine, std::string* output)
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + ProgramDirectory() + "\\" + commandLine;
    line.insert(line.find(".exe") + 4, "\"");
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return -1;
    }
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
        text.append(buffer, n);
    CloseHandle(readEnd);
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (output)
        *output = text;
    return static_cast<int>(code);
}

namespace {

std::string SystemPlinthPath()
{
    char directory[MAX_PATH] = {};
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\Plinth.dll";
}

// Installs the built Plinth.dll where the facade looks and loads it once.
class PlinthEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string built = ProgramDirectory() + "\\Plinth.dll";
        ASSERT_TRUE(CopyFileA(built.c_str(), SystemPlinthPath().c_str(), FALSE)) << GetLastError();
        ASSERT_EQ(1, LoadPlinth(1));
        g_unpackPercentAtLoad = GetUnCompressFileExCnt();
    }
    void TearDown() override
    {
        FreePlinth();
        DeleteFileA(SystemPlinthPath().c_str());
    }
};

const ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new PlinthEnvironment);

} // namespace

} // namespace plinthtest
