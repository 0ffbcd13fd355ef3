#include "AfxResource.h"
#include "DevPlugin.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>
#include <vector>

namespace {

struct Member {
    int position;
    const char* exportName;
    FARPROC address;
};

// The 131 members in the list's order.
std::vector<Member> Members(const CDevPlugin& plugin)
{
    return {
#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) \
    {position, #exportName, reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(plugin.m_pfn##wrapper))},
#include "DevPluginEntries.def"
    };
}

template <typename Call>
std::string AnswerText(Call call)
{
    using Result = decltype(call());
    if constexpr (std::is_void_v<Result>) {
        call();
        return "returned";
    } else if constexpr (std::is_same_v<Result, const char*>) {
        return call();
    } else {
        return std::to_string(call());
    }
}

// Every wrapper's answer with all arguments zero, by wrapper name.
std::vector<std::pair<std::string, std::string>> WrapperAnswers(CDevPlugin& plugin)
{
    // The list names its parameters n1, n2, ..., rc and w9.
    int n1 = 0, n2 = 0, n3 = 0, n4 = 0, n5 = 0, n6 = 0, n7 = 0, n8 = 0, n9 = 0, n10 = 0, n11 = 0;
    RECT rc = {};
    WORD w9 = 0;
    std::vector<std::pair<std::string, std::string>> result;
#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) \
    result.emplace_back(#wrapper, AnswerText([&] { return plugin.wrapper arguments; }));
#include "DevPluginEntries.def"
    return result;
}

const char* const kDriverNames[] = {"Open", "Close", "Run", "Stop", "GetDate", "GetType", "GetVersion"};

} // namespace

TEST(DevPluginLoader, EveryWrapperAnswersItsFixedValuesWhenUnresolvedAndWhenTheCallRaises)
{
    // The answers, unresolved and raised, of the wrappers whose answers are
    // not -1007 and -1008.
    const std::map<std::string, std::pair<std::string, std::string>> special = {
        {"GetDevData", {"0", "0"}},
        {"ExtGetStatusInfo", {"0", "0"}},
        {"ExtMessageBox", {"0", "0"}},
        {"ExtMeterCommand", {"0", "-1"}},
        {"ExtVehicleTypeParse", {"0", "-1"}},
        {"GetVersion", {"NULL", "CATCH-DevGetVersion"}},
        {"ExtGetErrorInfo", {"returned", "returned"}},
        {"ExtInitMessageBox", {"returned", "returned"}},
        {"ExtInitMegColor", {"returned", "returned"}},
    };
    auto expectAnswers = [&](CDevPlugin& plugin, bool bRaised) {
        std::vector<std::pair<std::string, std::string>> answers = WrapperAnswers(plugin);
        ASSERT_EQ(answers.size(), 131u);
        for (const auto& [wrapper, answer] : answers) {
            auto it = special.find(wrapper);
            const std::pair<std::string, std::string> expected =
                it == special.end() ? std::make_pair(std::string("-1007"), std::string("-1008")) : it->second;
            EXPECT_EQ(answer, bRaised ? expected.second : expected.first) << wrapper << (bRaised ? " raised" : "");
        }
    };

    CDevPlugin fresh;
    CDevPlugin freed;
    ASSERT_TRUE(freed.LoadPlugin("FaultPlugin.dll"));
    ASSERT_NE(freed.m_pfnExtRun, nullptr);
    freed.FreePlugin();
    CDevPlugin missing;
    EXPECT_FALSE(missing.LoadPlugin("NoSuchPlugin.dll"));
    for (CDevPlugin* plugin : {&fresh, &freed, &missing}) {
        EXPECT_FALSE(plugin->IsLoaded());
        EXPECT_EQ(plugin->m_hModule, nullptr);
        for (const Member& member : Members(*plugin))
            EXPECT_EQ(member.address, nullptr) << member.position;
        expectAnswers(*plugin, false);
    }
    freed.FreePlugin(); // a second time: nothing to do
    EXPECT_FALSE(freed.IsLoaded());

    // Every member of a plug-in whose every export raises.
    CDevPlugin raising;
    ASSERT_TRUE(raising.LoadPlugin("RaisingPlugin.dll"));
    for (const Member& member : Members(raising))
        ASSERT_NE(member.address, nullptr) << member.position;
    expectAnswers(raising, true);
}

TEST(DevPluginLoader, ResolvesOnlyWhatTheLibraryExportsAndEveryPlaceOfARepeatedName)
{
    CDevPlugin driver;
    ASSERT_TRUE(driver.LoadPlugin("DriverPlugin.dll"));
    int nSet = 0;
    for (const Member& member : Members(driver)) {
        bool bDriverName = false;
        for (const char* pszName : kDriverNames)
            bDriverName = bDriverName || std::string(pszName) == member.exportName;
        EXPECT_EQ(member.address, bDriverName ? GetProcAddress(driver.m_hModule, member.exportName) : nullptr)
            << member.exportName;
        nSet += member.address != nullptr;
    }
    EXPECT_EQ(nSet, 7);
    EXPECT_EQ(driver.Open(1, 2, 3, 4, 5, 6), 654321);
    EXPECT_EQ(driver.Run(5), 15);
    EXPECT_STREQ(driver.GetVersion(), "Driver 1.0");
    EXPECT_EQ(driver.ExtRun(1), DEVPLUGIN_NOT_RESOLVED);

    CDevPlugin extInit;
    ASSERT_TRUE(extInit.LoadPlugin("ExtInitPlugin.dll"));
    FARPROC address = GetProcAddress(extInit.m_hModule, "ExtInit");
    ASSERT_NE(address, nullptr);
    int nShared = 0;
    for (const Member& member : Members(extInit)) {
        EXPECT_EQ(member.address, std::string(member.exportName) == "ExtInit" ? address : nullptr);
        nShared += member.address == address;
    }
    EXPECT_EQ(nShared, 6);
    EXPECT_EQ(extInit.ExtInit(5), 6);
    EXPECT_EQ(extInit.UserExtInit(5, 0, 0), 6);
}

TEST(DevPluginLoader, KeepsTheFirstLibraryAndTheCallersResourceModule)
{
    HINSTANCE hResources = GetModuleHandleA("kernel32.dll");
    AfxSetResourceHandle(hResources);
    {
        CDevPlugin plugin;
        EXPECT_FALSE(plugin.LoadPlugin("NoSuchPlugin.dll"));
        EXPECT_EQ(AfxGetResourceHandle(), hResources);
        ASSERT_TRUE(plugin.LoadPlugin("DriverPlugin.dll"));
        EXPECT_EQ(AfxGetResourceHandle(), hResources);
        HMODULE hFirst = plugin.m_hModule;
        EXPECT_TRUE(plugin.LoadPlugin("ExtInitPlugin.dll"));
        EXPECT_EQ(plugin.m_hModule, hFirst);
        EXPECT_EQ(plugin.m_pfnExtInit, nullptr);
        EXPECT_EQ(GetModuleHandleA("ExtInitPlugin.dll"), nullptr);

        // Two objects hold a reference each.
        CDevPlugin second;
        ASSERT_TRUE(second.LoadPlugin("DriverPlugin.dll"));
        second.FreePlugin();
        EXPECT_STREQ(plugin.GetVersion(), "Driver 1.0");
    }
    // The destructor released the library.
    EXPECT_EQ(GetModuleHandleA("DriverPlugin.dll"), nullptr);
    AfxSetResourceHandle(nullptr);
}
