#pragma once
#include <windows.h>

#include <cstdint>

#include "ListPositions.h"

// What the update tool and the suite's system library, Plinth.dll, agree on:
// the size of the environment record, the records that both sides lay out,
// and the list of entry points (PlinthEntries.def).

// Size in bytes of the environment record that GetPlinth fills and
// GetPlinthStrSize reports.
constexpr int PLINTH_ENV_SIZE = 188910;

constexpr int PLINTH_ENTRY_COUNT = 154;

// Records exchanged with the library, laid out without padding.
#pragma pack(push, 1)

// Result record of type 1.
struct StdResultShort {
    std::uint16_t id;
    char text[10];
    std::uint8_t flag;
};

// Result record of type 2.
struct StdResultLong {
    std::uint16_t id;
    char text[100];
    std::uint8_t flag;
};

// Date that GetDateByTimeSpan reads and writes.
struct DateYMD {
    std::int32_t year;
    std::int8_t day;
    std::int8_t month;
    std::int16_t reserved;
};

#pragma pack(pop)

static_assert(sizeof(StdResultShort) == 13, "type-1 result record");
static_assert(sizeof(StdResultLong) == 103, "type-2 result record");
static_assert(sizeof(DateYMD) == 8, "date record");

// The list's positions in its order. The loader's error codes and every
// library's exports follow them.
namespace plinth_contract {

constexpr int kPositions[] = {
#define PLINTH_ENTRY(position, result, name, parameters, arguments) position,
#include "PlinthEntries.def"
};

static_assert(sizeof kPositions / sizeof kPositions[0] == PLINTH_ENTRY_COUNT, "the list has 154 entry points");
static_assert(PositionsRunFromOne(kPositions), "the list's positions run from 1 to 154 in order");

} // namespace plinth_contract
