#include "PlinthLoader.h"
#include "PlinthWrappers.h"
#include "SystemDirectory.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct WrapperCall {
    int position;
    const char* name;
    std::function<double()> call;
};

// Every wrapper with a number result, called with harmless arguments. The
// stand-in answers each entry point's position, so a wrapper wired to the
// wrong slot, or with the wrong argument count, shows here.
const std::vector<WrapperCall>& AllNumberWrappers()
{
    static const std::vector<WrapperCall> calls = {
        {1, "GetPlinth", [] { return static_cast<double>(GetPlinth(nullptr)); }},
        {2, "GetDefaultPlinth", [] { return static_cast<double>(GetDefaultPlinth(nullptr)); }},
        {3, "SaveSysInertia", [] { return static_cast<double>(SaveSysInertia(nullptr)); }},
        {4, "SavePlinth", [] { return static_cast<double>(SavePlinth(nullptr, 0)); }},
        {5, "GetDllVer", [] { return static_cast<double>(GetDllVer(nullptr)); }},
        {6, "GetField", [] { return static_cast<double>(GetField(nullptr, nullptr, 0)); }},
        {7, "GetSysID", [] { return static_cast<double>(GetSysID(nullptr)); }},
        {8, "GetDBUsrPass", [] { return static_cast<double>(GetDBUsrPass(nullptr, nullptr)); }},
        {9, "WinExecEx", [] { return static_cast<double>(WinExecEx(nullptr, 0)); }},
        {10, "GetServicesState", [] { return static_cast<double>(GetServicesState(nullptr)); }},
        {11, "Stop_Services", [] { return static_cast<double>(Stop_Services(nullptr)); }},
        {12, "Open_Services", [] { return static_cast<double>(Open_Services(nullptr)); }},
        {13, "MakeSurePathExistsACreate", [] { return static_cast<double>(MakeSurePathExistsACreate(nullptr)); }},
        {14, "CreateODBC", [] { return static_cast<double>(CreateODBC(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0)); }},
        {15, "PostLog", [] { return static_cast<double>(PostLog(nullptr)); }},
        {16, "GetLog", [] { return static_cast<double>(GetLog(nullptr, 0)); }},
        {17, "SetSuperMode", [] { return static_cast<double>(SetSuperMode(0)); }},
        {19, "GetVers", [] { return static_cast<double>(GetVers(nullptr, nullptr)); }},
        {20, "GetPrecisionData", [] { return static_cast<double>(GetPrecisionData(nullptr, 0)); }},
        {21, "GetPrecisionDataAny", [] { return static_cast<double>(GetPrecisionDataAny(nullptr, 0)); }},
        {22, "CnvHZ2PY", [] { return static_cast<double>(CnvHZ2PY(nullptr, nullptr, 0)); }},
        {23, "GetTV2IDInfo", [] { return static_cast<double>(GetTV2IDInfo(0, nullptr)); }},
        {24, "GetMidDat", [] { return static_cast<double>(GetMidDat(nullptr, 0, 0, 0, 0, nullptr)); }},
        {25, "GetSerialPortInfo", [] { return static_cast<double>(GetSerialPortInfo(nullptr)); }},
        {26, "DatCompressPro_PP", [] { return static_cast<double>(DatCompressPro_PP(nullptr, 0, nullptr, 0, 0)); }},
        {28, "GetItemIDByParamID", [] { return static_cast<double>(GetItemIDByParamID(0)); }},
        {29, "MakeCharPass", [] { return static_cast<double>(MakeCharPass(nullptr, nullptr)); }},
        {30, "DeCodeDigital", [] { return static_cast<double>(DeCodeDigital(nullptr, nullptr)); }},
        {31, "EnCodeDigital", [] { return static_cast<double>(EnCodeDigital(nullptr, nullptr)); }},
        {32, "GetParamIDByName", [] { return static_cast<double>(GetParamIDByName(nullptr, 0, nullptr)); }},
        {33, "IsDigital", [] { return static_cast<double>(IsDigital(nullptr)); }},
        {34, "CnvJpeg2BmpFile", [] { return static_cast<double>(CnvJpeg2BmpFile(nullptr, nullptr)); }},
        {35, "SaveLog", [] { return static_cast<double>(SaveLog(nullptr, nullptr)); }},
        {36, "HDSetNum", [] { return static_cast<double>(HDSetNum(0, 0)); }},
        {37, "HDAddDat", [] { return static_cast<double>(HDAddDat(0, 0)); }},
        {38, "HDGetDat", [] { return static_cast<double>(HDGetDat(0, nullptr)); }},
        {39, "OpenNet", [] { return static_cast<double>(OpenNet(nullptr, 0, 0, 0)); }},
        {40, "CloseNet", [] { return static_cast<double>(CloseNet(0)); }},
        {41, "ReadNetData", [] { return static_cast<double>(ReadNetData(0, nullptr, 0)); }},
        {42, "SendNetData", [] { return static_cast<double>(SendNetData(0, nullptr, 0, 0, 0)); }},
        {43, "GetHostIP", [] { return static_cast<double>(GetHostIP(nullptr)); }},
        {44, "Ping", [] { return static_cast<double>(Ping(nullptr)); }},
        {45, "ScanPort", [] { return static_cast<double>(ScanPort(nullptr, 0)); }},
        {46, "ParseIP", [] { return static_cast<double>(ParseIP(nullptr, nullptr, nullptr, nullptr, nullptr)); }},
        {47, "GetWGAlias", [] { return static_cast<double>(GetWGAlias(0, nullptr)); }},
        {48, "GetInfoAlias", [] { return static_cast<double>(GetInfoAlias(0, nullptr)); }},
        {49, "TrimLeft", [] { return static_cast<double>(TrimLeft(nullptr, 'x')); }},
        {50, "TrimRight", [] { return static_cast<double>(TrimRight(nullptr, 'x')); }},
        {51, "ParseStdHead_Info", [] { return static_cast<double>(ParseStdHead_Info(nullptr, 0, nullptr)); }},
        {52, "ParseStdHead_Std", [] { return static_cast<double>(ParseStdHead_Std(nullptr, 0, nullptr)); }},
        {53, "ParseStdHead_Item", [] { return static_cast<double>(ParseStdHead_Item(nullptr, 0, nullptr)); }},
        {54, "ParseStdHead_Result", [] { return static_cast<double>(ParseStdHead_Result(nullptr, 0, nullptr, nullptr)); }},
        {55, "IsSubID_int", [] { return static_cast<double>(IsSubID_int(0)); }},
        {56, "IsSubID_char", [] { return static_cast<double>(IsSubID_char(nullptr)); }},
        {57, "WriteStdHead_Info", [] { return static_cast<double>(WriteStdHead_Info(nullptr, 0, nullptr)); }},
        {58, "WriteStdHead_Result", [] { return static_cast<double>(WriteStdHead_Result(nullptr, 0, nullptr, 0, 0)); }},
        {59, "FindProcess", [] { return static_cast<double>(FindProcess(nullptr)); }},
        {60, "KillProcess", [] { return static_cast<double>(KillProcess(nullptr)); }},
        {61, "GetProcess", [] { return static_cast<double>(GetProcess(nullptr)); }},
        {62, "ParseStdHead", [] { return static_cast<double>(ParseStdHead(nullptr, nullptr)); }},
        {63, "WriteStdHead_Item", [] { return static_cast<double>(WriteStdHead_Item(nullptr, nullptr)); }},
        {64, "WriteStdHead", [] { return static_cast<double>(WriteStdHead(nullptr, nullptr)); }},
        {65, "WriteStdHead_Std", [] { return static_cast<double>(WriteStdHead_Std(nullptr, 0, nullptr, 0)); }},
        {66, "ParseStdHead_ProDat", [] { return static_cast<double>(ParseStdHead_ProDat(nullptr, 0, nullptr)); }},
        {67, "WriteStdHead_Result_Data", [] { return static_cast<double>(WriteStdHead_Result_Data(nullptr, 0, nullptr, 0)); }},
        {68, "WriteStdHead_Result_Judge", [] { return static_cast<double>(WriteStdHead_Result_Judge(nullptr, 0, 0, 0)); }},
        {69, "ParseStdHead_Info_Idx", [] { return static_cast<double>(ParseStdHead_Info_Idx(nullptr, 0, nullptr)); }},
        {70, "ParseStdHead_Std_Idx", [] { return static_cast<double>(ParseStdHead_Std_Idx(nullptr, 0, nullptr)); }},
        {71, "ParseStdHead_Item_New", [] { return static_cast<double>(ParseStdHead_Item_New(nullptr, 0, nullptr)); }},
        {72, "ParseStdHead_Item_New_Idx", [] { return static_cast<double>(ParseStdHead_Item_New_Idx(nullptr, 0, nullptr)); }},
        {73, "WriteStdHead_Item_New", [] { return static_cast<double>(WriteStdHead_Item_New(nullptr, 0, nullptr, 0)); }},
        {74, "ParseStdHead_Result_Idx", [] { return static_cast<double>(ParseStdHead_Result_Idx(nullptr, 0, nullptr, nullptr)); }},
        {75, "ParseStdHead_Item_Idx", [] { return static_cast<double>(ParseStdHead_Item_Idx(nullptr, 0, nullptr)); }},
        {76, "CnvStdHead_Result", [] { return static_cast<double>(CnvStdHead_Result(nullptr, nullptr)); }},
        {77, "GetJudgeString", [] { return static_cast<double>(GetJudgeString(0, nullptr, 0)); }},
        {78, "ParseStdHead_Result_Idx_Old", [] { return static_cast<double>(ParseStdHead_Result_Idx_Old(nullptr, 0, nullptr, nullptr)); }},
        {79, "ParseStdHead_ProDat_Idx", [] { return static_cast<double>(ParseStdHead_ProDat_Idx(nullptr, 0, nullptr)); }},
        {80, "WriteStdHead_ProDat", [] { return static_cast<double>(WriteStdHead_ProDat(nullptr, 0, nullptr)); }},
        {81, "GetAbsDays", [] { return static_cast<double>(GetAbsDays(nullptr)); }},
        {82, "GetField2", [] { return static_cast<double>(GetField2(nullptr, nullptr, 0, 'x')); }},
        {83, "GetInfoID", [] { return static_cast<double>(GetInfoID(nullptr)); }},
        {84, "SortResult", [] { return static_cast<double>(SortResult(nullptr)); }},
        {85, "ChangeFileExtName", [] { return static_cast<double>(ChangeFileExtName(nullptr, nullptr, nullptr)); }},
        {86, "ParseFileExtName", [] { return static_cast<double>(ParseFileExtName(nullptr, nullptr, nullptr)); }},
        {87, "RemoveStdHead_Result", [] { return static_cast<double>(RemoveStdHead_Result(nullptr, 0)); }},
        {88, "GetTV2LineInfo", [] { return static_cast<double>(GetTV2LineInfo(0, nullptr)); }},
        {89, "GetMainID", [] { return static_cast<double>(GetMainID(0)); }},
        {90, "GetDateByTimeSpan", [] { return static_cast<double>(GetDateByTimeSpan(nullptr, 0, nullptr)); }},
        {91, "BackupDB", [] { return static_cast<double>(BackupDB(nullptr)); }},
        {92, "RestoreDB", [] { return static_cast<double>(RestoreDB(nullptr)); }},
        {93, "UTFDecode", [] { return static_cast<double>(UTFDecode(nullptr)); }},
        {94, "LoadXML", [] { return static_cast<double>(LoadXML(nullptr)); }},
        {95, "FindItem", [] { return static_cast<double>(FindItem(nullptr)); }},
        {96, "IntoItem", [] { return static_cast<double>(IntoItem()); }},
        {97, "GetAttr", [] { return static_cast<double>(GetAttr(nullptr, nullptr)); }},
        {98, "NextItem", [] { return static_cast<double>(NextItem()); }},
        {99, "ExitItem", [] { return static_cast<double>(ExitItem()); }},
        {100, "WriteStdHead_Item_New_Judge", [] { return static_cast<double>(WriteStdHead_Item_New_Judge(nullptr, 0, 0)); }},
        {101, "WriteStdHead_Item_New_CheckNum", [] { return static_cast<double>(WriteStdHead_Item_New_CheckNum(nullptr, 0, 0)); }},
        {102, "GetCurProcess", [] { return static_cast<double>(GetCurProcess(nullptr)); }},
        {103, "OpenHardware", [] { return static_cast<double>(OpenHardware()); }},
        {104, "Hardware_ReadAI", [] { return static_cast<double>(Hardware_ReadAI(0)); }},
        {105, "Hardware_WriteAO", [] { return static_cast<double>(Hardware_WriteAO(0)); }},
        {106, "Hardware_ReadDI", [] { return static_cast<double>(Hardware_ReadDI(0)); }},
        {107, "Hardware_WriteDO", [] { return static_cast<double>(Hardware_WriteDO(0)); }},
        {108, "Hardware_WriteSDO", [] { return static_cast<double>(Hardware_WriteSDO(0)); }},
        {109, "Hardware_WriteIDO", [] { return static_cast<double>(Hardware_WriteIDO(0)); }},
        {110, "CloseHardware", [] { return static_cast<double>(CloseHardware()); }},
        {111, "RemoveStdHead_Item_New", [] { return static_cast<double>(RemoveStdHead_Item_New(nullptr, 0)); }},
        {112, "GetFileSPID", [] { return static_cast<double>(GetFileSPID(nullptr, nullptr)); }},
        {113, "CnvIntData", [] { return static_cast<double>(CnvIntData(0, nullptr, 0)); }},
        {114, "GetRand", [] { return static_cast<double>(GetRand(0, 0)); }},
        {115, "LoadSpecialFun", [] { return static_cast<double>(LoadSpecialFun(nullptr, 0)); }},
        {116, "GetEtherNetStatus", [] { return static_cast<double>(GetEtherNetStatus(0)); }},
        {117, "SaveSysKey", [] { return static_cast<double>(SaveSysKey(nullptr, nullptr, nullptr)); }},
        {118, "SaveSysKey2", [] { return static_cast<double>(SaveSysKey2(nullptr, nullptr)); }},
        {119, "Filter_1", [] { return static_cast<double>(Filter_1(0, 0, 0)); }},
        {120, "SetLayer", [] { return static_cast<double>(SetLayer(nullptr, 0)); }},
        {121, "ParseFileExtNameEx", [] { return static_cast<double>(ParseFileExtNameEx(nullptr, nullptr, nullptr, nullptr, nullptr)); }},
        {122, "ReleaseMemory", [] { return static_cast<double>(ReleaseMemory()); }},
        {123, "CompressFile", [] { return static_cast<double>(CompressFile(nullptr, nullptr)); }},
        {124, "UnCompressFile", [] { return static_cast<double>(UnCompressFile(nullptr, nullptr)); }},
        {125, "GetEtherNetStatusEx", [] { return static_cast<double>(GetEtherNetStatusEx(0, nullptr)); }},
        {126, "JudgeVersion", [] { return static_cast<double>(JudgeVersion(nullptr, nullptr)); }},
        {127, "ExportDMIConfig", [] { return static_cast<double>(ExportDMIConfig(nullptr)); }},
        {128, "ImportDMIConfig", [] { return static_cast<double>(ImportDMIConfig(nullptr)); }},
        {129, "CnvStdHead_Result_Compatible", [] { return static_cast<double>(CnvStdHead_Result_Compatible(nullptr)); }},
        {130, "ComputeDaySpan", [] { return static_cast<double>(ComputeDaySpan(nullptr, nullptr)); }},
        {131, "SwitchCPU", [] { return static_cast<double>(SwitchCPU()); }},
        {132, "MakeAvgData", [] { return static_cast<double>(MakeAvgData(nullptr, 0, 0, nullptr)); }},
        {133, "MakeAvgData_M2", [] { return static_cast<double>(MakeAvgData_M2(nullptr, 0, 0, nullptr)); }},
        {134, "GetFileDayTime", [] { return static_cast<double>(GetFileDayTime(nullptr, nullptr, 0)); }},
        {135, "DoCheck", [] { return static_cast<double>(DoCheck()); }},
        {136, "CompressFileEx", [] { return static_cast<double>(CompressFileEx(nullptr, nullptr)); }},
        {137, "GetMemSPID", [] { return static_cast<double>(GetMemSPID(nullptr, 0, nullptr)); }},
        {138, "GetProDat_Max", [] { return static_cast<double>(GetProDat_Max(nullptr, nullptr)); }},
        {139, "GetProDat_Pos", [] { return static_cast<double>(GetProDat_Pos(nullptr, 0)); }},
        {140, "GetProDatAll_Pos", [] { return static_cast<double>(GetProDatAll_Pos(nullptr, 0, nullptr, 0)); }},
        {141, "GetSysDriverInfo", [] { return static_cast<double>(GetSysDriverInfo(nullptr)); }},
        {142, "GetTV2LineStationInfoByIP", [] { return static_cast<double>(GetTV2LineStationInfoByIP(nullptr, nullptr, nullptr)); }},
        {143, "ParseFileExtNameExA", [] { return static_cast<double>(ParseFileExtNameExA(nullptr, nullptr, nullptr, nullptr, nullptr)); }},
        {144, "CreateShutKey", [] { return static_cast<double>(CreateShutKey(nullptr, nullptr, 0)); }},
        {145, "CreateNewKey", [] { return static_cast<double>(CreateNewKey(nullptr, nullptr)); }},
        {146, "DeleteKey", [] { return static_cast<double>(DeleteKey(nullptr, nullptr)); }},
        {147, "SetValueKeyString", [] { return static_cast<double>(SetValueKeyString(nullptr, nullptr, nullptr, nullptr)); }},
        {148, "SetValueKeyLong", [] { return static_cast<double>(SetValueKeyLong(nullptr, nullptr, nullptr, 0)); }},
        {149, "DeleteValue", [] { return static_cast<double>(DeleteValue(nullptr, nullptr, nullptr)); }},
        {150, "GetQueryValueL", [] { return static_cast<double>(GetQueryValueL(nullptr, nullptr, nullptr, nullptr)); }},
        {151, "GetQueryValueS", [] { return static_cast<double>(GetQueryValueS(nullptr, nullptr, nullptr, nullptr)); }},
        {152, "TestPath", [] { return static_cast<double>(TestPath(nullptr, 0)); }},
        {153, "GetCompressFileExCnt", [] { return static_cast<double>(GetCompressFileExCnt()); }},
        {154, "GetUnCompressFileExCnt", [] { return static_cast<double>(GetUnCompressFileExCnt()); }},
    };
    return calls;
}

double ResolvedAnswer(int position)
{
    switch (position) {
    case 114: return 114.5; // GetRand
    case 119: return 119.5; // Filter_1
    default: return position;
    }
}

class WrapperTest : public ::testing::Test {
protected:
    void SetUp() override { FreePlinth(); }
    void TearDown() override
    {
        FreePlinth();
        fake::UninstallAllVariants();
    }

    void LoadStandIn()
    {
        fake::Install("FakePlinth.dll", "Plinth.dll");
        ASSERT_EQ(LoadPlinth(1), 1);
        fake::Reset();
    }
};

TEST_F(WrapperTest, EveryWrapperAnswersItsNotResolvedValueWithoutALibrary)
{
    ASSERT_EQ(AllNumberWrappers().size(), 152u);
    for (const WrapperCall& wrapper : AllNumberWrappers())
        EXPECT_EQ(wrapper.call(), -1000.0) << wrapper.name;
    EXPECT_STREQ(GetLangueString(7), "No This Funciont");
}

TEST_F(WrapperTest, EveryWrapperCallsItsOwnEntryPointOnce)
{
    LoadStandIn();
    for (const WrapperCall& wrapper : AllNumberWrappers()) {
        EXPECT_EQ(wrapper.call(), ResolvedAnswer(wrapper.position)) << wrapper.name;
        EXPECT_EQ(fake::CallCount(wrapper.position), 1) << wrapper.name;
    }
    EXPECT_STREQ(GetLangueString(7), "fake text 27");
    EXPECT_EQ(fake::LastArgs(27)[0], 7u);
}

TEST_F(WrapperTest, ArgumentsReachTheLibraryUnchangedAndInOrder)
{
    LoadStandIn();

    const char text[] = "a\\b";
    char out[40] = {};
    EXPECT_EQ(GetField2(text, out, 3, '\xA1'), 0) << "no field 3";
    const std::uint32_t* args = fake::LastArgs(82);
    EXPECT_EQ(args[0], reinterpret_cast<std::uintptr_t>(text));
    EXPECT_EQ(args[1], reinterpret_cast<std::uintptr_t>(out));
    EXPECT_EQ(args[2], 3u);
    EXPECT_EQ(args[3], 0xA1u) << "the separator is passed as one 8-bit character";

    char trimmed[] = "  x  ";
    TrimLeft(trimmed, '\xB0');
    EXPECT_EQ(fake::LastArgs(49)[0], reinterpret_cast<std::uintptr_t>(trimmed));
    EXPECT_EQ(fake::LastArgs(49)[1], 0xB0u);
    TrimRight(trimmed, 'y');
    EXPECT_EQ(fake::LastArgs(50)[1], static_cast<std::uint32_t>('y'));

    SetLayer(reinterpret_cast<HWND>(0x1234), 90);
    EXPECT_EQ(fake::LastArgs(120)[0], 0x1234u);
    EXPECT_EQ(fake::LastArgs(120)[1], 90u);

    const char* image = "TV2Main.exe";
    KillProcess(image);
    EXPECT_EQ(fake::LastArgs(60)[0], reinterpret_cast<std::uintptr_t>(image));

    const char* s[6] = {"1", "2", "3", "4", "5", "6"};
    EXPECT_EQ(CreateODBC(s[0], s[1], s[2], s[3], s[4], s[5], 77), 14);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(fake::LastArgs(14)[i], reinterpret_cast<std::uintptr_t>(s[i])) << i;
    EXPECT_EQ(fake::LastArgs(14)[6], 77u);

    char a[2], b[2], c[2], d[2];
    EXPECT_EQ(ParseFileExtNameEx("D:\\x.tv2bck", a, b, c, d), 121);
    EXPECT_EQ(fake::LastArgs(121)[4], reinterpret_cast<std::uintptr_t>(d));
}

TEST_F(WrapperTest, AnAnswerOfTheLibraryIsPassedOnUnchanged)
{
    LoadStandIn();
    fake::SetAnswer(124, -7);
    EXPECT_EQ(UnCompressFile("D:\\p.tv2bck", "D:\\TAVIBACKTmp"), -7);
    fake::SetAnswer(126, -1);
    EXPECT_EQ(JudgeVersion("1", "2"), -1);
}

} // namespace
