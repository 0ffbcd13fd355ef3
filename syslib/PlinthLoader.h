#pragma once
#include <windows.h>

// Run-time binding of the suite's system library, Plinth.dll, from the Windows
// system directory. The library's 154 entry points are resolved by name into
// one slot each; the wrappers (PlinthWrappers.h) call through the slots.

// Size of the environment record that GetPlinth fills.
constexpr int PLINTH_ENV_SIZE = 188910;

// Position of each entry point in the resolution order, counted from 1. A
// missing entry point at position n makes LoadPlinth answer -(n + 1).
enum class PlinthEntry : int {
    GetPlinth = 1, GetDefaultPlinth, SaveSysInertia, SavePlinth, GetDllVer,
    GetField, GetSysID, GetDBUsrPass, WinExecEx, GetServicesState,
    Stop_Services, Open_Services, MakeSurePathExistsACreate, CreateODBC, PostLog,
    GetLog, SetSuperMode, GetPlinthStrSize, GetVers, GetPrecisionData,
    GetPrecisionDataAny, CnvHZ2PY, GetTV2IDInfo, GetMidDat, GetSerialPortInfo,
    DatCompressPro_PP, GetLangueString, GetItemIDByParamID, MakeCharPass, DeCodeDigital,
    EnCodeDigital, GetParamIDByName, IsDigital, CnvJpeg2BmpFile, SaveLog,
    HDSetNum, HDAddDat, HDGetDat, OpenNet, CloseNet,
    ReadNetData, SendNetData, GetHostIP, Ping, ScanPort,
    ParseIP, GetWGAlias, GetInfoAlias, TrimLeft, TrimRight,
    ParseStdHead_Info, ParseStdHead_Std, ParseStdHead_Item, ParseStdHead_Result, IsSubID_int,
    IsSubID_char, WriteStdHead_Info, WriteStdHead_Result, FindProcess, KillProcess,
    GetProcess, ParseStdHead, WriteStdHead_Item, WriteStdHead, WriteStdHead_Std,
    ParseStdHead_ProDat, WriteStdHead_Result_Data, WriteStdHead_Result_Judge, ParseStdHead_Info_Idx, ParseStdHead_Std_Idx,
    ParseStdHead_Item_New, ParseStdHead_Item_New_Idx, WriteStdHead_Item_New, ParseStdHead_Result_Idx, ParseStdHead_Item_Idx,
    CnvStdHead_Result, GetJudgeString, ParseStdHead_Result_Idx_Old, ParseStdHead_ProDat_Idx, WriteStdHead_ProDat,
    GetAbsDays, GetField2, GetInfoID, SortResult, ChangeFileExtName,
    ParseFileExtName, RemoveStdHead_Result, GetTV2LineInfo, GetMainID, GetDateByTimeSpan,
    BackupDB, RestoreDB, UTFDecode, LoadXML, FindItem,
    IntoItem, GetAttr, NextItem, ExitItem, WriteStdHead_Item_New_Judge,
    WriteStdHead_Item_New_CheckNum, GetCurProcess, OpenHardware, Hardware_ReadAI, Hardware_WriteAO,
    Hardware_ReadDI, Hardware_WriteDO, Hardware_WriteSDO, Hardware_WriteIDO, CloseHardware,
    RemoveStdHead_Item_New, GetFileSPID, CnvIntData, GetRand, LoadSpecialFun,
    GetEtherNetStatus, SaveSysKey, SaveSysKey2, Filter_1, SetLayer,
    ParseFileExtNameEx, ReleaseMemory, CompressFile, UnCompressFile, GetEtherNetStatusEx,
    JudgeVersion, ExportDMIConfig, ImportDMIConfig, CnvStdHead_Result_Compatible, ComputeDaySpan,
    SwitchCPU, MakeAvgData, MakeAvgData_M2, GetFileDayTime, DoCheck,
    CompressFileEx, GetMemSPID, GetProDat_Max, GetProDat_Pos, GetProDatAll_Pos,
    GetSysDriverInfo, GetTV2LineStationInfoByIP, ParseFileExtNameExA, CreateShutKey, CreateNewKey,
    DeleteKey, SetValueKeyString, SetValueKeyLong, DeleteValue, GetQueryValueL,
    GetQueryValueS, TestPath, GetCompressFileExCnt, GetUnCompressFileExCnt,
};

constexpr int PLINTH_ENTRY_COUNT = 154;

// The exported name of the entry point at a position.
const char* PlinthEntryName(PlinthEntry entry);

// Module of the loaded library, or nullptr.
extern HMODULE g_hPlinth;

// The resolved address of an entry point, or nullptr when it is not resolved.
FARPROC PlinthSlot(PlinthEntry entry);

// Loads the variant's file (2, 4, 8, 16: "Plinth<n>b.dll"; anything else:
// "Plinth.dll") from the system directory and resolves every entry point.
// Answers 1, or -1 (no library), -(n + 1) (entry point n missing), -1000 (no
// system directory) or -9999 (wrong environment record size).
int LoadPlinth(int nVariant);

// Releases the library, if one is loaded, and clears every slot.
void FreePlinth();
