#pragma once
#include <windows.h>

#include <cstdint>

#include "ZipReader.h"

// The times of ZIP entries as Windows file times.
namespace plinth {

// The entry's modification time: the extended-timestamp field when present,
// else the DOS time read as local time.
FILETIME EntryTime(const ZipEntry& entry);

// Unix time (seconds) and FILETIME.
FILETIME UnixTimeToFileTime(std::int64_t t);
std::int64_t FileTimeToUnixTime(const FILETIME& ft);
// DOS date and time (local time) and FILETIME.
FILETIME DosTimeToFileTime(std::uint16_t dosDate, std::uint16_t dosTime);
void FileTimeToDosTime(const FILETIME& ft, std::uint16_t& dosDate, std::uint16_t& dosTime);

} // namespace plinth
