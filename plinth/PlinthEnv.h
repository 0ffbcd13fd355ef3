#pragma once
#include <cstdint>

// The header that Plinth.dll's GetPlinth (and GetDefaultPlinth) writes at the
// start of the environment record (PLINTH_ENV_SIZE bytes); the rest of it is
// zero. The tool never reads the record; this says what filled it.
#pragma pack(push, 1)
struct PlinthEnvHeader {
    char magic[8];          // "PLINTHEV" (no terminator)
    std::uint32_t headerSize; // sizeof(PlinthEnvHeader), 152
    std::uint32_t recordSize; // PLINTH_ENV_SIZE
    std::uint32_t layout;     // 1, this layout
    char filler[48];        // "TAVI Plinth.dll (project build)", zero-terminated
    char version[32];       // the library's version text, as GetVers(null, ...) gives it
    char filledAt[20];      // local time of the fill, "YYYY-MM-DD HH:MM:SS"
    std::uint32_t processId;  // the process that asked
    char computer[28];      // the computer's name, cut to 27 bytes
};
#pragma pack(pop)

static_assert(sizeof(PlinthEnvHeader) == 152, "environment record header");
