#include "ZipTimes.h"

namespace plinth {

FILETIME UnixTimeToFileTime(std::int64_t t)
{
    ULARGE_INTEGER u;
    u.QuadPart = static_cast<ULONGLONG>((t + 11644473600LL) * 10000000LL);
    FILETIME ft;
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    return ft;
}

std::int64_t FileTimeToUnixTime(const FILETIME& ft)
{
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<std::int64_t>(u.QuadPart / 10000000ULL) - 11644473600LL;
}

FILETIME DosTimeToFileTime(std::uint16_t dosDate, std::uint16_t dosTime)
{
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(1980 + (dosDate >> 9));
    local.wMonth = static_cast<WORD>((dosDate >> 5) & 0x0F);
    local.wDay = static_cast<WORD>(dosDate & 0x1F);
    local.wHour = static_cast<WORD>(dosTime >> 11);
    local.wMinute = static_cast<WORD>((dosTime >> 5) & 0x3F);
    local.wSecond = static_cast<WORD>((dosTime & 0x1F) * 2);
    if (local.wMonth < 1 || local.wMonth > 12)
        local.wMonth = 1;
    if (local.wDay < 1)
        local.wDay = 1;
    if (local.wHour > 23)
        local.wHour = 23;
    if (local.wMinute > 59)
        local.wMinute = 59;
    if (local.wSecond > 59)
        local.wSecond = 59;
    SYSTEMTIME utc;
    FILETIME ft = {};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &ft)) {
        FILETIME lft;
        if (SystemTimeToFileTime(&local, &lft))
            LocalFileTimeToFileTime(&lft, &ft);
    }
    return ft;
}

void FileTimeToDosTime(const FILETIME& ft, std::uint16_t& dosDate, std::uint16_t& dosTime)
{
    SYSTEMTIME utc, local;
    dosDate = static_cast<std::uint16_t>((0 << 9) | (1 << 5) | 1);
    dosTime = 0;
    if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return;
    if (local.wYear < 1980) {
        return;
    }
    if (local.wYear > 2107)
        local.wYear = 2107;
    dosDate = static_cast<std::uint16_t>(((local.wYear - 1980) << 9) | (local.wMonth << 5) | local.wDay);
    dosTime = static_cast<std::uint16_t>((local.wHour << 11) | (local.wMinute << 5) | (local.wSecond / 2));
}

FILETIME EntryTime(const ZipEntry& entry)
{
    if (entry.hasUnixTime)
        return UnixTimeToFileTime(entry.unixTime);
    return DosTimeToFileTime(entry.dosDate, entry.dosTime);
}

} // namespace plinth
