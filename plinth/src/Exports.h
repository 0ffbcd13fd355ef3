#pragma once
#include <windows.h>

#include "PlinthContract.h"

// Outputs that come without a size receive at most this many bytes,
// terminator included.
constexpr int PLINTH_TEXT_OUT = 500;

// The answer of an entry point that this library does not support.
constexpr int PLINTH_NOT_SUPPORTED = -1001;
constexpr double PLINTH_NOT_SUPPORTED_REAL = -1001.0;

namespace plinth {
// Copies text into out (at most size bytes with the terminator); answers the
// length copied, or -2 (out left empty) when it does not fit.
int CopyOut(char* out, int size, const char* text, int length = -1);
// The next character of a GBK text: one byte, or two for a lead byte.
inline const char* NextChar(const char* p)
{
    return CharNextExA(936, p, 0);
}

// Each entry point's type, under the entry point's name.
namespace signature {
#define PLINTH_ENTRY(position, result, name, parameters, arguments) using name = result parameters;
#include "PlinthEntries.def"
} // namespace signature

// The entry points that this library implements, by source file. Exports.cpp
// exports every entry point of the list: these pass their arguments on to the
// implementation here, every other one answers PLINTH_NOT_SUPPORTED.
namespace entry {
// Core.cpp
signature::GetPlinthStrSize GetPlinthStrSize;
signature::GetPlinth GetPlinth;
signature::GetDefaultPlinth GetDefaultPlinth;
signature::GetDllVer GetDllVer;
signature::PostLog PostLog;
signature::GetLog GetLog;
signature::SaveLog SaveLog;
signature::GetVers GetVers;
signature::JudgeVersion JudgeVersion;
signature::SetLayer SetLayer;
signature::ReleaseMemory ReleaseMemory;
signature::GetRand GetRand;
signature::Filter_1 Filter_1;
// DatesPaths.cpp
signature::GetAbsDays GetAbsDays;
signature::GetDateByTimeSpan GetDateByTimeSpan;
signature::ComputeDaySpan ComputeDaySpan;
signature::GetFileDayTime GetFileDayTime;
signature::ParseFileExtNameEx ParseFileExtNameEx;
signature::ParseFileExtNameExA ParseFileExtNameExA;
signature::ParseFileExtName ParseFileExtName;
signature::ChangeFileExtName ChangeFileExtName;
signature::MakeSurePathExistsACreate MakeSurePathExistsACreate;
signature::TestPath TestPath;
// Package.cpp
signature::UnCompressFile UnCompressFile;
signature::GetUnCompressFileExCnt GetUnCompressFileExCnt;
signature::CompressFile CompressFile;
signature::CompressFileEx CompressFileEx;
signature::GetCompressFileExCnt GetCompressFileExCnt;
signature::DatCompressPro_PP DatCompressPro_PP;
// Process.cpp
signature::KillProcess KillProcess;
signature::FindProcess FindProcess;
signature::GetProcess GetProcess;
signature::GetCurProcess GetCurProcess;
signature::WinExecEx WinExecEx;
signature::GetServicesState GetServicesState;
signature::Stop_Services Stop_Services;
signature::Open_Services Open_Services;
// Registry.cpp
signature::CreateNewKey CreateNewKey;
signature::DeleteKey DeleteKey;
signature::SetValueKeyString SetValueKeyString;
signature::SetValueKeyLong SetValueKeyLong;
signature::DeleteValue DeleteValue;
signature::GetQueryValueL GetQueryValueL;
signature::GetQueryValueS GetQueryValueS;
signature::GetSerialPortInfo GetSerialPortInfo;
// Text.cpp
signature::GetField2 GetField2;
signature::GetField GetField;
signature::TrimLeft TrimLeft;
signature::TrimRight TrimRight;
signature::IsDigital IsDigital;
signature::UTFDecode UTFDecode;
signature::CnvIntData CnvIntData;
signature::ParseIP ParseIP;
signature::GetMidDat GetMidDat;
signature::MakeAvgData MakeAvgData;
signature::MakeAvgData_M2 MakeAvgData_M2;
signature::IsSubID_int IsSubID_int;
signature::IsSubID_char IsSubID_char;
signature::GetMainID GetMainID;
} // namespace entry

} // namespace plinth
