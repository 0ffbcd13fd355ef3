#include "CTime.h"

namespace {
// 100-ns intervals from 1601-01-01 to 1970-01-01, and per second.
constexpr ULONGLONG EPOCH_OFFSET = 116444736000000000ULL;
constexpr ULONGLONG TICKS_PER_SECOND = 10000000ULL;
}

CTime::CTime(const FILETIME& ft)
{
    ULARGE_INTEGER ticks;
    ticks.LowPart = ft.dwLowDateTime;
    ticks.HighPart = ft.dwHighDateTime;
    m_time = ticks.QuadPart < EPOCH_OFFSET
        ? 0
        : static_cast<__time64_t>((ticks.QuadPart - EPOCH_OFFSET) / TICKS_PER_SECOND);
}

FILETIME CTime::ToFileTime() const
{
    ULARGE_INTEGER ticks;
    ticks.QuadPart = static_cast<ULONGLONG>(m_time) * TICKS_PER_SECOND + EPOCH_OFFSET;
    FILETIME ft;
    ft.dwLowDateTime = ticks.LowPart;
    ft.dwHighDateTime = ticks.HighPart;
    return ft;
}
