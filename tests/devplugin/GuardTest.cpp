#include "DevPlugin.h"
#include "FaultKinds.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace {

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
