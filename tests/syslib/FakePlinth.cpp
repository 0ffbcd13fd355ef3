// A stand-in for the suite's system library. One source, built into several
// DLLs: FAKE_OMIT leaves out the entry point at that position, FAKE_ENV_SIZE is
// what GetPlinthStrSize answers, FAKE_TAG tells the variants' files apart.
// Every entry point records its call and answers its own position (or what the
// test set with Fake_SetAnswer), so a test can see which slot a wrapper used
// and what reached the library.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#ifndef FAKE_OMIT
#define FAKE_OMIT 0
#endif
#ifndef FAKE_ENV_SIZE
#define FAKE_ENV_SIZE 188910
#endif
#ifndef FAKE_TAG
#define FAKE_TAG 1
#endif

#define FAKE_API extern "C" __declspec(dllexport)

namespace {

constexpr int kPositions = 155;
constexpr int kMaxArgs = 7;

struct CallRecord {
    int count;
    std::uint32_t args[kMaxArgs];
};

CallRecord g_calls[kPositions];
int g_answers[kPositions];
bool g_answerSet[kPositions];

unsigned char g_record[512];
int g_recordType;
char g_text[512];
int g_field2FailIndex = -1;

std::uint32_t AsWord(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }
std::uint32_t AsWord(char c) { return static_cast<unsigned char>(c); }
std::uint32_t AsWord(int n) { return static_cast<std::uint32_t>(n); }

int Answer(int position)
{
    return g_answerSet[position] ? g_answers[position] : position;
}

template <typename... Args>
int Record(int position, Args... args)
{
    CallRecord& call = g_calls[position];
    ++call.count;
    const std::uint32_t words[] = {0, AsWord(args)...};
    std::memcpy(call.args, words + 1, sizeof(std::uint32_t) * sizeof...(Args));
    return Answer(position);
}

} // namespace

// ---------------------------------------------------------------------------
// Test controls; not part of the library's table.

FAKE_API void __stdcall Fake_Reset()
{
    std::memset(g_calls, 0, sizeof g_calls);
    std::memset(g_answerSet, 0, sizeof g_answerSet);
    std::memset(g_record, 0, sizeof g_record);
    g_recordType = 0;
    g_text[0] = '\0';
    g_field2FailIndex = -1;
}

FAKE_API void __stdcall Fake_SetAnswer(int position, int answer)
{
    g_answers[position] = answer;
    g_answerSet[position] = true;
}

FAKE_API int __stdcall Fake_CallCount(int position)
{
    return g_calls[position].count;
}

FAKE_API const std::uint32_t* __stdcall Fake_LastArgs(int position)
{
    return g_calls[position].args;
}

// What ParseStdHead_Result and ParseStdHead_Result_Idx hand out.
FAKE_API void __stdcall Fake_SetRecord(const void* record, int size, int type)
{
    std::memset(g_record, 0, sizeof g_record);
    std::memcpy(g_record, record, static_cast<std::size_t>(size));
    g_recordType = type;
}

// What GetParamIDByName writes.
FAKE_API void __stdcall Fake_SetText(const char* text)
{
    std::snprintf(g_text, sizeof g_text, "%s", text);
}

// GetField2 answers 0 for this field index.
FAKE_API void __stdcall Fake_FailField2At(int index)
{
    g_field2FailIndex = index;
}

FAKE_API int __stdcall Fake_Tag()
{
    return FAKE_TAG;
}

// ---------------------------------------------------------------------------
// Entry points with a behaviour of their own.

FAKE_API const char* __stdcall GetLangueString(int nId)
{
    Record(27, nId);
    return "fake text 27";
}

FAKE_API int __stdcall GetParamIDByName(const char* pszName, int n, char* pszOut)
{
    if (pszOut)
        std::strcpy(pszOut, g_text);
    return Record(32, pszName, n, pszOut);
}

FAKE_API int __stdcall ParseStdHead_Result(const char* pszSource, int nIndex, void* pOut, int* pnType)
{
    if (pOut)
        std::memcpy(pOut, g_record, sizeof g_record);
    if (pnType)
        *pnType = g_recordType;
    return Record(54, pszSource, nIndex, pOut, pnType);
}

FAKE_API int __stdcall ParseStdHead_Result_Idx(const char* pszSource, int nIndex, void* pOut, int* pnType)
{
    if (pOut)
        std::memcpy(pOut, g_record, sizeof g_record);
    if (pnType)
        *pnType = g_recordType;
    return Record(74, pszSource, nIndex, pOut, pnType);
}

// Splits for real, so that the date composite has fields to read.
FAKE_API int __stdcall GetField2(const char* pszText, char* pszOut, int nIndex, char chSeparator)
{
    int answer = Record(82, pszText, pszOut, nIndex, chSeparator);
    if (!pszText || !pszOut)
        return answer;
    const char* start = pszText;
    for (int i = 0; i < nIndex && start; ++i) {
        start = std::strchr(start, chSeparator);
        if (start)
            ++start;
    }
    pszOut[0] = '\0';
    if (!start)
        return 0;
    const char* end = std::strchr(start, chSeparator);
    std::size_t length = end ? static_cast<std::size_t>(end - start) : std::strlen(start);
    std::memcpy(pszOut, start, length);
    pszOut[length] = '\0';
    if (nIndex == g_field2FailIndex)
        return 0;
    return g_answerSet[82] ? answer : static_cast<int>(length);
}

// Adds the span to the day without carrying: enough to see the fields move.
FAKE_API int __stdcall GetDateByTimeSpan(const void* pDate, int nSpan, void* pOut)
{
    int answer = Record(90, pDate, nSpan, pOut);
    if (pDate && pOut) {
        std::memcpy(pOut, pDate, 8);
        static_cast<signed char*>(pOut)[4] = static_cast<signed char>(static_cast<const signed char*>(pDate)[4] + nSpan);
    }
    return answer;
}

FAKE_API double __stdcall GetRand(int nLow, int nHigh)
{
    Record(114, nLow, nHigh);
    return 114.5;
}

FAKE_API double __stdcall Filter_1(int nValue, int nPrevious, int nWeight)
{
    Record(119, nValue, nPrevious, nWeight);
    return 119.5;
}

// ---------------------------------------------------------------------------
// Every other entry point, in table order.

FAKE_API int __stdcall GetPlinth(void* pEnv)
{
    return Record(1, pEnv);
}

FAKE_API int __stdcall GetDefaultPlinth(void* pEnv)
{
    return Record(2, pEnv);
}

FAKE_API int __stdcall SaveSysInertia(const void* pEnv)
{
    return Record(3, pEnv);
}

FAKE_API int __stdcall SavePlinth(const void* pEnv, int nFlags)
{
    return Record(4, pEnv, nFlags);
}

#if FAKE_OMIT != 5
FAKE_API int __stdcall GetDllVer(char* pszOut)
{
    return Record(5, pszOut);
}
#endif

FAKE_API int __stdcall GetField(const char* pszText, char* pszOut, int nIndex)
{
    return Record(6, pszText, pszOut, nIndex);
}

FAKE_API int __stdcall GetSysID(char* pszOut)
{
    return Record(7, pszOut);
}

FAKE_API int __stdcall GetDBUsrPass(char* pszUser, char* pszPassword)
{
    return Record(8, pszUser, pszPassword);
}

FAKE_API int __stdcall WinExecEx(const char* pszCommandLine, int nShow)
{
    return Record(9, pszCommandLine, nShow);
}

FAKE_API int __stdcall GetServicesState(const char* pszService)
{
    return Record(10, pszService);
}

FAKE_API int __stdcall Stop_Services(const char* pszService)
{
    return Record(11, pszService);
}

FAKE_API int __stdcall Open_Services(const char* pszService)
{
    return Record(12, pszService);
}

FAKE_API int __stdcall MakeSurePathExistsACreate(const char* pszPath)
{
    return Record(13, pszPath);
}

FAKE_API int __stdcall CreateODBC(const char* pszDsn, const char* pszDriver, const char* pszServer, const char* pszDatabase, const char* pszUser, const char* pszPassword, int nFlags)
{
    return Record(14, pszDsn, pszDriver, pszServer, pszDatabase, pszUser, pszPassword, nFlags);
}

FAKE_API int __stdcall PostLog(const char* pszText)
{
    return Record(15, pszText);
}

FAKE_API int __stdcall GetLog(char* pszOut, int nSize)
{
    return Record(16, pszOut, nSize);
}

FAKE_API int __stdcall SetSuperMode(int nMode)
{
    return Record(17, nMode);
}

FAKE_API int __stdcall GetPlinthStrSize()
{
    return FAKE_ENV_SIZE;
}

FAKE_API int __stdcall GetVers(const char* pszPath, char* pszOut)
{
    return Record(19, pszPath, pszOut);
}

FAKE_API int __stdcall GetPrecisionData(const char* pszNumber, int nDigits)
{
    return Record(20, pszNumber, nDigits);
}

FAKE_API int __stdcall GetPrecisionDataAny(const char* pszNumber, int nDigits)
{
    return Record(21, pszNumber, nDigits);
}

FAKE_API int __stdcall CnvHZ2PY(const char* pszHanzi, char* pszPinyin, int nSize)
{
    return Record(22, pszHanzi, pszPinyin, nSize);
}

FAKE_API int __stdcall GetTV2IDInfo(int nId, char* pszOut)
{
    return Record(23, nId, pszOut);
}

FAKE_API int __stdcall GetMidDat(const int* pData, int nCount, int nFirst, int nLast, int nFlags, int* pnOut)
{
    return Record(24, pData, nCount, nFirst, nLast, nFlags, pnOut);
}

FAKE_API int __stdcall GetSerialPortInfo(char* pszOut)
{
    return Record(25, pszOut);
}

FAKE_API int __stdcall DatCompressPro_PP(const void* pIn, int nInSize, void* pOut, int nOutSize, int nMode)
{
    return Record(26, pIn, nInSize, pOut, nOutSize, nMode);
}

FAKE_API int __stdcall GetItemIDByParamID(int nParamId)
{
    return Record(28, nParamId);
}

FAKE_API int __stdcall MakeCharPass(const char* pszText, char* pszOut)
{
    return Record(29, pszText, pszOut);
}

FAKE_API int __stdcall DeCodeDigital(const char* pszIn, char* pszOut)
{
    return Record(30, pszIn, pszOut);
}

FAKE_API int __stdcall EnCodeDigital(const char* pszIn, char* pszOut)
{
    return Record(31, pszIn, pszOut);
}

FAKE_API int __stdcall IsDigital(const char* pszText)
{
    return Record(33, pszText);
}

FAKE_API int __stdcall CnvJpeg2BmpFile(const char* pszJpeg, const char* pszBmp)
{
    return Record(34, pszJpeg, pszBmp);
}

FAKE_API int __stdcall SaveLog(const char* pszFile, const char* pszText)
{
    return Record(35, pszFile, pszText);
}

FAKE_API int __stdcall HDSetNum(int nChannel, int nCount)
{
    return Record(36, nChannel, nCount);
}

FAKE_API int __stdcall HDAddDat(int nChannel, int nValue)
{
    return Record(37, nChannel, nValue);
}

FAKE_API int __stdcall HDGetDat(int nChannel, int* pnOut)
{
    return Record(38, nChannel, pnOut);
}

FAKE_API int __stdcall OpenNet(const char* pszHost, int nPort, int nMode, int nTimeout)
{
    return Record(39, pszHost, nPort, nMode, nTimeout);
}

FAKE_API int __stdcall CloseNet(int hNet)
{
    return Record(40, hNet);
}

FAKE_API int __stdcall ReadNetData(int hNet, char* pOut, int nSize)
{
    return Record(41, hNet, pOut, nSize);
}

FAKE_API int __stdcall SendNetData(int hNet, const char* pData, int nSize, int nFlags, int nTimeout)
{
    return Record(42, hNet, pData, nSize, nFlags, nTimeout);
}

FAKE_API int __stdcall GetHostIP(char* pszOut)
{
    return Record(43, pszOut);
}

FAKE_API int __stdcall Ping(const char* pszHost)
{
    return Record(44, pszHost);
}

FAKE_API int __stdcall ScanPort(const char* pszHost, int nPort)
{
    return Record(45, pszHost, nPort);
}

FAKE_API int __stdcall ParseIP(const char* pszIp, int* pnA, int* pnB, int* pnC, int* pnD)
{
    return Record(46, pszIp, pnA, pnB, pnC, pnD);
}

FAKE_API int __stdcall GetWGAlias(int nId, char* pszOut)
{
    return Record(47, nId, pszOut);
}

FAKE_API int __stdcall GetInfoAlias(int nId, char* pszOut)
{
    return Record(48, nId, pszOut);
}

FAKE_API int __stdcall TrimLeft(char* pszText, char ch)
{
    return Record(49, pszText, ch);
}

FAKE_API int __stdcall TrimRight(char* pszText, char ch)
{
    return Record(50, pszText, ch);
}

FAKE_API int __stdcall ParseStdHead_Info(const char* pszSource, int nIndex, void* pOut)
{
    return Record(51, pszSource, nIndex, pOut);
}

#if FAKE_OMIT != 52
FAKE_API int __stdcall ParseStdHead_Std(const char* pszSource, int nIndex, void* pOut)
{
    return Record(52, pszSource, nIndex, pOut);
}
#endif

#if FAKE_OMIT != 53
FAKE_API int __stdcall ParseStdHead_Item(const char* pszSource, int nIndex, void* pOut)
{
    return Record(53, pszSource, nIndex, pOut);
}
#endif

FAKE_API int __stdcall IsSubID_int(int nId)
{
    return Record(55, nId);
}

FAKE_API int __stdcall IsSubID_char(const char* pszId)
{
    return Record(56, pszId);
}

FAKE_API int __stdcall WriteStdHead_Info(char* pszTarget, int nIndex, const void* pInfo)
{
    return Record(57, pszTarget, nIndex, pInfo);
}

FAKE_API int __stdcall WriteStdHead_Result(char* pszTarget, int nIndex, const void* pResult, int nType, int nFlags)
{
    return Record(58, pszTarget, nIndex, pResult, nType, nFlags);
}

FAKE_API int __stdcall FindProcess(const char* pszImage)
{
    return Record(59, pszImage);
}

FAKE_API int __stdcall KillProcess(const char* pszImage)
{
    return Record(60, pszImage);
}

FAKE_API int __stdcall GetProcess(char* pszOut)
{
    return Record(61, pszOut);
}

FAKE_API int __stdcall ParseStdHead(const char* pszSource, void* pHead)
{
    return Record(62, pszSource, pHead);
}

FAKE_API int __stdcall WriteStdHead_Item(char* pszTarget, const void* pItem)
{
    return Record(63, pszTarget, pItem);
}

FAKE_API int __stdcall WriteStdHead(char* pszTarget, const void* pHead)
{
    return Record(64, pszTarget, pHead);
}

FAKE_API int __stdcall WriteStdHead_Std(char* pszTarget, int nIndex, const void* pStd, int nFlags)
{
    return Record(65, pszTarget, nIndex, pStd, nFlags);
}

FAKE_API int __stdcall ParseStdHead_ProDat(const char* pszSource, int nIndex, void* pOut)
{
    return Record(66, pszSource, nIndex, pOut);
}

FAKE_API int __stdcall WriteStdHead_Result_Data(char* pszTarget, int nIndex, const void* pData, int nFlags)
{
    return Record(67, pszTarget, nIndex, pData, nFlags);
}

FAKE_API int __stdcall WriteStdHead_Result_Judge(char* pszTarget, int nIndex, int nJudge, int nFlags)
{
    return Record(68, pszTarget, nIndex, nJudge, nFlags);
}

FAKE_API int __stdcall ParseStdHead_Info_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return Record(69, pszSource, nIndex, pOut);
}

#if FAKE_OMIT != 70
FAKE_API int __stdcall ParseStdHead_Std_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return Record(70, pszSource, nIndex, pOut);
}
#endif

#if FAKE_OMIT != 71
FAKE_API int __stdcall ParseStdHead_Item_New(const char* pszSource, int nIndex, void* pOut)
{
    return Record(71, pszSource, nIndex, pOut);
}
#endif

FAKE_API int __stdcall ParseStdHead_Item_New_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return Record(72, pszSource, nIndex, pOut);
}

FAKE_API int __stdcall WriteStdHead_Item_New(char* pszTarget, int nIndex, const void* pItem, int nFlags)
{
    return Record(73, pszTarget, nIndex, pItem, nFlags);
}

FAKE_API int __stdcall ParseStdHead_Item_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return Record(75, pszSource, nIndex, pOut);
}

FAKE_API int __stdcall CnvStdHead_Result(const char* pszSource, char* pszTarget)
{
    return Record(76, pszSource, pszTarget);
}

FAKE_API int __stdcall GetJudgeString(int nJudge, char* pszOut, int nSize)
{
    return Record(77, nJudge, pszOut, nSize);
}

FAKE_API int __stdcall ParseStdHead_Result_Idx_Old(const char* pszSource, int nIndex, void* pOut, int* pnType)
{
    return Record(78, pszSource, nIndex, pOut, pnType);
}

FAKE_API int __stdcall ParseStdHead_ProDat_Idx(const char* pszSource, int nIndex, void* pOut)
{
    return Record(79, pszSource, nIndex, pOut);
}

FAKE_API int __stdcall WriteStdHead_ProDat(char* pszTarget, int nIndex, const void* pData)
{
    return Record(80, pszTarget, nIndex, pData);
}

FAKE_API int __stdcall GetAbsDays(const char* pszDate)
{
    return Record(81, pszDate);
}

FAKE_API int __stdcall GetInfoID(const char* pszName)
{
    return Record(83, pszName);
}

FAKE_API int __stdcall SortResult(void* pResults)
{
    return Record(84, pResults);
}

FAKE_API int __stdcall ChangeFileExtName(const char* pszPath, const char* pszExt, char* pszOut)
{
    return Record(85, pszPath, pszExt, pszOut);
}

FAKE_API int __stdcall ParseFileExtName(const char* pszPath, char* pszName, char* pszExt)
{
    return Record(86, pszPath, pszName, pszExt);
}

FAKE_API int __stdcall RemoveStdHead_Result(char* pszTarget, int nIndex)
{
    return Record(87, pszTarget, nIndex);
}

FAKE_API int __stdcall GetTV2LineInfo(int nLine, char* pszOut)
{
    return Record(88, nLine, pszOut);
}

FAKE_API int __stdcall GetMainID(int nId)
{
    return Record(89, nId);
}

FAKE_API int __stdcall BackupDB(const char* pszTarget)
{
    return Record(91, pszTarget);
}

FAKE_API int __stdcall RestoreDB(const char* pszSource)
{
    return Record(92, pszSource);
}

FAKE_API int __stdcall UTFDecode(char* pszText)
{
    return Record(93, pszText);
}

FAKE_API int __stdcall LoadXML(const char* pszPath)
{
    return Record(94, pszPath);
}

FAKE_API int __stdcall FindItem(const char* pszName)
{
    return Record(95, pszName);
}

FAKE_API int __stdcall IntoItem()
{
    return Record(96);
}

FAKE_API int __stdcall GetAttr(const char* pszName, char* pszOut)
{
    return Record(97, pszName, pszOut);
}

FAKE_API int __stdcall NextItem()
{
    return Record(98);
}

FAKE_API int __stdcall ExitItem()
{
    return Record(99);
}

FAKE_API int __stdcall WriteStdHead_Item_New_Judge(char* pszTarget, int nIndex, int nJudge)
{
    return Record(100, pszTarget, nIndex, nJudge);
}

FAKE_API int __stdcall WriteStdHead_Item_New_CheckNum(char* pszTarget, int nIndex, int nCount)
{
    return Record(101, pszTarget, nIndex, nCount);
}

FAKE_API int __stdcall GetCurProcess(char* pszOut)
{
    return Record(102, pszOut);
}

FAKE_API int __stdcall OpenHardware()
{
    return Record(103);
}

FAKE_API int __stdcall Hardware_ReadAI(int nChannel)
{
    return Record(104, nChannel);
}

FAKE_API int __stdcall Hardware_WriteAO(int nValue)
{
    return Record(105, nValue);
}

FAKE_API int __stdcall Hardware_ReadDI(int nChannel)
{
    return Record(106, nChannel);
}

FAKE_API int __stdcall Hardware_WriteDO(int nValue)
{
    return Record(107, nValue);
}

FAKE_API int __stdcall Hardware_WriteSDO(int nValue)
{
    return Record(108, nValue);
}

FAKE_API int __stdcall Hardware_WriteIDO(int nValue)
{
    return Record(109, nValue);
}

FAKE_API int __stdcall CloseHardware()
{
    return Record(110);
}

FAKE_API int __stdcall RemoveStdHead_Item_New(char* pszTarget, int nIndex)
{
    return Record(111, pszTarget, nIndex);
}

FAKE_API int __stdcall GetFileSPID(const char* pszPath, char* pszOut)
{
    return Record(112, pszPath, pszOut);
}

FAKE_API int __stdcall CnvIntData(int nValue, char* pszOut, int nRadix)
{
    return Record(113, nValue, pszOut, nRadix);
}

FAKE_API int __stdcall LoadSpecialFun(const char* pszName, int nFlags)
{
    return Record(115, pszName, nFlags);
}

FAKE_API int __stdcall GetEtherNetStatus(int nAdapter)
{
    return Record(116, nAdapter);
}

FAKE_API int __stdcall SaveSysKey(const char* pszSection, const char* pszKey, const char* pszValue)
{
    return Record(117, pszSection, pszKey, pszValue);
}

FAKE_API int __stdcall SaveSysKey2(const char* pszKey, const char* pszValue)
{
    return Record(118, pszKey, pszValue);
}

FAKE_API int __stdcall SetLayer(HWND hWnd, int nPercent)
{
    return Record(120, hWnd, nPercent);
}

FAKE_API int __stdcall ParseFileExtNameEx(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt)
{
    return Record(121, pszPath, pszDrive, pszDir, pszName, pszExt);
}

FAKE_API int __stdcall ReleaseMemory()
{
    return Record(122);
}

FAKE_API int __stdcall CompressFile(const char* pszSourceDir, const char* pszPackage)
{
    return Record(123, pszSourceDir, pszPackage);
}

FAKE_API int __stdcall UnCompressFile(const char* pszPackage, const char* pszTargetDir)
{
    return Record(124, pszPackage, pszTargetDir);
}

FAKE_API int __stdcall GetEtherNetStatusEx(int nAdapter, char* pszOut)
{
    return Record(125, nAdapter, pszOut);
}

FAKE_API int __stdcall JudgeVersion(const char* pszVersionA, const char* pszVersionB)
{
    return Record(126, pszVersionA, pszVersionB);
}

FAKE_API int __stdcall ExportDMIConfig(const char* pszPath)
{
    return Record(127, pszPath);
}

FAKE_API int __stdcall ImportDMIConfig(const char* pszPath)
{
    return Record(128, pszPath);
}

FAKE_API int __stdcall CnvStdHead_Result_Compatible(char* pszTarget)
{
    return Record(129, pszTarget);
}

FAKE_API int __stdcall ComputeDaySpan(const char* pszFrom, const char* pszTo)
{
    return Record(130, pszFrom, pszTo);
}

FAKE_API int __stdcall SwitchCPU()
{
    return Record(131);
}

FAKE_API int __stdcall MakeAvgData(const int* pData, int nCount, int nWindow, int* pnOut)
{
    return Record(132, pData, nCount, nWindow, pnOut);
}

FAKE_API int __stdcall MakeAvgData_M2(const int* pData, int nCount, int nWindow, int* pnOut)
{
    return Record(133, pData, nCount, nWindow, pnOut);
}

FAKE_API int __stdcall GetFileDayTime(const char* pszPath, char* pszOut, int nSize)
{
    return Record(134, pszPath, pszOut, nSize);
}

FAKE_API int __stdcall DoCheck()
{
    return Record(135);
}

FAKE_API int __stdcall CompressFileEx(const char* pszSourceDir, const char* pszPackage)
{
    return Record(136, pszSourceDir, pszPackage);
}

FAKE_API int __stdcall GetMemSPID(const void* pData, int nSize, char* pszOut)
{
    return Record(137, pData, nSize, pszOut);
}

FAKE_API int __stdcall GetProDat_Max(const char* pszSource, int* pnOut)
{
    return Record(138, pszSource, pnOut);
}

FAKE_API int __stdcall GetProDat_Pos(const char* pszSource, int nPos)
{
    return Record(139, pszSource, nPos);
}

FAKE_API int __stdcall GetProDatAll_Pos(const char* pszSource, int nPos, int* pnOut, int nSize)
{
    return Record(140, pszSource, nPos, pnOut, nSize);
}

FAKE_API int __stdcall GetSysDriverInfo(char* pszOut)
{
    return Record(141, pszOut);
}

FAKE_API int __stdcall GetTV2LineStationInfoByIP(const char* pszIp, int* pnLine, int* pnStation)
{
    return Record(142, pszIp, pnLine, pnStation);
}

FAKE_API int __stdcall ParseFileExtNameExA(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt)
{
    return Record(143, pszPath, pszDrive, pszDir, pszName, pszExt);
}

FAKE_API int __stdcall CreateShutKey(const char* pszName, const char* pszCommand, int bEnable)
{
    return Record(144, pszName, pszCommand, bEnable);
}

FAKE_API int __stdcall CreateNewKey(HKEY hRoot, const char* pszSubKey)
{
    return Record(145, hRoot, pszSubKey);
}

FAKE_API int __stdcall DeleteKey(HKEY hRoot, const char* pszSubKey)
{
    return Record(146, hRoot, pszSubKey);
}

FAKE_API int __stdcall SetValueKeyString(HKEY hRoot, const char* pszSubKey, const char* pszName, const char* pszValue)
{
    return Record(147, hRoot, pszSubKey, pszName, pszValue);
}

FAKE_API int __stdcall SetValueKeyLong(HKEY hRoot, const char* pszSubKey, const char* pszName, int nValue)
{
    return Record(148, hRoot, pszSubKey, pszName, nValue);
}

FAKE_API int __stdcall DeleteValue(HKEY hRoot, const char* pszSubKey, const char* pszName)
{
    return Record(149, hRoot, pszSubKey, pszName);
}

FAKE_API int __stdcall GetQueryValueL(HKEY hRoot, const char* pszSubKey, const char* pszName, int* pnValue)
{
    return Record(150, hRoot, pszSubKey, pszName, pnValue);
}

FAKE_API int __stdcall GetQueryValueS(HKEY hRoot, const char* pszSubKey, const char* pszName, char* pszValue)
{
    return Record(151, hRoot, pszSubKey, pszName, pszValue);
}

FAKE_API int __stdcall TestPath(const char* pszPath, int bCreate)
{
    return Record(152, pszPath, bCreate);
}

FAKE_API int __stdcall GetCompressFileExCnt()
{
    return Record(153);
}

#if FAKE_OMIT != 154
FAKE_API int __stdcall GetUnCompressFileExCnt()
{
    return Record(154);
}
#endif
