// A stand-in for the suite's system library, with every entry point of the
// list. One source, built into several DLLs: FAKE_ENV_SIZE is what
// GetPlinthStrSize answers, FAKE_TAG tells the variants' files apart, and a
// variant built with -D<name>=<other name> exports that entry point under the
// other name, so that the loader misses it. Every entry point records its call
// and answers its own position (or what the test set with Fake_SetAnswer; the
// floating-point ones add 0.5), so a test can see which slot a wrapper used
// and what reached the library. A few behave as below.
#include "PlinthContract.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

#ifndef FAKE_ENV_SIZE
#define FAKE_ENV_SIZE PLINTH_ENV_SIZE
#endif
#ifndef FAKE_TAG
#define FAKE_TAG 1
#endif

#define FAKE_API extern "C" __declspec(dllexport)

namespace {

constexpr int kPositions = PLINTH_ENTRY_COUNT + 1;
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

// Counts a call of the entry point and keeps its arguments as 32-bit words.
struct CallRecorder {
    int position;

    template <typename... Args>
    void operator()(Args... args) const
    {
        CallRecord& call = g_calls[position];
        ++call.count;
        const std::uint32_t words[] = {0, AsWord(args)...};
        std::memcpy(call.args, words + 1, sizeof(std::uint32_t) * sizeof...(Args));
    }
};

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
// Entry points with a behaviour of their own, called after the call is
// recorded.

namespace behaviour {

int GetPlinthStrSize()
{
    return FAKE_ENV_SIZE;
}

const char* GetLangueString(int)
{
    return "fake text 27";
}

int GetParamIDByName(const char*, int, char* pszOut)
{
    if (pszOut)
        std::strcpy(pszOut, g_text);
    return Answer(32);
}

int HandOutRecord(int position, void* pOut, int* pnType)
{
    if (pOut)
        std::memcpy(pOut, g_record, sizeof g_record);
    if (pnType)
        *pnType = g_recordType;
    return Answer(position);
}

int ParseStdHead_Result(const char*, int, void* pOut, int* pnType)
{
    return HandOutRecord(54, pOut, pnType);
}

int ParseStdHead_Result_Idx(const char*, int, void* pOut, int* pnType)
{
    return HandOutRecord(74, pOut, pnType);
}

// Splits for real, so that the date composite has fields to read.
int GetField2(const char* pszText, char* pszOut, int nIndex, char chSeparator)
{
    if (!pszText || !pszOut)
        return Answer(82);
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
    return g_answerSet[82] ? Answer(82) : static_cast<int>(length);
}

// Adds the span to the day without carrying: enough to see the fields move.
int GetDateByTimeSpan(const DateYMD* pDate, int nSpan, DateYMD* pOut)
{
    if (pDate && pOut) {
        *pOut = *pDate;
        pOut->day = static_cast<std::int8_t>(pDate->day + nSpan);
    }
    return Answer(90);
}

} // namespace behaviour

// ---------------------------------------------------------------------------
// Every entry point of the list.

struct Plain {};

// Never defined. Overload resolution takes it only where behaviour declares
// nothing of the name: an ellipsis ranks below any argument's conversion, and
// a template below a plain function.
namespace plain {
#define PLINTH_ENTRY(position, result, name, parameters, arguments) template <typename = void> Plain name(...);
#include "PlinthEntries.def"
} // namespace plain

namespace lookup {
using namespace behaviour;
using namespace plain;
} // namespace lookup

namespace {

template <typename Result> Result PlainAnswer(int position);
template <> int PlainAnswer<int>(int position) { return Answer(position); }
template <> double PlainAnswer<double>(int position) { return Answer(position) + 0.5; }

template <typename Result, typename Call>
Result Respond(int position, Call call)
{
    if constexpr (std::is_same_v<decltype(call()), Plain>)
        return PlainAnswer<Result>(position);
    else
        return call();
}

} // namespace

#define PLINTH_ENTRY(position, result, name, parameters, arguments)                 \
    FAKE_API result __stdcall name parameters                                       \
    {                                                                               \
        CallRecorder{position} arguments;                                           \
        return Respond<result>(position, [&] { return lookup::name arguments; });   \
    }
#include "PlinthEntries.def"
