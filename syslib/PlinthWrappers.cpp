#include "PlinthWrappers.h"

#include "PlinthLoader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* const PLINTH_NOT_RESOLVED_TEXT = "No This Funciont";

namespace {

template <typename R> R NotResolved();
template <> int NotResolved<int>() { return PLINTH_NOT_RESOLVED; }
template <> double NotResolved<double>() { return PLINTH_NOT_RESOLVED_REAL; }
template <> const char* NotResolved<const char*>() { return PLINTH_NOT_RESOLVED_TEXT; }

// Calls the entry point through its slot, with the wrapper's own argument
// types, or answers the not-resolved value of the result kind.
template <typename R, typename... Args>
R CallPlinth(PlinthEntry entry, Args... args)
{
    FARPROC slot = PlinthSlot(entry);
    if (!slot)
        return NotResolved<R>();
    // Through void (*)(), the generic function pointer type, to the real one.
    auto generic = reinterpret_cast<void (*)()>(slot);
    return reinterpret_cast<R(__stdcall*)(Args...)>(generic)(args...);
}

bool IsResolved(PlinthEntry entry)
{
    return PlinthSlot(entry) != nullptr;
}

// Copies a record's text field, which need not hold a terminator.
template <std::size_t N>
void CopyField(char* pszOut, const char (&field)[N])
{
    std::size_t length = strnlen(field, N);
    std::memcpy(pszOut, field, length);
    pszOut[length] = '\0';
}

using ParseResultFn = int (*)(const char*, int, void*, int*);

// The two result readers differ only in the entry point and in whether the ID
// is handed out.
int ParseResultText(ParseResultFn parse, const char* pszSource, int nIndex, int* pnId, char* pszText, int* pnFlag)
{
    if (!pszSource)
        return 0;
    if (!pszText)
        return -1;

    char record[512] = {};
    int nType = 0;
    int nAnswer = parse(pszSource, nIndex, record, &nType);
    if (nAnswer <= 0)
        return -2;

    StdResultShort shortRecord;
    StdResultLong longRecord;
    unsigned id;
    unsigned flag;
    if (nType == 1) {
        std::memcpy(&shortRecord, record, sizeof shortRecord);
        CopyField(pszText, shortRecord.text);
        id = shortRecord.id;
        flag = shortRecord.flag;
    } else if (nType == 2) {
        std::memcpy(&longRecord, record, sizeof longRecord);
        CopyField(pszText, longRecord.text);
        id = longRecord.id;
        flag = longRecord.flag;
    } else {
        return -3;
    }
    if (pnFlag)
        *pnFlag = static_cast<int>(flag);
    if (pnId)
        *pnId = static_cast<int>(id);
    return nAnswer;
}

} // namespace

int GetPlinth(void* pEnv)
{
    return CallPlinth<int>(PlinthEntry::GetPlinth, pEnv);
}

int GetDefaultPlinth(void* pEnv)
{
    return CallPlinth<int>(PlinthEntry::GetDefaultPlinth, pEnv);
}

int SaveSysInertia(const void* pEnv)
{
    return CallPlinth<int>(PlinthEntry::SaveSysInertia, pEnv);
}

int SavePlinth(const void* pEnv, int nFlags)
{
    return CallPlinth<int>(PlinthEntry::SavePlinth, pEnv, nFlags);
}

int GetDllVer(char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetDllVer, pszOut);
}

int GetSysID(char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetSysID, pszOut);
}

int GetDBUsrPass(char* pszUser, char* pszPassword)
{
    return CallPlinth<int>(PlinthEntry::GetDBUsrPass, pszUser, pszPassword);
}

int SetSuperMode(int nMode)
{
    return CallPlinth<int>(PlinthEntry::SetSuperMode, nMode);
}

int GetField(const char* pszText, char* pszOut, int nIndex)
{
    return CallPlinth<int>(PlinthEntry::GetField, pszText, pszOut, nIndex);
}

int GetField2(const char* pszText, char* pszOut, int nIndex, char chSeparator)
{
    return CallPlinth<int>(PlinthEntry::GetField2, pszText, pszOut, nIndex, chSeparator);
}

int TrimLeft(char* pszText, char ch)
{
    return CallPlinth<int>(PlinthEntry::TrimLeft, pszText, ch);
}

int TrimRight(char* pszText, char ch)
{
    return CallPlinth<int>(PlinthEntry::TrimRight, pszText, ch);
}

int GetPrecisionData(const char* pszNumber, int nDigits)
{
    return CallPlinth<int>(PlinthEntry::GetPrecisionData, pszNumber, nDigits);
}

int GetPrecisionDataAny(const char* pszNumber, int nDigits)
{
    return CallPlinth<int>(PlinthEntry::GetPrecisionDataAny, pszNumber, nDigits);
}

int CnvHZ2PY(const char* pszHanzi, char* pszPinyin, int nSize)
{
    return CallPlinth<int>(PlinthEntry::CnvHZ2PY, pszHanzi, pszPinyin, nSize);
}

const char* GetLangueString(int nId)
{
    return CallPlinth<const char*>(PlinthEntry::GetLangueString, nId);
}

int MakeCharPass(const char* pszText, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::MakeCharPass, pszText, pszOut);
}

int DeCodeDigital(const char* pszIn, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::DeCodeDigital, pszIn, pszOut);
}

int EnCodeDigital(const char* pszIn, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::EnCodeDigital, pszIn, pszOut);
}

int IsDigital(const char* pszText)
{
    return CallPlinth<int>(PlinthEntry::IsDigital, pszText);
}

int UTFDecode(char* pszText)
{
    return CallPlinth<int>(PlinthEntry::UTFDecode, pszText);
}

int CnvIntData(int nValue, char* pszOut, int nRadix)
{
    return CallPlinth<int>(PlinthEntry::CnvIntData, nValue, pszOut, nRadix);
}

int WinExecEx(const char* pszCommandLine, int nShow)
{
    return CallPlinth<int>(PlinthEntry::WinExecEx, pszCommandLine, nShow);
}

int GetServicesState(const char* pszService)
{
    return CallPlinth<int>(PlinthEntry::GetServicesState, pszService);
}

int Stop_Services(const char* pszService)
{
    return CallPlinth<int>(PlinthEntry::Stop_Services, pszService);
}

int Open_Services(const char* pszService)
{
    return CallPlinth<int>(PlinthEntry::Open_Services, pszService);
}

int FindProcess(const char* pszImage)
{
    return CallPlinth<int>(PlinthEntry::FindProcess, pszImage);
}

int KillProcess(const char* pszImage)
{
    return CallPlinth<int>(PlinthEntry::KillProcess, pszImage);
}

int GetProcess(char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetProcess, pszOut);
}

int GetCurProcess(char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetCurProcess, pszOut);
}

int SwitchCPU()
{
    return CallPlinth<int>(PlinthEntry::SwitchCPU);
}

int ReleaseMemory()
{
    return CallPlinth<int>(PlinthEntry::ReleaseMemory);
}

int DoCheck()
{
    return CallPlinth<int>(PlinthEntry::DoCheck);
}

int LoadSpecialFun(const char* pszName, int nFlags)
{
    return CallPlinth<int>(PlinthEntry::LoadSpecialFun, pszName, nFlags);
}

int MakeSurePathExistsACreate(const char* pszPath)
{
    return CallPlinth<int>(PlinthEntry::MakeSurePathExistsACreate, pszPath);
}

int GetVers(const char* pszPath, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetVers, pszPath, pszOut);
}

int JudgeVersion(const char* pszVersionA, const char* pszVersionB)
{
    return CallPlinth<int>(PlinthEntry::JudgeVersion, pszVersionA, pszVersionB);
}

int ChangeFileExtName(const char* pszPath, const char* pszExt, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::ChangeFileExtName, pszPath, pszExt, pszOut);
}

int ParseFileExtName(const char* pszPath, char* pszName, char* pszExt)
{
    return CallPlinth<int>(PlinthEntry::ParseFileExtName, pszPath, pszName, pszExt);
}

int ParseFileExtNameEx(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt)
{
    return CallPlinth<int>(PlinthEntry::ParseFileExtNameEx, pszPath, pszDrive, pszDir, pszName, pszExt);
}

int ParseFileExtNameExA(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt)
{
    return CallPlinth<int>(PlinthEntry::ParseFileExtNameExA, pszPath, pszDrive, pszDir, pszName, pszExt);
}

int GetFileSPID(const char* pszPath, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetFileSPID, pszPath, pszOut);
}

int GetFileDayTime(const char* pszPath, char* pszOut, int nSize)
{
    return CallPlinth<int>(PlinthEntry::GetFileDayTime, pszPath, pszOut, nSize);
}

int GetMemSPID(const void* pData, int nSize, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetMemSPID, pData, nSize, pszOut);
}

int TestPath(const char* pszPath, int bCreate)
{
    return CallPlinth<int>(PlinthEntry::TestPath, pszPath, bCreate);
}

int CnvJpeg2BmpFile(const char* pszJpeg, const char* pszBmp)
{
    return CallPlinth<int>(PlinthEntry::CnvJpeg2BmpFile, pszJpeg, pszBmp);
}

int CompressFile(const char* pszSourceDir, const char* pszPackage)
{
    return CallPlinth<int>(PlinthEntry::CompressFile, pszSourceDir, pszPackage);
}

int CompressFileEx(const char* pszSourceDir, const char* pszPackage)
{
    return CallPlinth<int>(PlinthEntry::CompressFileEx, pszSourceDir, pszPackage);
}

int UnCompressFile(const char* pszPackage, const char* pszTargetDir)
{
    return CallPlinth<int>(PlinthEntry::UnCompressFile, pszPackage, pszTargetDir);
}

int GetCompressFileExCnt()
{
    return CallPlinth<int>(PlinthEntry::GetCompressFileExCnt);
}

int GetUnCompressFileExCnt()
{
    return CallPlinth<int>(PlinthEntry::GetUnCompressFileExCnt);
}

int DatCompressPro_PP(const void* pIn, int nInSize, void* pOut, int nOutSize, int nMode)
{
    return CallPlinth<int>(PlinthEntry::DatCompressPro_PP, pIn, nInSize, pOut, nOutSize, nMode);
}

int PostLog(const char* pszText)
{
    return CallPlinth<int>(PlinthEntry::PostLog, pszText);
}

int GetLog(char* pszOut, int nSize)
{
    return CallPlinth<int>(PlinthEntry::GetLog, pszOut, nSize);
}

int SaveLog(const char* pszFile, const char* pszText)
{
    return CallPlinth<int>(PlinthEntry::SaveLog, pszFile, pszText);
}

int GetAbsDays(const char* pszDate)
{
    return CallPlinth<int>(PlinthEntry::GetAbsDays, pszDate);
}

int GetDateByTimeSpan(const DateYMD* pDate, int nSpan, DateYMD* pOut)
{
    return CallPlinth<int>(PlinthEntry::GetDateByTimeSpan, pDate, nSpan, pOut);
}

int ComputeDaySpan(const char* pszFrom, const char* pszTo)
{
    return CallPlinth<int>(PlinthEntry::ComputeDaySpan, pszFrom, pszTo);
}

int CreateODBC(const char* pszDsn, const char* pszDriver, const char* pszServer, const char* pszDatabase, const char* pszUser, const char* pszPassword, int nFlags)
{
    return CallPlinth<int>(PlinthEntry::CreateODBC, pszDsn, pszDriver, pszServer, pszDatabase, pszUser, pszPassword, nFlags);
}

int BackupDB(const char* pszTarget)
{
    return CallPlinth<int>(PlinthEntry::BackupDB, pszTarget);
}

int RestoreDB(const char* pszSource)
{
    return CallPlinth<int>(PlinthEntry::RestoreDB, pszSource);
}

int ExportDMIConfig(const char* pszPath)
{
    return CallPlinth<int>(PlinthEntry::ExportDMIConfig, pszPath);
}

int ImportDMIConfig(const char* pszPath)
{
    return CallPlinth<int>(PlinthEntry::ImportDMIConfig, pszPath);
}

int SaveSysKey(const char* pszSection, const char* pszKey, const char* pszValue)
{
    return CallPlinth<int>(PlinthEntry::SaveSysKey, pszSection, pszKey, pszValue);
}

int SaveSysKey2(const char* pszKey, const char* pszValue)
{
    return CallPlinth<int>(PlinthEntry::SaveSysKey2, pszKey, pszValue);
}

int CreateShutKey(const char* pszName, const char* pszCommand, int bEnable)
{
    return CallPlinth<int>(PlinthEntry::CreateShutKey, pszName, pszCommand, bEnable);
}

int CreateNewKey(HKEY hRoot, const char* pszSubKey)
{
    return CallPlinth<int>(PlinthEntry::CreateNewKey, hRoot, pszSubKey);
}

int DeleteKey(HKEY hRoot, const char* pszSubKey)
{
    return CallPlinth<int>(PlinthEntry::DeleteKey, hRoot, pszSubKey);
}

int SetValueKeyString(HKEY hRoot, const char* pszSubKey, const char* pszName, const char* pszValue)
{
    return CallPlinth<int>(PlinthEntry::SetValueKeyString, hRoot, pszSubKey, pszName, pszValue);
}

int SetValueKeyLong(HKEY hRoot, const char* pszSubKey, const char* pszName, int nValue)
{
    return CallPlinth<int>(PlinthEntry::SetValueKeyLong, hRoot, pszSubKey, pszName, nValue);
}

int DeleteValue(HKEY hRoot, const char* pszSubKey, const char* pszName)
{
    return CallPlinth<int>(PlinthEntry::DeleteValue, hRoot, pszSubKey, pszName);
}

int GetQueryValueL(HKEY hRoot, const char* pszSubKey, const char* pszName, int* pnValue)
{
    return CallPlinth<int>(PlinthEntry::GetQueryValueL, hRoot, pszSubKey, pszName, pnValue);
}

int GetQueryValueS(HKEY hRoot, const char* pszSubKey, const char* pszName, char* pszValue)
{
    return CallPlinth<int>(PlinthEntry::GetQueryValueS, hRoot, pszSubKey, pszName, pszValue);
}

int GetTV2IDInfo(int nId, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetTV2IDInfo, nId, pszOut);
}

int GetTV2LineInfo(int nLine, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetTV2LineInfo, nLine, pszOut);
}

int GetTV2LineStationInfoByIP(const char* pszIp, int* pnLine, int* pnStation)
{
    return CallPlinth<int>(PlinthEntry::GetTV2LineStationInfoByIP, pszIp, pnLine, pnStation);
}

int GetMidDat(const int* pData, int nCount, int nFirst, int nLast, int nFlags, int* pnOut)
{
    return CallPlinth<int>(PlinthEntry::GetMidDat, pData, nCount, nFirst, nLast, nFlags, pnOut);
}

int GetItemIDByParamID(int nParamId)
{
    return CallPlinth<int>(PlinthEntry::GetItemIDByParamID, nParamId);
}

int GetParamIDByName(const char* pszName, int n, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetParamIDByName, pszName, n, pszOut);
}

int IsSubID_int(int nId)
{
    return CallPlinth<int>(PlinthEntry::IsSubID_int, nId);
}

int IsSubID_char(const char* pszId)
{
    return CallPlinth<int>(PlinthEntry::IsSubID_char, pszId);
}

int GetMainID(int nId)
{
    return CallPlinth<int>(PlinthEntry::GetMainID, nId);
}

int GetInfoID(const char* pszName)
{
    return CallPlinth<int>(PlinthEntry::GetInfoID, pszName);
}

int GetWGAlias(int nId, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetWGAlias, nId, pszOut);
}

int GetInfoAlias(int nId, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetInfoAlias, nId, pszOut);
}

int GetJudgeString(int nJudge, char* pszOut, int nSize)
{
    return CallPlinth<int>(PlinthEntry::GetJudgeString, nJudge, pszOut, nSize);
}

int MakeAvgData(const int* pData, int nCount, int nWindow, int* pnOut)
{
    return CallPlinth<int>(PlinthEntry::MakeAvgData, pData, nCount, nWindow, pnOut);
}

int MakeAvgData_M2(const int* pData, int nCount, int nWindow, int* pnOut)
{
    return CallPlinth<int>(PlinthEntry::MakeAvgData_M2, pData, nCount, nWindow, pnOut);
}

int GetProDat_Max(const char* pszSource, int* pnOut)
{
    return CallPlinth<int>(PlinthEntry::GetProDat_Max, pszSource, pnOut);
}

int GetProDat_Pos(const char* pszSource, int nPos)
{
    return CallPlinth<int>(PlinthEntry::GetProDat_Pos, pszSource, nPos);
}

int GetProDatAll_Pos(const char* pszSource, int nPos, int* pnOut, int nSize)
{
    return CallPlinth<int>(PlinthEntry::GetProDatAll_Pos, pszSource, nPos, pnOut, nSize);
}

double GetRand(int nLow, int nHigh)
{
    return CallPlinth<double>(PlinthEntry::GetRand, nLow, nHigh);
}

double Filter_1(int nValue, int nPrevious, int nWeight)
{
    return CallPlinth<double>(PlinthEntry::Filter_1, nValue, nPrevious, nWeight);
}

int HDSetNum(int nChannel, int nCount)
{
    return CallPlinth<int>(PlinthEntry::HDSetNum, nChannel, nCount);
}

int HDAddDat(int nChannel, int nValue)
{
    return CallPlinth<int>(PlinthEntry::HDAddDat, nChannel, nValue);
}

int HDGetDat(int nChannel, int* pnOut)
{
    return CallPlinth<int>(PlinthEntry::HDGetDat, nChannel, pnOut);
}

int ParseStdHead(const char* pszSource, void* pHead)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead, pszSource, pHead);
}

int ParseStdHead_Info(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Info, pszSource, nIndex, pOut);
}

int ParseStdHead_Std(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Std, pszSource, nIndex, pOut);
}

int ParseStdHead_Item(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Item, pszSource, nIndex, pOut);
}

int ParseStdHead_Result(const char* pszSource, int nIndex, void* pOut, int* pnType)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Result, pszSource, nIndex, pOut, pnType);
}

int ParseStdHead_ProDat(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_ProDat, pszSource, nIndex, pOut);
}

int ParseStdHead_Info_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Info_Idx, pszSource, nIndex, pOut);
}

int ParseStdHead_Std_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Std_Idx, pszSource, nIndex, pOut);
}

int ParseStdHead_Item_New(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Item_New, pszSource, nIndex, pOut);
}

int ParseStdHead_Item_New_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Item_New_Idx, pszSource, nIndex, pOut);
}

int ParseStdHead_Result_Idx(const char* pszSource, int nIndex, void* pOut, int* pnType)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Result_Idx, pszSource, nIndex, pOut, pnType);
}

int ParseStdHead_Item_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Item_Idx, pszSource, nIndex, pOut);
}

int ParseStdHead_Result_Idx_Old(const char* pszSource, int nIndex, void* pOut, int* pnType)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_Result_Idx_Old, pszSource, nIndex, pOut, pnType);
}

int ParseStdHead_ProDat_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return CallPlinth<int>(PlinthEntry::ParseStdHead_ProDat_Idx, pszSource, nIndex, pOut);
}

int WriteStdHead(char* pszTarget, const void* pHead)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead, pszTarget, pHead);
}

int WriteStdHead_Info(char* pszTarget, int nIndex, const void* pInfo)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Info, pszTarget, nIndex, pInfo);
}

int WriteStdHead_Std(char* pszTarget, int nIndex, const void* pStd, int nFlags)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Std, pszTarget, nIndex, pStd, nFlags);
}

int WriteStdHead_Item(char* pszTarget, const void* pItem)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Item, pszTarget, pItem);
}

int WriteStdHead_Item_New(char* pszTarget, int nIndex, const void* pItem, int nFlags)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Item_New, pszTarget, nIndex, pItem, nFlags);
}

int WriteStdHead_Item_New_Judge(char* pszTarget, int nIndex, int nJudge)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Item_New_Judge, pszTarget, nIndex, nJudge);
}

int WriteStdHead_Item_New_CheckNum(char* pszTarget, int nIndex, int nCount)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Item_New_CheckNum, pszTarget, nIndex, nCount);
}

int WriteStdHead_Result(char* pszTarget, int nIndex, const void* pResult, int nType, int nFlags)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Result, pszTarget, nIndex, pResult, nType, nFlags);
}

int WriteStdHead_Result_Data(char* pszTarget, int nIndex, const void* pData, int nFlags)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Result_Data, pszTarget, nIndex, pData, nFlags);
}

int WriteStdHead_Result_Judge(char* pszTarget, int nIndex, int nJudge, int nFlags)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_Result_Judge, pszTarget, nIndex, nJudge, nFlags);
}

int WriteStdHead_ProDat(char* pszTarget, int nIndex, const void* pData)
{
    return CallPlinth<int>(PlinthEntry::WriteStdHead_ProDat, pszTarget, nIndex, pData);
}

int RemoveStdHead_Result(char* pszTarget, int nIndex)
{
    return CallPlinth<int>(PlinthEntry::RemoveStdHead_Result, pszTarget, nIndex);
}

int RemoveStdHead_Item_New(char* pszTarget, int nIndex)
{
    return CallPlinth<int>(PlinthEntry::RemoveStdHead_Item_New, pszTarget, nIndex);
}

int CnvStdHead_Result(const char* pszSource, char* pszTarget)
{
    return CallPlinth<int>(PlinthEntry::CnvStdHead_Result, pszSource, pszTarget);
}

int CnvStdHead_Result_Compatible(char* pszTarget)
{
    return CallPlinth<int>(PlinthEntry::CnvStdHead_Result_Compatible, pszTarget);
}

int SortResult(void* pResults)
{
    return CallPlinth<int>(PlinthEntry::SortResult, pResults);
}

int OpenNet(const char* pszHost, int nPort, int nMode, int nTimeout)
{
    return CallPlinth<int>(PlinthEntry::OpenNet, pszHost, nPort, nMode, nTimeout);
}

int CloseNet(int hNet)
{
    return CallPlinth<int>(PlinthEntry::CloseNet, hNet);
}

int ReadNetData(int hNet, char* pOut, int nSize)
{
    return CallPlinth<int>(PlinthEntry::ReadNetData, hNet, pOut, nSize);
}

int SendNetData(int hNet, const char* pData, int nSize, int nFlags, int nTimeout)
{
    return CallPlinth<int>(PlinthEntry::SendNetData, hNet, pData, nSize, nFlags, nTimeout);
}

int GetHostIP(char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetHostIP, pszOut);
}

int Ping(const char* pszHost)
{
    return CallPlinth<int>(PlinthEntry::Ping, pszHost);
}

int ScanPort(const char* pszHost, int nPort)
{
    return CallPlinth<int>(PlinthEntry::ScanPort, pszHost, nPort);
}

int ParseIP(const char* pszIp, int* pnA, int* pnB, int* pnC, int* pnD)
{
    return CallPlinth<int>(PlinthEntry::ParseIP, pszIp, pnA, pnB, pnC, pnD);
}

int GetEtherNetStatus(int nAdapter)
{
    return CallPlinth<int>(PlinthEntry::GetEtherNetStatus, nAdapter);
}

int GetEtherNetStatusEx(int nAdapter, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetEtherNetStatusEx, nAdapter, pszOut);
}

int GetSerialPortInfo(char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetSerialPortInfo, pszOut);
}

int GetSysDriverInfo(char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetSysDriverInfo, pszOut);
}

int LoadXML(const char* pszPath)
{
    return CallPlinth<int>(PlinthEntry::LoadXML, pszPath);
}

int FindItem(const char* pszName)
{
    return CallPlinth<int>(PlinthEntry::FindItem, pszName);
}

int IntoItem()
{
    return CallPlinth<int>(PlinthEntry::IntoItem);
}

int GetAttr(const char* pszName, char* pszOut)
{
    return CallPlinth<int>(PlinthEntry::GetAttr, pszName, pszOut);
}

int NextItem()
{
    return CallPlinth<int>(PlinthEntry::NextItem);
}

int ExitItem()
{
    return CallPlinth<int>(PlinthEntry::ExitItem);
}

int OpenHardware()
{
    return CallPlinth<int>(PlinthEntry::OpenHardware);
}

int CloseHardware()
{
    return CallPlinth<int>(PlinthEntry::CloseHardware);
}

int Hardware_ReadAI(int nChannel)
{
    return CallPlinth<int>(PlinthEntry::Hardware_ReadAI, nChannel);
}

int Hardware_WriteAO(int nValue)
{
    return CallPlinth<int>(PlinthEntry::Hardware_WriteAO, nValue);
}

int Hardware_ReadDI(int nChannel)
{
    return CallPlinth<int>(PlinthEntry::Hardware_ReadDI, nChannel);
}

int Hardware_WriteDO(int nValue)
{
    return CallPlinth<int>(PlinthEntry::Hardware_WriteDO, nValue);
}

int Hardware_WriteSDO(int nValue)
{
    return CallPlinth<int>(PlinthEntry::Hardware_WriteSDO, nValue);
}

int Hardware_WriteIDO(int nValue)
{
    return CallPlinth<int>(PlinthEntry::Hardware_WriteIDO, nValue);
}

int SetLayer(HWND hWnd, int nPercent)
{
    return CallPlinth<int>(PlinthEntry::SetLayer, hWnd, nPercent);
}

// ---------------------------------------------------------------------------
// Composites

int Trim(char* pszText, char ch)
{
    TrimLeft(pszText, ch);
    TrimRight(pszText, ch);
    return 1;
}

int GetMainIDStr(const char* pszId)
{
    if (!IsResolved(PlinthEntry::GetMainID))
        return PLINTH_NOT_RESOLVED;
    if (!pszId)
        return 0;
    return GetMainID(std::atoi(pszId));
}

int GetMainIDByName(const char* pszName, int n)
{
    int nId = 0;
    if (IsSubID_char(pszName) >= 1) {
        nId = std::atoi(pszName);
    } else {
        char szParamId[512] = {};
        if (GetParamIDByName(pszName, n, szParamId) >= 1)
            nId = std::atoi(szParamId);
    }
    return GetMainID(nId);
}

int GetMainIDIfSub(int nId, int nMainId)
{
    if (IsSubID_int(nId) >= 1 && nId / 10000 == nMainId)
        return GetMainID(nId);
    return 0;
}

int GetDateStrByTimeSpan(const char* pszDate, int nSpan, char* pszOut)
{
    if (!IsResolved(PlinthEntry::GetDateByTimeSpan) || !IsResolved(PlinthEntry::GetField2))
        return PLINTH_NOT_RESOLVED;
    if (!pszOut || !pszDate)
        return 0;
    std::strcpy(pszOut, pszDate);

    int parts[3] = {};
    for (int i = 0; i < 3; ++i) {
        char szField[100] = {};
        if (GetField2(pszDate, szField, i, '-') <= 0)
            return -2;
        parts[i] = std::atoi(szField);
    }

    DateYMD from = {};
    from.year = parts[0];
    from.day = static_cast<std::int8_t>(parts[2]);
    from.month = static_cast<std::int8_t>(parts[1]);
    DateYMD to = {};
    if (GetDateByTimeSpan(&from, nSpan, &to) <= 0)
        return 0;

    std::sprintf(pszOut, "%04d-%02d-%02d", static_cast<int>(to.year), to.month, to.day);
    return 1;
}

int ParseStdHead_Result_Text(const char* pszSource, int nIndex, char* pszText, int* pnFlag)
{
    return ParseResultText(ParseStdHead_Result, pszSource, nIndex, nullptr, pszText, pnFlag);
}

int ParseStdHead_Result_Idx_Text(const char* pszSource, int nIndex, int* pnId, char* pszText, int* pnFlag)
{
    return ParseResultText(ParseStdHead_Result_Idx, pszSource, nIndex, pnId, pszText, pnFlag);
}
