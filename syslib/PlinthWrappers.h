#pragma once
#include <windows.h>

#include "PlinthContract.h"

// One wrapper per entry point of the system library (all but GetPlinthStrSize,
// which only the loader calls), with the entry point's name and parameters as
// contract/PlinthEntries.def lists them. A wrapper calls through its slot when
// the entry point is resolved and answers its not-resolved value otherwise:
// PLINTH_NOT_RESOLVED, PLINTH_NOT_RESOLVED_TEXT or PLINTH_NOT_RESOLVED_REAL.

constexpr int PLINTH_NOT_RESOLVED = -1000;
extern const char* const PLINTH_NOT_RESOLVED_TEXT; // "No This Funciont"
constexpr double PLINTH_NOT_RESOLVED_REAL = -1000.0;

#define PLINTH_ENTRY(position, result, name, parameters, arguments) result name parameters;
#define PLINTH_LOADER_ENTRY(position, result, name, parameters, arguments)
#include "PlinthEntries.def"

// Composites over the entry points above; none has a slot of its own.
int Trim(char* pszText, char ch);
int GetMainIDStr(const char* pszId);
int GetMainIDByName(const char* pszName, int n);
int GetMainIDIfSub(int nId, int nMainId);
int GetDateStrByTimeSpan(const char* pszDate, int nSpan, char* pszOut);
int ParseStdHead_Result_Text(const char* pszSource, int nIndex, char* pszText, int* pnFlag);
int ParseStdHead_Result_Idx_Text(const char* pszSource, int nIndex, int* pnId, char* pszText, int* pnFlag);
