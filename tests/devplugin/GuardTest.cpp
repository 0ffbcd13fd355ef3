#include "DevPlugin.h"
#include "FaultKinds.h"
#include "PluginGuard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// RtlUnwind as Windows returns from it (ZeroingUnwind.S), and how often it ran.
extern "C" VOID WINAPI ZeroingRtlUnwind(PVOID, PVOID, PEXCEPTION_RECORD, PVOID);
extern "C" int g_nZeroingUnwinds;

namespace {

// The x87 control word and MXCSR without its exception flags.
struct FloatControls {
    WORD wX87 = 0;
    DWORD dwMxcsr = 0;
    bool operator==(const FloatControls& other) const { return wX87 == other.wX87 && dwMxcsr == other.dwMxcsr; }
};

FloatControls CurrentFloatControls()
{
    FloatControls controls;
    __asm__ volatile("fnstcw %0" : "=m"(controls.wX87));
    __asm__ volatile("stmxcsr %0" : "=m"(controls.dwMxcsr));
    controls.dwMxcsr &= ~0x3Fu;
    return controls;
}

// What PluginHost wrote to its standard output and error, and its exit code.
struct HostRun {
    DWORD dwExitCode = 0;
    std::string out;
    std::string err;
};

HostRun RunPluginHost(int nCalls)
{
    const std::string outPath = ProgramDirectory() + "\\PluginHost.out";
    const std::string errPath = ProgramDirectory() + "\\PluginHost.err";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    auto create = [&](const std::string& path) {
        return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    };
    HANDLE hOut = create(outPath), hErr = create(errPath);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = hOut;
    startup.hStdError = hErr;
    PROCESS_INFORMATION process = {};
    std::string command = "\"" + ProgramDirectory() + "\\PluginHost.exe\" " + std::to_string(nCalls);
    HostRun run;
    run.dwExitCode = static_cast<DWORD>(-1);
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, 120000);
        GetExitCodeProcess(process.hProcess, &run.dwExitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(hOut);
    CloseHandle(hErr);
    run.out = ReadBytes(outPath);
    run.err = ReadBytes(errPath);
    DeleteFileA(outPath.c_str());
    DeleteFileA(errPath.c_str());
    return run;
}

class FaultPluginTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_plugin.LoadPlugin("FaultPlugin.dll")); }

    // What the plug-in's last recording entry point was passed.
    std::vector<int> Recorded()
    {
        auto recorded = reinterpret_cast<int(__stdcall*)(int*)>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_plugin.m_hModule, "RecordedArguments")));
        int values[16] = {};
        int nCount = recorded(values);
        return std::vector<int>(values, values + nCount);
    }

    CDevPlugin m_plugin;
};

} // namespace

TEST_F(FaultPluginTest, EveryFaultEndsOnlyTheCallAndTheNextCallWorks)
{
    // Each kind twice in a row: on a wrapper with a result and on one without.
    for (int nKind = FAULT_READ; nKind < FAULT_KIND_COUNT; ++nKind) {
        SCOPED_TRACE(nKind);
        EXPECT_EQ(m_plugin.ExtRun(nKind), DEVPLUGIN_EXCEPTION);
        m_plugin.ExtGetErrorInfo(nKind);
        EXPECT_EQ(Recorded(), std::vector<int>{nKind});
        EXPECT_EQ(m_plugin.ExtRun(FAULT_NONE), FAULT_PLUGIN_RUN_RESULT);
    }
    EXPECT_STREQ(m_plugin.GetVersion(), "CATCH-DevGetVersion");
    EXPECT_EQ(m_plugin.ExtVehicleTypeParse(1, 2, 3, 4, 5, 6), -1);
    EXPECT_TRUE(m_plugin.IsLoaded());
    EXPECT_NE(m_plugin.m_pfnExtRun, nullptr);
}

TEST_F(FaultPluginTest, FaultsOnTwoThreadsAtOnceAreCaughtOnBoth)
{
    std::atomic<int> nReady{0};
    int nWrong[2] = {};
    auto work = [&](int nThread) {
        ++nReady;
        while (nReady < 2) {
        }
        for (int i = 0; i < 50; ++i) {
            for (int nKind = FAULT_READ; nKind < FAULT_STACK_OVERFLOW; ++nKind) {
                nWrong[nThread] += m_plugin.ExtRun(nKind) != DEVPLUGIN_EXCEPTION;
                nWrong[nThread] += m_plugin.ExtRun(FAULT_NONE) != FAULT_PLUGIN_RUN_RESULT;
            }
        }
    };
    std::thread first(work, 0);
    std::thread second(work, 1);
    first.join();
    second.join();
    EXPECT_EQ(nWrong[0], 0);
    EXPECT_EQ(nWrong[1], 0);
}

TEST_F(FaultPluginTest, AFunctionWithAnotherArgumentCountLeavesTheCallerIntact)
{
    EXPECT_EQ(m_plugin.ExtStop(), 9);  // takes three words and writes them
    EXPECT_EQ(m_plugin.ExtMove(RECT{1, 2, 3, 4}), 11);  // takes none of four
    EXPECT_EQ(m_plugin.ExtRun(FAULT_NONE), FAULT_PLUGIN_RUN_RESULT);
    EXPECT_EQ(m_plugin.ExtRun(FAULT_READ), DEVPLUGIN_EXCEPTION);
}

TEST_F(FaultPluginTest, PassesArgumentsUnchanged)
{
    struct Case {
        std::function<int()> call;
        int nResult;
        std::vector<int> arguments;
    };
    const Case cases[] = {
        {[&] { return m_plugin.ExtShow(7, RECT{1, -2, 300, 4000}); }, 10, {7, 1, -2, 300, 4000}},
        {[&] { return m_plugin.ExtPrintScreen(5, 6, RECT{-10, 20, -30, 40}); }, 30, {5, 6, -10, 20, -30, 40}},
        {[&] { return m_plugin.ExtWriteInterNetDat(1, 2, 3, 4, 5, 6, 7, 8, 0xBEEF); }, 31,
         {1, 2, 3, 4, 5, 6, 7, 8, 0xBEEF}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), c.nResult);
        EXPECT_EQ(Recorded(), c.arguments);
    }
}

TEST_F(FaultPluginTest, EveryFaultIsCaughtWhenRtlUnwindKeepsNoRegisterAsOnWindows)
{
    struct RealUnwind {
        decltype(g_pfnDevPluginRtlUnwind) pfn = g_pfnDevPluginRtlUnwind;
        ~RealUnwind() { g_pfnDevPluginRtlUnwind = pfn; }
    } real;
    g_pfnDevPluginRtlUnwind = &ZeroingRtlUnwind;
    for (int nKind = FAULT_READ; nKind < FAULT_KIND_COUNT; ++nKind) {
        SCOPED_TRACE(nKind);
        const int nUnwindsBefore = g_nZeroingUnwinds;
        EXPECT_EQ(m_plugin.ExtRun(nKind), DEVPLUGIN_EXCEPTION);
        // A stack overflow is resumed from without unwinding. Under qemu, which
        // gives Wine no trap number, it arrives as an illegal instruction first
        // and is unwound like the others.
        if (nKind != FAULT_STACK_OVERFLOW) {
            EXPECT_EQ(g_nZeroingUnwinds - nUnwindsBefore, 1);
        }
        EXPECT_EQ(m_plugin.ExtRun(FAULT_NONE), FAULT_PLUGIN_RUN_RESULT);
    }
}

TEST_F(FaultPluginTest, TheCallersFloatingPointControlsComeBackOnEveryReturn)
{
    const FloatControls before = CurrentFloatControls();
    const struct {
        int nKind;
        int nResult;
    } cases[] = {
        {FAULT_NONE, FAULT_PLUGIN_RUN_RESULT},
        {FAULT_READ, DEVPLUGIN_EXCEPTION},
        {FAULT_MSVC_THROW, DEVPLUGIN_EXCEPTION},
        {FAULT_GCC_THROW, DEVPLUGIN_EXCEPTION},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_plugin.ExtInitCalib(c.nKind), c.nResult) << c.nKind;
        EXPECT_EQ(CurrentFloatControls(), before) << c.nKind;
    }
}

TEST(DevPluginGuardOutput, AThousandCaughtThrowsOfThePluginPrintNothing)
{
    const HostRun run = RunPluginHost(1000);
    EXPECT_EQ(run.dwExitCode, 0u);
    EXPECT_EQ(std::atoi(run.out.c_str()), 1000) << run.out;
    EXPECT_EQ(run.err, "");
}
