// KillProcess on helper processes that the test starts, and SetLayer.
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A copy of the sleeper under its own image name, running until ended.
class Helper {
public:
    explicit Helper(const std::string& image) : m_path(plinthtest::ProgramDirectory() + "\\" + image)
    {
        std::string sleeper = plinthtest::ProgramDirectory() + "\\plinth_sleeper.exe";
        CopyFileA(sleeper.c_str(), m_path.c_str(), FALSE);
    }
    ~Helper()
    {
        for (HANDLE h : m_processes) {
            TerminateProcess(h, 0);
            WaitForSingleObject(h, 3000);
            CloseHandle(h);
        }
        DeleteFileA(m_path.c_str());
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    HANDLE Start()
    {
        std::string line = "\"" + m_path + "\" 60";
        std::vector<char> cmd(line.begin(), line.end());
        cmd.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            return nullptr;
        CloseHandle(pi.hThread);
        m_processes.push_back(pi.hProcess);
        return pi.hProcess;
    }

private:
    std::string m_path;
    std::vector<HANDLE> m_processes;
};

bool Running(HANDLE process)
{
    return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

TEST(Processes, KillProcessEndsEveryProcessOfTheImageAndNoOther)
{
    std::string pid = std::to_string(GetCurrentProcessId());
    Helper victim("plinth_victim_" + pid + ".exe");
    Helper bystander("plinth_bystander_" + pid + ".exe");
    HANDLE first = victim.Start(), second = victim.Start(), other = bystander.Start();
    ASSERT_TRUE(first && second && other);
    Sleep(300); // let them reach their sleep
    EXPECT_EQ(2, FindProcess(("plinth_victim_" + pid + ".exe").c_str()));

    EXPECT_EQ(2, KillProcess(("PLINTH_VICTIM_" + pid + ".EXE").c_str())); // letter case ignored
    EXPECT_FALSE(Running(first));
    EXPECT_FALSE(Running(second));
    EXPECT_TRUE(Running(other));
    EXPECT_EQ(0, KillProcess(("plinth_victim_" + pid + ".exe").c_str()));
    EXPECT_EQ(0, FindProcess(("plinth_victim_" + pid + ".exe").c_str()));
    EXPECT_EQ(-1, KillProcess(nullptr));
}

TEST(Processes, KillProcessNeverEndsTheCallingProcess)
{
    char self[512];
    ASSERT_GT(GetCurProcess(self), 0);
    EXPECT_STREQ("plinth_test.exe", self);
    EXPECT_EQ(0, KillProcess(self));
}

TEST(Window, SetLayerMakesTheWindowLayeredWithThatOpacity)
{
    HWND window = CreateWindowExA(0, "STATIC", "layer", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, SetLayer(window, 0));
    EXPECT_EQ(0, SetLayer(window, 101));
    EXPECT_EQ(0, GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(1, SetLayer(window, 90));
    EXPECT_NE(0, GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(230, alpha);
    EXPECT_NE(0u, flags & LWA_ALPHA);
    DestroyWindow(window);
    EXPECT_EQ(-1, SetLayer(window, 90));
}

} // namespace
