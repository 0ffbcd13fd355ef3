// The facade loads the project's Plinth.dll from the system directory with
// every entry point resolved; the environment record, the log, and the
// answers of the entry points that the library does not support.
#include "PlinthEnv.h"
#include "PlinthLoader.h"
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(Facade, LoadsTheProjectLibraryWithEveryEntryPoint)
{
    // The environment loaded it already; unload and load once more.
    FreePlinth();
    ASSERT_EQ(1, LoadPlinth(1));
    for (int position = 1; position <= PLINTH_ENTRY_COUNT; ++position) {
        PlinthEntry entry = static_cast<PlinthEntry>(position);
        EXPECT_NE(nullptr, PlinthSlot(entry)) << PlinthEntryName(entry);
    }
    char path[MAX_PATH] = {};
    ASSERT_TRUE(GetModuleFileNameA(g_hPlinth, path, MAX_PATH));
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(0, lstrcmpiA(path, (std::string(system) + "\\Plinth.dll").c_str()));
}

TEST(Facade, GetPlinthZeroesTheRecordBehindAHeader)
{
    std::vector<unsigned char> record(PLINTH_ENV_SIZE + 16, 0xCC);
    EXPECT_EQ(1, GetPlinth(record.data()));
    PlinthEnvHeader header;
    std::memcpy(&header, record.data(), sizeof header);
    EXPECT_EQ(0, std::memcmp(header.magic, "PLINTHEV", 8));
    EXPECT_EQ(sizeof header, header.headerSize);
    EXPECT_EQ(static_cast<std::uint32_t>(PLINTH_ENV_SIZE), header.recordSize);
    EXPECT_STREQ("TAVI Plinth.dll (project build)", header.filler);
    EXPECT_EQ(GetCurrentProcessId(), header.processId);
    char version[1024];
    GetVers(nullptr, version);
    EXPECT_STREQ(version, header.version);
    for (std::size_t i = sizeof header; i < static_cast<std::size_t>(PLINTH_ENV_SIZE); ++i)
        ASSERT_EQ(0, record[i]) << "byte " << i;
    for (std::size_t i = PLINTH_ENV_SIZE; i < record.size(); ++i)
        ASSERT_EQ(0xCC, record[i]) << "written past the record at " << i;
    EXPECT_EQ(-1, GetPlinth(nullptr));
}

TEST(Facade, PostLogAppendsTimeStampedLinesToTheLogFile)
{
    char log[MAX_PATH] = {};
    ASSERT_GT(GetLog(log, sizeof log), 0);
    EXPECT_NE(nullptr, std::strstr(log, "\\TAVI\\Plinth.log"));
    std::string unique = "TAVI\xC9\xFD\xBC\xB6\xB9\xA4\xBE\xDF " + std::to_string(GetTickCount()); // TAVI升级工具
    EXPECT_EQ(1, PostLog(unique.c_str()));
    EXPECT_EQ(1, PostLog("second line"));
    std::string text = plinthtest::ReadFileBytes(log);
    std::size_t at = text.find(unique + "\r\n");
    ASSERT_NE(std::string::npos, at);
    // "YYYY-MM-DD HH:MM:SS.mmm " before the text.
    std::size_t lineStart = text.rfind('\n', at);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    std::string stamp = text.substr(lineStart, at - lineStart);
    ASSERT_EQ(24u, stamp.size()) << stamp;
    EXPECT_EQ('-', stamp[4]);
    EXPECT_EQ(':', stamp[13]);
    EXPECT_NE(std::string::npos, text.find("second line\r\n", at));
    EXPECT_EQ(-1, PostLog(nullptr));
}

TEST(Facade, UnsupportedEntryPointsAnswerMinus1001)
{
    char out[512] = {};
    int data[4] = {1, 2, 3, 4};
    EXPECT_EQ(-1001, SaveSysInertia(nullptr));
    EXPECT_EQ(-1001, SavePlinth(nullptr, 0));
    EXPECT_EQ(-1001, GetSysID(out));
    EXPECT_EQ(-1001, CreateODBC("dsn", "drv", "srv", "db", "u", "p", 0));
    EXPECT_EQ(-1001, MakeCharPass("x", out));
    EXPECT_EQ(-1001, OpenNet("127.0.0.1", 80, 0, 100));
    EXPECT_EQ(-1001, SendNetData(0, "x", 1, 0, 0));
    EXPECT_EQ(-1001, ParseStdHead_Result("x", 0, out, data));
    EXPECT_EQ(-1001, WriteStdHead_Result(out, 0, nullptr, 1, 0));
    EXPECT_EQ(-1001, Hardware_ReadAI(0));
    EXPECT_EQ(-1001, LoadXML("x.xml"));
    EXPECT_EQ(-1001, IntoItem());
    EXPECT_EQ(-1001, GetTV2LineStationInfoByIP("1.2.3.4", data, data + 1));
    EXPECT_EQ(-1001, CreateShutKey("a", "b", 1));
    EXPECT_STREQ("", GetLangueString(5));
}
}
