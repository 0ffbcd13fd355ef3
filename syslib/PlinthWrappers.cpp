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

// The entry point's slot as a pointer of its own type; null when it is not
// resolved.
template <typename Pointer>
Pointer Slot(PlinthEntry entry)
{
    // Through void (*)(), the generic function pointer type, to the real one.
    return reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(PlinthSlot(entry)));
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

#define PLINTH_ENTRY(position, result, name, parameters, arguments)          \
    result name parameters                                                    \
    {                                                                         \
        auto entry = Slot<result(__stdcall*) parameters>(PlinthEntry::name);  \
        return entry ? entry arguments : NotResolved<result>();               \
    }
#define PLINTH_LOADER_ENTRY(position, result, name, parameters, arguments)
#include "PlinthEntries.def"

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
