#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A second, independent writer of ZIP archives for the tests: it lays out the
// records byte by byte, so that the tests can also make every kind of bad
// package. Only the deflating and the CRC-32 come from zlib.
namespace testzip {

struct Entry {
    std::string name;               // the name's bytes as stored
    std::string data;               // the uncompressed contents
    bool deflate = false;
    std::uint16_t flags = 0;        // general-purpose flags (bit 11: UTF-8 name)
    int method = -1;                // recorded method; -1: from deflate
    std::uint32_t externalAttr = 0x20;
    std::uint16_t madeBy = 20;      // version made by (host in the high byte)
    std::int64_t unixTime = -1;     // extended-timestamp field when 0 or more
    std::uint16_t dosDate = (46 << 9) | (3 << 5) | 15; // 2026-03-15
    std::uint16_t dosTime = (10 << 11) | (20 << 5) | 15; // 10:20:30
    std::int64_t recordedCrc = -1;  // a CRC other than the data's
    std::int64_t recordedSize = -1; // an uncompressed size other than the data's (ZIP64 field when large)
    bool descriptor = false;        // CRC and sizes in a descriptor after the data, without its signature
};

// The whole archive.
std::string Build(const std::vector<Entry>& entries);

// Streams a large archive of count stored entries of size bytes each to path,
// without holding any entry whole. Answers false on a write failure.
bool WriteLarge(const std::string& path, int count, std::uint64_t size);

} // namespace testzip
