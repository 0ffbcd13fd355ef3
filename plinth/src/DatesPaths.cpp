// Dates, file times, and path and file-name helpers.
#include "Exports.h"
#include "Guard.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

namespace {

// Day number of a civil date, 0001-01-01 being day 1.
long long DayNumber(int y, int m, int d)
{
    // Days from 1970-01-01 (H. Hinnant's algorithm), then shifted.
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * static_cast<unsigned>(m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    long long fromEpoch = era * 146097 + static_cast<long long>(doe) - 719468;
    return fromEpoch + 719163; // 0001-01-01 is 719162 days before 1970-01-01
}

void CivilFromDay(long long day, int& y, int& m, int& d)
{
    long long z = day - 719163 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

bool ValidDate(int y, int m, int d)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1)
        return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

// "YYYY-MM-DD", "YYYY/MM/DD" or "YYYY.MM.DD", anything after the day ignored.
bool ParseDate(const char* text, int& y, int& m, int& d)
{
    if (!text)
        return false;
    char sep1 = 0, sep2 = 0;
    int n = 0;
    if (std::sscanf(text, "%d%c%d%c%d%n", &y, &sep1, &m, &sep2, &d, &n) != 5)
        return false;
    if (sep1 != sep2 || (sep1 != '-' && sep1 != '/' && sep1 != '.'))
        return false;
    return ValidDate(y, m, d);
}

// The last backslash or slash of an ANSI path, walking by characters.
const char* LastSeparator(const char* path)
{
    const char* last = nullptr;
    for (const char* p = path; *p; p = plinth::NextChar(p))
        if (*p == '\\' || *p == '/')
            last = p;
    return last;
}

// The last dot of a file name, walking by characters.
const char* LastDot(const char* name)
{
    const char* last = nullptr;
    for (const char* p = name; *p; p = plinth::NextChar(p))
        if (*p == '.')
            last = p;
    return last;
}

struct PathParts {
    std::string drive, dir, dirNoDrive, name, ext; // dir without, dirNoDrive with its trailing separator
};

PathParts Split(const char* path)
{
    PathParts parts;
    const char* rest = path;
    if (((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':') {
        parts.drive.assign(path, 2);
        rest = path + 2;
    } else if ((path[0] == '\\' && path[1] == '\\') || (path[0] == '/' && path[1] == '/')) {
        // \\server\share counts as the drive.
        const char* p = path + 2;
        int seps = 0;
        for (; *p; p = plinth::NextChar(p)) {
            if ((*p == '\\' || *p == '/') && ++seps == 2)
                break;
        }
        parts.drive.assign(path, static_cast<std::size_t>(p - path));
        rest = p;
    }
    const char* sep = LastSeparator(rest);
    const char* file = sep ? sep + 1 : rest;
    if (sep) {
        parts.dirNoDrive.assign(rest, static_cast<std::size_t>(file - rest));
        parts.dir = parts.drive + std::string(rest, static_cast<std::size_t>(sep - rest));
    } else {
        parts.dir = parts.drive;
    }
    const char* dot = LastDot(file);
    if (dot && dot != file) {
        parts.name.assign(file, static_cast<std::size_t>(dot - file));
        parts.ext = dot;
    } else {
        parts.name = file;
    }
    return parts;
}

// Writes each part to its output when the output is not null; a part that does
// not fit leaves its output empty and makes the answer -2.
int Deliver(std::initializer_list<std::pair<char*, const std::string*>> outs)
{
    int answer = 1;
    for (const auto& o : outs) {
        if (!o.first)
            continue;
        if (plinth::CopyOut(o.first, PLINTH_TEXT_OUT, o.second->c_str(), static_cast<int>(o.second->size())) < 0)
            answer = -2;
    }
    return answer;
}

bool MakeDirectoryChain(const std::string& path)
{
    std::string dir = path;
    while (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    if (dir.empty())
        return false;
    DWORD a = GetFileAttributesA(dir.c_str());
    if (a != INVALID_FILE_ATTRIBUTES)
        return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const char* sep = LastSeparator(dir.c_str());
    if (sep && sep != dir.c_str()) {
        std::string parent(dir.c_str(), static_cast<std::size_t>(sep - dir.c_str()));
        if (!(parent.size() == 2 && parent[1] == ':'))
            MakeDirectoryChain(parent);
    }
    if (CreateDirectoryA(dir.c_str(), nullptr))
        return true;
    a = GetFileAttributesA(dir.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

int plinth::entry::GetAbsDays(const char* pszDate)
{
    int y, m, d;
    if (!ParseDate(pszDate, y, m, d))
        return -1;
    return static_cast<int>(DayNumber(y, m, d));
}

int plinth::entry::GetDateByTimeSpan(const DateYMD* pDate, int nSpan, DateYMD* pOut)
{
    if (!pDate || !pOut || !ValidDate(pDate->year, pDate->month, pDate->day))
        return 0;
    long long day = DayNumber(pDate->year, pDate->month, pDate->day) + nSpan;
    int y, m, d;
    CivilFromDay(day, y, m, d);
    if (!ValidDate(y, m, d))
        return 0;
    pOut->year = y;
    pOut->month = static_cast<std::int8_t>(m);
    pOut->day = static_cast<std::int8_t>(d);
    pOut->reserved = 0;
    return 1;
}

int plinth::entry::ComputeDaySpan(const char* pszFrom, const char* pszTo)
{
    int y1, m1, d1, y2, m2, d2;
    if (!ParseDate(pszFrom, y1, m1, d1) || !ParseDate(pszTo, y2, m2, d2))
        return INT_MIN;
    return static_cast<int>(DayNumber(y2, m2, d2) - DayNumber(y1, m1, d1));
}

int plinth::entry::GetFileDayTime(const char* pszPath, char* pszOut, int nSize)
{
    if (!pszPath || !pszOut || nSize <= 0)
        return -1;
    pszOut[0] = '\0';
    WIN32_FILE_ATTRIBUTE_DATA attr;
    if (!GetFileAttributesExA(pszPath, GetFileExInfoStandard, &attr))
        return -1;
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&attr.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &st);
    char text[32];
    int n = std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour,
                          st.wMinute, st.wSecond);
    return plinth::CopyOut(pszOut, nSize, text, n);
}

namespace {

// The two path splitters differ only in whether the directory keeps its drive.
int ParsePath(const char* pszPath, char* pszDrive, char* pszDir, char* pszName, char* pszExt, bool bDirWithDrive)
{
    char* outs[] = {pszDrive, pszDir, pszName, pszExt};
    for (char* o : outs)
        if (o)
            o[0] = '\0';
    if (!pszPath)
        return -1;
    PathParts p = Split(pszPath);
    return Deliver({{pszDrive, &p.drive}, {pszDir, bDirWithDrive ? &p.dir : &p.dirNoDrive}, {pszName, &p.name},
                    {pszExt, &p.ext}});
}

} // namespace

int plinth::entry::ParseFileExtNameEx(const char* pszPath, char* pszDrive, char* pszDir, char* pszName,
                                      char* pszExt)
try {
    return ParsePath(pszPath, pszDrive, pszDir, pszName, pszExt, true);
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::ParseFileExtNameExA(const char* pszPath, char* pszDrive, char* pszDir, char* pszName,
                                       char* pszExt)
try {
    return ParsePath(pszPath, pszDrive, pszDir, pszName, pszExt, false);
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::ParseFileExtName(const char* pszPath, char* pszName, char* pszExt)
try {
    if (pszName)
        pszName[0] = '\0';
    if (pszExt)
        pszExt[0] = '\0';
    if (!pszPath)
        return -1;
    PathParts p = Split(pszPath);
    return Deliver({{pszName, &p.name}, {pszExt, &p.ext}});
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::ChangeFileExtName(const char* pszPath, const char* pszExt, char* pszOut)
try {
    if (!pszPath || !pszOut)
        return -1;
    pszOut[0] = '\0';
    const char* sep = LastSeparator(pszPath);
    const char* file = sep ? sep + 1 : pszPath;
    const char* dot = LastDot(file);
    std::string result(pszPath, static_cast<std::size_t>((dot && dot != file ? dot : file + std::strlen(file)) - pszPath));
    if (pszExt && *pszExt) {
        if (*pszExt != '.')
            result += '.';
        result += pszExt;
    }
    return plinth::CopyOut(pszOut, PLINTH_TEXT_OUT, result.c_str(), static_cast<int>(result.size()));
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::MakeSurePathExistsACreate(const char* pszPath)
try {
    if (!pszPath || !*pszPath)
        return -1;
    return MakeDirectoryChain(pszPath) ? 1 : 0;
} catch (...) {
    return plinth::Caught(__func__, 0);
}

int plinth::entry::TestPath(const char* pszPath, int bCreate)
try {
    if (!pszPath || !*pszPath)
        return -1;
    std::string dir = pszPath;
    while (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    DWORD a = GetFileAttributesA(dir.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
        return 1;
    if (!bCreate)
        return 0;
    return MakeDirectoryChain(dir) ? 1 : 0;
} catch (...) {
    return plinth::Caught(__func__, 0);
}
