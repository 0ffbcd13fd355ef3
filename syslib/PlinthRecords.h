#pragma once
#include <cstdint>

// Records exchanged with the system library, laid out without padding.
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
