#pragma once
#include <windows.h>
#include <ctime>

// A point in time to the second (UTC seconds since 1970), as file status keeps it.
class CTime {
public:
    CTime() = default;
    explicit CTime(__time64_t t) : m_time(t) {}
    // From a file time; the fraction of the second is dropped.
    explicit CTime(const FILETIME& ft);

    // The file time of this second (no fraction).
    FILETIME ToFileTime() const;

private:
    __time64_t m_time = 0;
};
