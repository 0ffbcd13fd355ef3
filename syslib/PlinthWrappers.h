#pragma once
#include <windows.h>

#include "PlinthRecords.h"

// One wrapper per entry point of the system library (all but GetPlinthStrSize,
// which only the loader calls), with the entry point's name and arguments. A
// wrapper calls through its slot when the entry point is resolved and answers
// its not-resolved value otherwise: PLINTH_NOT_RESOLVED, PLINTH_NOT_RESOLVED_TEXT
// or PLINTH_NOT_RESOLVED_REAL. The entry points are __stdcall with 32-bit
// arguments (the two 8-bit characters are passed widened to 32 bits).

constexpr int PLINTH_NOT_RESOLVED = -1000;
extern const char* const PLINTH_NOT_RESOLVED_TEXT; // "No This Funciont"
constexpr double PLINTH_NOT_RESOLVED_REAL = -1000.0;

// Environment record
int GetPlinth(void* pEnv);
int GetDefaultPlinth(void* pEnv);
int SaveSysInertia(const void* pEnv);
int SavePlinth(const void* pEnv, int nFlags);
int GetDllVer(char* pszOut);
int GetSysID(char* pszOut);
int GetDBUsrPass(char* pszUser, char* pszPassword);
int SetSuperMode(int nMode);

// Text
int GetField(const char* pszText, char* pszOut, int nIndex);
int GetField2(const char* pszText, char* pszOut, int nIndex, char chSeparator);
int TrimLeft(char* pszText, char ch);
int TrimRight(char* pszText, char ch);
int GetPrecisionData(const char* pszNumber, int nDigits);
int GetPrecisionDataAny(const char* pszNumber, int nDigits);
int CnvHZ2PY(const char* pszHanzi, char* pszPinyin, int nSize);
const char* GetLangueString(int nId);
int MakeCharPass(const char* pszText, char* pszOut);
int DeCodeDigital(const char* pszIn, char* pszOut);
int EnCodeDigital(const char* pszIn, char* pszOut);
int IsDigital(const char* pszText);
int UTFDecode(char* pszText);
int CnvIntData(int nValue, char* pszOut, int nRadix);

// Services, processes and programs
int WinExecEx(const char* pszCommandLine, int nShow);
int GetServicesState(const char* pszService);
int Stop_Services(const char* pszService);
int Open_Services(const char* pszService);
int FindProcess(const char* pszImage);
int KillProcess(const char* pszImage);
int GetProcess(char* pszOut);
int GetCurProcess(char* pszOut);
int SwitchCPU();
int ReleaseMemory();
int DoCheck();
int LoadSpecialFun(const char* pszName, int nFlags);

// Files and paths
int MakeSurePathExistsACreate(const char* pszPath);
int GetVers(const char* pszPath, char* pszOut);
int JudgeVersion(const char* pszVersionA, const char* pszVersionB);
int ChangeFileExtName(const char* pszPath, const char* pszExt, char* pszOut);
int ParseFileExtName(const char* pszPath, char* pszName, char* pszExt);
int ParseFileExtNameEx(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt);
int ParseFileExtNameExA(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt);
int GetFileSPID(const char* pszPath, char* pszOut);
int GetFileDayTime(const char* pszPath, char* pszOut, int nSize);
int GetMemSPID(const void* pData, int nSize, char* pszOut);
int TestPath(const char* pszPath, int bCreate);
int CnvJpeg2BmpFile(const char* pszJpeg, const char* pszBmp);

// Packages and compression
int CompressFile(const char* pszSourceDir, const char* pszPackage);
int CompressFileEx(const char* pszSourceDir, const char* pszPackage);
int UnCompressFile(const char* pszPackage, const char* pszTargetDir);
int GetCompressFileExCnt();
int GetUnCompressFileExCnt();
int DatCompressPro_PP(const void* pIn, int nInSize, void* pOut, int nOutSize, int nMode);

// Logging
int PostLog(const char* pszText);
int GetLog(char* pszOut, int nSize);
int SaveLog(const char* pszFile, const char* pszText);

// Dates
int GetAbsDays(const char* pszDate);
int GetDateByTimeSpan(const DateYMD* pDate, int nSpan, DateYMD* pOut);
int ComputeDaySpan(const char* pszFrom, const char* pszTo);

// Database and configuration
int CreateODBC(const char* pszDsn, const char* pszDriver, const char* pszServer, const char* pszDatabase,
               const char* pszUser, const char* pszPassword, int nFlags);
int BackupDB(const char* pszTarget);
int RestoreDB(const char* pszSource);
int ExportDMIConfig(const char* pszPath);
int ImportDMIConfig(const char* pszPath);
int SaveSysKey(const char* pszSection, const char* pszKey, const char* pszValue);
int SaveSysKey2(const char* pszKey, const char* pszValue);

// Registry
int CreateShutKey(const char* pszName, const char* pszCommand, int bEnable);
int CreateNewKey(HKEY hRoot, const char* pszSubKey);
int DeleteKey(HKEY hRoot, const char* pszSubKey);
int SetValueKeyString(HKEY hRoot, const char* pszSubKey, const char* pszName, const char* pszValue);
int SetValueKeyLong(HKEY hRoot, const char* pszSubKey, const char* pszName, int nValue);
int DeleteValue(HKEY hRoot, const char* pszSubKey, const char* pszName);
int GetQueryValueL(HKEY hRoot, const char* pszSubKey, const char* pszName, int* pnValue);
int GetQueryValueS(HKEY hRoot, const char* pszSubKey, const char* pszName, char* pszValue);

// Inspection line: stations, IDs and data
int GetTV2IDInfo(int nId, char* pszOut);
int GetTV2LineInfo(int nLine, char* pszOut);
int GetTV2LineStationInfoByIP(const char* pszIp, int* pnLine, int* pnStation);
int GetMidDat(const int* pData, int nCount, int nFirst, int nLast, int nFlags, int* pnOut);
int GetItemIDByParamID(int nParamId);
int GetParamIDByName(const char* pszName, int n, char* pszOut);
int IsSubID_int(int nId);
int IsSubID_char(const char* pszId);
int GetMainID(int nId);
int GetInfoID(const char* pszName);
int GetWGAlias(int nId, char* pszOut);
int GetInfoAlias(int nId, char* pszOut);
int GetJudgeString(int nJudge, char* pszOut, int nSize);
int MakeAvgData(const int* pData, int nCount, int nWindow, int* pnOut);
int MakeAvgData_M2(const int* pData, int nCount, int nWindow, int* pnOut);
int GetProDat_Max(const char* pszSource, int* pnOut);
int GetProDat_Pos(const char* pszSource, int nPos);
int GetProDatAll_Pos(const char* pszSource, int nPos, int* pnOut, int nSize);
double GetRand(int nLow, int nHigh);
double Filter_1(int nValue, int nPrevious, int nWeight);
int HDSetNum(int nChannel, int nCount);
int HDAddDat(int nChannel, int nValue);
int HDGetDat(int nChannel, int* pnOut);

// Standard record heads
int ParseStdHead(const char* pszSource, void* pHead);
int ParseStdHead_Info(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Std(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Item(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Result(const char* pszSource, int nIndex, void* pOut, int* pnType);
int ParseStdHead_ProDat(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Info_Idx(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Std_Idx(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Item_New(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Item_New_Idx(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Result_Idx(const char* pszSource, int nIndex, void* pOut, int* pnType);
int ParseStdHead_Item_Idx(const char* pszSource, int nIndex, void* pOut);
int ParseStdHead_Result_Idx_Old(const char* pszSource, int nIndex, void* pOut, int* pnType);
int ParseStdHead_ProDat_Idx(const char* pszSource, int nIndex, void* pOut);
int WriteStdHead(char* pszTarget, const void* pHead);
int WriteStdHead_Info(char* pszTarget, int nIndex, const void* pInfo);
int WriteStdHead_Std(char* pszTarget, int nIndex, const void* pStd, int nFlags);
int WriteStdHead_Item(char* pszTarget, const void* pItem);
int WriteStdHead_Item_New(char* pszTarget, int nIndex, const void* pItem, int nFlags);
int WriteStdHead_Item_New_Judge(char* pszTarget, int nIndex, int nJudge);
int WriteStdHead_Item_New_CheckNum(char* pszTarget, int nIndex, int nCount);
int WriteStdHead_Result(char* pszTarget, int nIndex, const void* pResult, int nType, int nFlags);
int WriteStdHead_Result_Data(char* pszTarget, int nIndex, const void* pData, int nFlags);
int WriteStdHead_Result_Judge(char* pszTarget, int nIndex, int nJudge, int nFlags);
int WriteStdHead_ProDat(char* pszTarget, int nIndex, const void* pData);
int RemoveStdHead_Result(char* pszTarget, int nIndex);
int RemoveStdHead_Item_New(char* pszTarget, int nIndex);
int CnvStdHead_Result(const char* pszSource, char* pszTarget);
int CnvStdHead_Result_Compatible(char* pszTarget);
int SortResult(void* pResults);

// Network
int OpenNet(const char* pszHost, int nPort, int nMode, int nTimeout);
int CloseNet(int hNet);
int ReadNetData(int hNet, char* pOut, int nSize);
int SendNetData(int hNet, const char* pData, int nSize, int nFlags, int nTimeout);
int GetHostIP(char* pszOut);
int Ping(const char* pszHost);
int ScanPort(const char* pszHost, int nPort);
int ParseIP(const char* pszIp, int* pnA, int* pnB, int* pnC, int* pnD);
int GetEtherNetStatus(int nAdapter);
int GetEtherNetStatusEx(int nAdapter, char* pszOut);
int GetSerialPortInfo(char* pszOut);
int GetSysDriverInfo(char* pszOut);

// XML reader
int LoadXML(const char* pszPath);
int FindItem(const char* pszName);
int IntoItem();
int GetAttr(const char* pszName, char* pszOut);
int NextItem();
int ExitItem();

// Hardware I/O
int OpenHardware();
int CloseHardware();
int Hardware_ReadAI(int nChannel);
int Hardware_WriteAO(int nValue);
int Hardware_ReadDI(int nChannel);
int Hardware_WriteDO(int nValue);
int Hardware_WriteSDO(int nValue);
int Hardware_WriteIDO(int nValue);

// Window
int SetLayer(HWND hWnd, int nPercent);

// Composites over the entry points above; none has a slot of its own.
int Trim(char* pszText, char ch);
int GetMainIDStr(const char* pszId);
int GetMainIDByName(const char* pszName, int n);
int GetMainIDIfSub(int nId, int nMainId);
int GetDateStrByTimeSpan(const char* pszDate, int nSpan, char* pszOut);
int ParseStdHead_Result_Text(const char* pszSource, int nIndex, char* pszText, int* pnFlag);
int ParseStdHead_Result_Idx_Text(const char* pszSource, int nIndex, int* pnId, char* pszText, int* pnFlag);
