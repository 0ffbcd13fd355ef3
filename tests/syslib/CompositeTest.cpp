#include "PlinthLoader.h"
#include "PlinthWrappers.h"
#include "SystemDirectory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr int kIsSubIdInt = 55;
constexpr int kIsSubIdChar = 56;
constexpr int kGetParamIdByName = 32;
constexpr int kGetMainId = 89;
constexpr int kGetDateByTimeSpan = 90;
constexpr int kParseResult = 54;
constexpr int kParseResultIdx = 74;

class CompositeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreePlinth();
        fake::Install("FakePlinth.dll", "Plinth.dll");
        ASSERT_EQ(LoadPlinth(1), 1);
        fake::Reset();
    }
    void TearDown() override
    {
        FreePlinth();
        fake::UninstallAllVariants();
    }
};

TEST(CompositeWithoutLibrary, AnswersTheirFixedValues)
{
    FreePlinth();
    char text[] = "x";
    EXPECT_EQ(Trim(text, ' '), 1);
    EXPECT_EQ(GetMainIDIfSub(120001, 12), 0);
    EXPECT_EQ(GetMainIDByName("120001", 0), PLINTH_NOT_RESOLVED);
    EXPECT_EQ(GetMainIDStr("12"), PLINTH_NOT_RESOLVED);
    EXPECT_EQ(GetMainIDStr(nullptr), PLINTH_NOT_RESOLVED);
    char out[32] = "unchanged";
    EXPECT_EQ(GetDateStrByTimeSpan("2026-12-09", 1, out), PLINTH_NOT_RESOLVED);
    EXPECT_STREQ(out, "unchanged");
}

TEST_F(CompositeTest, TrimCallsBothSidesWithTheSameArguments)
{
    char text[] = "**x**";
    EXPECT_EQ(Trim(text, '*'), 1);
    EXPECT_EQ(fake::CallCount(49), 1);
    EXPECT_EQ(fake::CallCount(50), 1);
    EXPECT_EQ(fake::LastArgs(49)[0], fake::LastArgs(50)[0]);
    EXPECT_EQ(fake::LastArgs(50)[1], static_cast<std::uint32_t>('*'));
}

TEST_F(CompositeTest, MainIdIfSubComparesTheTruncatedQuotient)
{
    fake::SetAnswer(kIsSubIdInt, 1);
    fake::SetAnswer(kGetMainId, 4321);

    EXPECT_EQ(GetMainIDIfSub(123456, 12), 4321);
    EXPECT_EQ(fake::CallCount(kGetMainId), 1);
    EXPECT_EQ(fake::LastArgs(kGetMainId)[0], 123456u);

    EXPECT_EQ(GetMainIDIfSub(123456, 13), 0);
    EXPECT_EQ(fake::CallCount(kGetMainId), 1) << "GetMainID is not called for another main ID";

    EXPECT_EQ(GetMainIDIfSub(-123456, -12), 4321) << "the quotient truncates toward zero";
    EXPECT_EQ(GetMainIDIfSub(-123456, -13), 0);

    fake::SetAnswer(kIsSubIdInt, 0);
    EXPECT_EQ(GetMainIDIfSub(123456, 12), 0);
}

TEST_F(CompositeTest, MainIdStrConvertsTheText)
{
    EXPECT_EQ(GetMainIDStr(nullptr), 0);
    EXPECT_EQ(fake::CallCount(kGetMainId), 0);

    EXPECT_EQ(GetMainIDStr("  -42abc"), kGetMainId);
    EXPECT_EQ(static_cast<int>(fake::LastArgs(kGetMainId)[0]), -42);
    GetMainIDStr("abc");
    EXPECT_EQ(fake::LastArgs(kGetMainId)[0], 0u);
}

TEST_F(CompositeTest, MainIdByNameTakesTheSubIdOrTheParameterId)
{
    fake::SetAnswer(kIsSubIdChar, 1);
    GetMainIDByName("120003", 5);
    EXPECT_EQ(fake::LastArgs(kGetMainId)[0], 120003u);
    EXPECT_EQ(fake::CallCount(kGetParamIdByName), 0);

    fake::SetAnswer(kIsSubIdChar, 0);
    fake::SetAnswer(kGetParamIdByName, 1);
    fake::SetText("777");
    GetMainIDByName("brake", 5);
    EXPECT_EQ(fake::LastArgs(kGetParamIdByName)[1], 5u);
    EXPECT_EQ(fake::LastArgs(kGetMainId)[0], 777u);

    fake::SetAnswer(kGetParamIdByName, 0);
    EXPECT_EQ(GetMainIDByName("brake", 5), kGetMainId);
    EXPECT_EQ(fake::LastArgs(kGetMainId)[0], 0u);
}

TEST_F(CompositeTest, DateStrByTimeSpanFormatsTheLibrarysDate)
{
    char out[32] = {};
    EXPECT_EQ(GetDateStrByTimeSpan("2026-3-7", 3, out), 1);
    EXPECT_STREQ(out, "2026-03-10");
    EXPECT_EQ(fake::LastArgs(82)[3], static_cast<std::uint32_t>('-'));
    EXPECT_EQ(static_cast<int>(fake::LastArgs(kGetDateByTimeSpan)[1]), 3);

    EXPECT_EQ(GetDateStrByTimeSpan(nullptr, 3, out), 0);
    EXPECT_EQ(GetDateStrByTimeSpan("2026-3-7", 3, nullptr), 0);
}

TEST_F(CompositeTest, DateStrByTimeSpanKeepsTheCopyWhenAStepFails)
{
    char out[32] = {};
    fake::FailField2At(2);
    EXPECT_EQ(GetDateStrByTimeSpan("2026-12-09", 1, out), -2);
    EXPECT_STREQ(out, "2026-12-09");
    EXPECT_EQ(fake::CallCount(kGetDateByTimeSpan), 0);

    fake::FailField2At(-1);
    fake::SetAnswer(kGetDateByTimeSpan, 0);
    std::strcpy(out, "");
    EXPECT_EQ(GetDateStrByTimeSpan("2026-12-09", 1, out), 0);
    EXPECT_STREQ(out, "2026-12-09");
}

TEST_F(CompositeTest, ResultTextReadsShortAndLongRecords)
{
    StdResultShort shortRecord = {};
    shortRecord.id = 65535;
    std::strcpy(shortRecord.text, "OK");
    shortRecord.flag = 200;
    fake::SetRecord(&shortRecord, sizeof shortRecord, 1);
    fake::SetAnswer(kParseResult, 3);

    char text[128] = {};
    int flag = -1;
    EXPECT_EQ(ParseStdHead_Result_Text("src", 2, text, &flag), 3);
    EXPECT_STREQ(text, "OK");
    EXPECT_EQ(flag, 200) << "the flag byte is unsigned";
    EXPECT_EQ(fake::LastArgs(kParseResult)[1], 2u);

    StdResultLong longRecord = {};
    longRecord.id = 40000;
    std::memset(longRecord.text, 'L', 60);
    longRecord.flag = 1;
    fake::SetRecord(&longRecord, sizeof longRecord, 2);
    fake::SetAnswer(kParseResultIdx, 9);
    int id = -1;
    EXPECT_EQ(ParseStdHead_Result_Idx_Text("src", 0, &id, text, &flag), 9);
    EXPECT_EQ(std::strlen(text), 60u);
    EXPECT_EQ(id, 40000);
    EXPECT_EQ(flag, 1);
}

TEST_F(CompositeTest, ResultTextStopsAtTheEndOfAnUnterminatedField)
{
    StdResultShort record = {};
    std::memcpy(record.text, "0123456789", 10); // the whole field, no terminator
    record.flag = 'Z';
    fake::SetRecord(&record, sizeof record, 1);

    char text[128];
    std::memset(text, '#', sizeof text);
    int flag = 0;
    ASSERT_GT(ParseStdHead_Result_Text("src", 0, text, &flag), 0);
    EXPECT_STREQ(text, "0123456789") << "the flag byte after the field is not text";

    StdResultLong longRecord = {};
    std::memset(longRecord.text, 'x', sizeof longRecord.text);
    longRecord.flag = 'Z';
    fake::SetRecord(&longRecord, sizeof longRecord, 2);
    int id = 0;
    ASSERT_GT(ParseStdHead_Result_Idx_Text("src", 0, &id, text, &flag), 0);
    EXPECT_EQ(std::strlen(text), 100u);
}

TEST_F(CompositeTest, ResultTextRefusesOtherTypesAndMissingArguments)
{
    StdResultShort record = {};
    std::strcpy(record.text, "NEW");
    fake::SetRecord(&record, sizeof record, 3);

    char text[32] = "before";
    int flag = 77;
    EXPECT_EQ(ParseStdHead_Result_Text("src", 0, text, &flag), -3);
    EXPECT_STREQ(text, "before");
    EXPECT_EQ(flag, 77);

    EXPECT_EQ(ParseStdHead_Result_Text(nullptr, 0, text, &flag), 0);
    EXPECT_EQ(ParseStdHead_Result_Text("src", 0, nullptr, &flag), -1);
    int id = 0;
    EXPECT_EQ(ParseStdHead_Result_Idx_Text(nullptr, 0, &id, text, &flag), 0);
    EXPECT_EQ(ParseStdHead_Result_Idx_Text("src", 0, &id, nullptr, &flag), -1);
    EXPECT_EQ(fake::CallCount(kParseResultIdx), 0);

    fake::SetRecord(&record, sizeof record, 1);
    fake::SetAnswer(kParseResult, 0);
    EXPECT_EQ(ParseStdHead_Result_Text("src", 0, text, &flag), -2);
}

} // namespace
