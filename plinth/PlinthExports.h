#pragma once
#include <windows.h>

#include "PlinthContract.h"

// Every export of Plinth.dll, in the order of the facade's entry-point table
// (position in the comment), with the argument and result types of the
// facade's wrappers. All are __stdcall and exported under their plain names.
#define PLINTH_API extern "C" __declspec(dllexport)

PLINTH_API int __stdcall GetPlinth(void* pEnv); // 1
PLINTH_API int __stdcall GetDefaultPlinth(void* pEnv); // 2
PLINTH_API int __stdcall SaveSysInertia(const void* pEnv); // 3
PLINTH_API int __stdcall SavePlinth(const void* pEnv, int nFlags); // 4
PLINTH_API int __stdcall GetDllVer(char* pszOut); // 5
PLINTH_API int __stdcall GetField(const char* pszText, char* pszOut, int nIndex); // 6
PLINTH_API int __stdcall GetSysID(char* pszOut); // 7
PLINTH_API int __stdcall GetDBUsrPass(char* pszUser, char* pszPassword); // 8
PLINTH_API int __stdcall WinExecEx(const char* pszCommandLine, int nShow); // 9
PLINTH_API int __stdcall GetServicesState(const char* pszService); // 10
PLINTH_API int __stdcall Stop_Services(const char* pszService); // 11
PLINTH_API int __stdcall Open_Services(const char* pszService); // 12
PLINTH_API int __stdcall MakeSurePathExistsACreate(const char* pszPath); // 13
PLINTH_API int __stdcall CreateODBC(const char* pszDsn, const char* pszDriver, const char* pszServer, const char* pszDatabase, const char* pszUser, const char* pszPassword, int nFlags); // 14
PLINTH_API int __stdcall PostLog(const char* pszText); // 15
PLINTH_API int __stdcall GetLog(char* pszOut, int nSize); // 16
PLINTH_API int __stdcall SetSuperMode(int nMode); // 17
PLINTH_API int __stdcall GetPlinthStrSize(void); // 18
PLINTH_API int __stdcall GetVers(const char* pszPath, char* pszOut); // 19
PLINTH_API int __stdcall GetPrecisionData(const char* pszNumber, int nDigits); // 20
PLINTH_API int __stdcall GetPrecisionDataAny(const char* pszNumber, int nDigits); // 21
PLINTH_API int __stdcall CnvHZ2PY(const char* pszHanzi, char* pszPinyin, int nSize); // 22
PLINTH_API int __stdcall GetTV2IDInfo(int nId, char* pszOut); // 23
PLINTH_API int __stdcall GetMidDat(const int* pData, int nCount, int nFirst, int nLast, int nFlags, int* pnOut); // 24
PLINTH_API int __stdcall GetSerialPortInfo(char* pszOut); // 25
PLINTH_API int __stdcall DatCompressPro_PP(const void* pIn, int nInSize, void* pOut, int nOutSize, int nMode); // 26
PLINTH_API const char* __stdcall GetLangueString(int nId); // 27
PLINTH_API int __stdcall GetItemIDByParamID(int nParamId); // 28
PLINTH_API int __stdcall MakeCharPass(const char* pszText, char* pszOut); // 29
PLINTH_API int __stdcall DeCodeDigital(const char* pszIn, char* pszOut); // 30
PLINTH_API int __stdcall EnCodeDigital(const char* pszIn, char* pszOut); // 31
PLINTH_API int __stdcall GetParamIDByName(const char* pszName, int n, char* pszOut); // 32
PLINTH_API int __stdcall IsDigital(const char* pszText); // 33
PLINTH_API int __stdcall CnvJpeg2BmpFile(const char* pszJpeg, const char* pszBmp); // 34
PLINTH_API int __stdcall SaveLog(const char* pszFile, const char* pszText); // 35
PLINTH_API int __stdcall HDSetNum(int nChannel, int nCount); // 36
PLINTH_API int __stdcall HDAddDat(int nChannel, int nValue); // 37
PLINTH_API int __stdcall HDGetDat(int nChannel, int* pnOut); // 38
PLINTH_API int __stdcall OpenNet(const char* pszHost, int nPort, int nMode, int nTimeout); // 39
PLINTH_API int __stdcall CloseNet(int hNet); // 40
PLINTH_API int __stdcall ReadNetData(int hNet, char* pOut, int nSize); // 41
PLINTH_API int __stdcall SendNetData(int hNet, const char* pData, int nSize, int nFlags, int nTimeout); // 42
PLINTH_API int __stdcall GetHostIP(char* pszOut); // 43
PLINTH_API int __stdcall Ping(const char* pszHost); // 44
PLINTH_API int __stdcall ScanPort(const char* pszHost, int nPort); // 45
PLINTH_API int __stdcall ParseIP(const char* pszIp, int* pnA, int* pnB, int* pnC, int* pnD); // 46
PLINTH_API int __stdcall GetWGAlias(int nId, char* pszOut); // 47
PLINTH_API int __stdcall GetInfoAlias(int nId, char* pszOut); // 48
PLINTH_API int __stdcall TrimLeft(char* pszText, char ch); // 49
PLINTH_API int __stdcall TrimRight(char* pszText, char ch); // 50
PLINTH_API int __stdcall ParseStdHead_Info(const char* pszSource, int nIndex, void* pOut); // 51
PLINTH_API int __stdcall ParseStdHead_Std(const char* pszSource, int nIndex, void* pOut); // 52
PLINTH_API int __stdcall ParseStdHead_Item(const char* pszSource, int nIndex, void* pOut); // 53
PLINTH_API int __stdcall ParseStdHead_Result(const char* pszSource, int nIndex, void* pOut, int* pnType); // 54
PLINTH_API int __stdcall IsSubID_int(int nId); // 55
PLINTH_API int __stdcall IsSubID_char(const char* pszId); // 56
PLINTH_API int __stdcall WriteStdHead_Info(char* pszTarget, int nIndex, const void* pInfo); // 57
PLINTH_API int __stdcall WriteStdHead_Result(char* pszTarget, int nIndex, const void* pResult, int nType, int nFlags); // 58
PLINTH_API int __stdcall FindProcess(const char* pszImage); // 59
PLINTH_API int __stdcall KillProcess(const char* pszImage); // 60
PLINTH_API int __stdcall GetProcess(char* pszOut); // 61
PLINTH_API int __stdcall ParseStdHead(const char* pszSource, void* pHead); // 62
PLINTH_API int __stdcall WriteStdHead_Item(char* pszTarget, const void* pItem); // 63
PLINTH_API int __stdcall WriteStdHead(char* pszTarget, const void* pHead); // 64
PLINTH_API int __stdcall WriteStdHead_Std(char* pszTarget, int nIndex, const void* pStd, int nFlags); // 65
PLINTH_API int __stdcall ParseStdHead_ProDat(const char* pszSource, int nIndex, void* pOut); // 66
PLINTH_API int __stdcall WriteStdHead_Result_Data(char* pszTarget, int nIndex, const void* pData, int nFlags); // 67
PLINTH_API int __stdcall WriteStdHead_Result_Judge(char* pszTarget, int nIndex, int nJudge, int nFlags); // 68
PLINTH_API int __stdcall ParseStdHead_Info_Idx(const char* pszSource, int nIndex, void* pOut); // 69
PLINTH_API int __stdcall ParseStdHead_Std_Idx(const char* pszSource, int nIndex, void* pOut); // 70
PLINTH_API int __stdcall ParseStdHead_Item_New(const char* pszSource, int nIndex, void* pOut); // 71
PLINTH_API int __stdcall ParseStdHead_Item_New_Idx(const char* pszSource, int nIndex, void* pOut); // 72
PLINTH_API int __stdcall WriteStdHead_Item_New(char* pszTarget, int nIndex, const void* pItem, int nFlags); // 73
PLINTH_API int __stdcall ParseStdHead_Result_Idx(const char* pszSource, int nIndex, void* pOut, int* pnType); // 74
PLINTH_API int __stdcall ParseStdHead_Item_Idx(const char* pszSource, int nIndex, void* pOut); // 75
PLINTH_API int __stdcall CnvStdHead_Result(const char* pszSource, char* pszTarget); // 76
PLINTH_API int __stdcall GetJudgeString(int nJudge, char* pszOut, int nSize); // 77
PLINTH_API int __stdcall ParseStdHead_Result_Idx_Old(const char* pszSource, int nIndex, void* pOut, int* pnType); // 78
PLINTH_API int __stdcall ParseStdHead_ProDat_Idx(const char* pszSource, int nIndex, void* pOut); // 79
PLINTH_API int __stdcall WriteStdHead_ProDat(char* pszTarget, int nIndex, const void* pData); // 80
PLINTH_API int __stdcall GetAbsDays(const char* pszDate); // 81
PLINTH_API int __stdcall GetField2(const char* pszText, char* pszOut, int nIndex, char chSeparator); // 82
PLINTH_API int __stdcall GetInfoID(const char* pszName); // 83
PLINTH_API int __stdcall SortResult(void* pResults); // 84
PLINTH_API int __stdcall ChangeFileExtName(const char* pszPath, const char* pszExt, char* pszOut); // 85
PLINTH_API int __stdcall ParseFileExtName(const char* pszPath, char* pszName, char* pszExt); // 86
PLINTH_API int __stdcall RemoveStdHead_Result(char* pszTarget, int nIndex); // 87
PLINTH_API int __stdcall GetTV2LineInfo(int nLine, char* pszOut); // 88
PLINTH_API int __stdcall GetMainID(int nId); // 89
PLINTH_API int __stdcall GetDateByTimeSpan(const DateYMD* pDate, int nSpan, DateYMD* pOut); // 90
PLINTH_API int __stdcall BackupDB(const char* pszTarget); // 91
PLINTH_API int __stdcall RestoreDB(const char* pszSource); // 92
PLINTH_API int __stdcall UTFDecode(char* pszText); // 93
PLINTH_API int __stdcall LoadXML(const char* pszPath); // 94
PLINTH_API int __stdcall FindItem(const char* pszName); // 95
PLINTH_API int __stdcall IntoItem(void); // 96
PLINTH_API int __stdcall GetAttr(const char* pszName, char* pszOut); // 97
PLINTH_API int __stdcall NextItem(void); // 98
PLINTH_API int __stdcall ExitItem(void); // 99
PLINTH_API int __stdcall WriteStdHead_Item_New_Judge(char* pszTarget, int nIndex, int nJudge); // 100
PLINTH_API int __stdcall WriteStdHead_Item_New_CheckNum(char* pszTarget, int nIndex, int nCount); // 101
PLINTH_API int __stdcall GetCurProcess(char* pszOut); // 102
PLINTH_API int __stdcall OpenHardware(void); // 103
PLINTH_API int __stdcall Hardware_ReadAI(int nChannel); // 104
PLINTH_API int __stdcall Hardware_WriteAO(int nValue); // 105
PLINTH_API int __stdcall Hardware_ReadDI(int nChannel); // 106
PLINTH_API int __stdcall Hardware_WriteDO(int nValue); // 107
PLINTH_API int __stdcall Hardware_WriteSDO(int nValue); // 108
PLINTH_API int __stdcall Hardware_WriteIDO(int nValue); // 109
PLINTH_API int __stdcall CloseHardware(void); // 110
PLINTH_API int __stdcall RemoveStdHead_Item_New(char* pszTarget, int nIndex); // 111
PLINTH_API int __stdcall GetFileSPID(const char* pszPath, char* pszOut); // 112
PLINTH_API int __stdcall CnvIntData(int nValue, char* pszOut, int nRadix); // 113
PLINTH_API double __stdcall GetRand(int nLow, int nHigh); // 114
PLINTH_API int __stdcall LoadSpecialFun(const char* pszName, int nFlags); // 115
PLINTH_API int __stdcall GetEtherNetStatus(int nAdapter); // 116
PLINTH_API int __stdcall SaveSysKey(const char* pszSection, const char* pszKey, const char* pszValue); // 117
PLINTH_API int __stdcall SaveSysKey2(const char* pszKey, const char* pszValue); // 118
PLINTH_API double __stdcall Filter_1(int nValue, int nPrevious, int nWeight); // 119
PLINTH_API int __stdcall SetLayer(HWND hWnd, int nPercent); // 120
PLINTH_API int __stdcall ParseFileExtNameEx(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt); // 121
PLINTH_API int __stdcall ReleaseMemory(void); // 122
PLINTH_API int __stdcall CompressFile(const char* pszSourceDir, const char* pszPackage); // 123
PLINTH_API int __stdcall UnCompressFile(const char* pszPackage, const char* pszTargetDir); // 124
PLINTH_API int __stdcall GetEtherNetStatusEx(int nAdapter, char* pszOut); // 125
PLINTH_API int __stdcall JudgeVersion(const char* pszVersionA, const char* pszVersionB); // 126
PLINTH_API int __stdcall ExportDMIConfig(const char* pszPath); // 127
PLINTH_API int __stdcall ImportDMIConfig(const char* pszPath); // 128
PLINTH_API int __stdcall CnvStdHead_Result_Compatible(char* pszTarget); // 129
PLINTH_API int __stdcall ComputeDaySpan(const char* pszFrom, const char* pszTo); // 130
PLINTH_API int __stdcall SwitchCPU(void); // 131
PLINTH_API int __stdcall MakeAvgData(const int* pData, int nCount, int nWindow, int* pnOut); // 132
PLINTH_API int __stdcall MakeAvgData_M2(const int* pData, int nCount, int nWindow, int* pnOut); // 133
PLINTH_API int __stdcall GetFileDayTime(const char* pszPath, char* pszOut, int nSize); // 134
PLINTH_API int __stdcall DoCheck(void); // 135
PLINTH_API int __stdcall CompressFileEx(const char* pszSourceDir, const char* pszPackage); // 136
PLINTH_API int __stdcall GetMemSPID(const void* pData, int nSize, char* pszOut); // 137
PLINTH_API int __stdcall GetProDat_Max(const char* pszSource, int* pnOut); // 138
PLINTH_API int __stdcall GetProDat_Pos(const char* pszSource, int nPos); // 139
PLINTH_API int __stdcall GetProDatAll_Pos(const char* pszSource, int nPos, int* pnOut, int nSize); // 140
PLINTH_API int __stdcall GetSysDriverInfo(char* pszOut); // 141
PLINTH_API int __stdcall GetTV2LineStationInfoByIP(const char* pszIp, int* pnLine, int* pnStation); // 142
PLINTH_API int __stdcall ParseFileExtNameExA(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt); // 143
PLINTH_API int __stdcall CreateShutKey(const char* pszName, const char* pszCommand, int bEnable); // 144
PLINTH_API int __stdcall CreateNewKey(HKEY hRoot, const char* pszSubKey); // 145
PLINTH_API int __stdcall DeleteKey(HKEY hRoot, const char* pszSubKey); // 146
PLINTH_API int __stdcall SetValueKeyString(HKEY hRoot, const char* pszSubKey, const char* pszName, const char* pszValue); // 147
PLINTH_API int __stdcall SetValueKeyLong(HKEY hRoot, const char* pszSubKey, const char* pszName, int nValue); // 148
PLINTH_API int __stdcall DeleteValue(HKEY hRoot, const char* pszSubKey, const char* pszName); // 149
PLINTH_API int __stdcall GetQueryValueL(HKEY hRoot, const char* pszSubKey, const char* pszName, int* pnValue); // 150
PLINTH_API int __stdcall GetQueryValueS(HKEY hRoot, const char* pszSubKey, const char* pszName, char* pszValue); // 151
PLINTH_API int __stdcall TestPath(const char* pszPath, int bCreate); // 152
PLINTH_API int __stdcall GetCompressFileExCnt(void); // 153
PLINTH_API int __stdcall GetUnCompressFileExCnt(void); // 154

// The answer of an entry point that this library does not support.
constexpr int PLINTH_NOT_SUPPORTED = -1001;
constexpr double PLINTH_NOT_SUPPORTED_REAL = -1001.0;
