#include "VersionText.h"

#include "CodePages.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace plinth {

bool FileVersionText(const char* path, std::string& out)
{
    out = "0.0.0.0.0.0.0";
    if (!path || !*path)
        return false;
    std::wstring wide;
    if (!DecodeBytes(path, kAnsiCodePage, false, wide))
        return false;
    return FileVersionText(wide, out);
}

namespace {

// Whether the file starts with the MZ signature that every executable image
// with a version resource has. The version API would answer the same for
// any other file, only at several times the cost: it tries to load the file
// as a library and searches for it more than once.
bool HasImageSignature(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;  // unreadable here: the version API decides
    char signature[2] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, signature, sizeof signature, &read, nullptr);
    CloseHandle(file);
    return !ok || (read == sizeof signature && signature[0] == 'M' && signature[1] == 'Z');
}

// The value of the part that starts at p (its leading digits), and the
// position after the part's dot, or the end.
unsigned long long NextPart(const char*& p)
{
    unsigned long long value = 0;
    while (*p == ' ' || *p == '\t')
        ++p;
    while (*p >= '0' && *p <= '9') {
        if (value < 100000000000000000ULL)
            value = value * 10 + static_cast<unsigned>(*p - '0');
        ++p;
    }
    while (*p && *p != '.')
        ++p;
    if (*p == '.')
        ++p;
    return value;
}

} // namespace

bool FileVersionText(const std::wstring& path, std::string& out)
{
    out = "0.0.0.0.0.0.0";
    if (path.empty())
        return false;
    // A missing file, a directory and a file too short for an image header
    // are answered from the attributes alone.
    WIN32_FILE_ATTRIBUTE_DATA attr;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attr)
        || (attr.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        || (attr.nFileSizeHigh == 0 && attr.nFileSizeLow < sizeof(IMAGE_DOS_HEADER)) || !HasImageSignature(path))
        return false;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return false;
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
        len < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD)
        return false;
    FILETIME local;
    SYSTEMTIME st = {};
    FileTimeToLocalFileTime(&attr.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &st);
    char text[128];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u.%u.%u.%u", HIWORD(info->dwFileVersionMS),
                  LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS),
                  st.wYear, st.wMonth, st.wDay);
    out = text;
    return true;
}


int CompareVersionTexts(const char* a, const char* b)
{
    if (!a)
        a = "";
    if (!b)
        b = "";
    while (*a || *b) {
        unsigned long long x = NextPart(a), y = NextPart(b);
        if (x < y)
            return -1;
        if (x > y)
            return 1;
    }
    return 0;
}

} // namespace plinth
