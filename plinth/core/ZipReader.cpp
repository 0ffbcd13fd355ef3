#include "ZipReader.h"

#include "PackageCodes.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

namespace plinth {

namespace {

constexpr std::uint32_t kSigLocal = 0x04034b50;
constexpr std::uint32_t kSigCentral = 0x02014b50;
constexpr std::uint32_t kSigEnd = 0x06054b50;
constexpr std::uint32_t kSigZip64End = 0x06064b50;
constexpr std::uint32_t kSigZip64Locator = 0x07064b50;

constexpr std::size_t kInBufferSize = 256 * 1024;
constexpr std::size_t kOutBufferSize = 512 * 1024;

std::uint16_t Get16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t Get64(const unsigned char* p)
{
    return static_cast<std::uint64_t>(Get32(p)) | (static_cast<std::uint64_t>(Get32(p + 4)) << 32);
}

std::string Utf8Of(const ZipEntry& e)
{
    if (!e.name.empty())
        return ToUtf8(e.name);
    std::string out;
    for (unsigned char c : e.raw) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            wsprintfA(hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

} // namespace

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

FILETIME ZipReader::EntryTime(const ZipEntry& entry)
{
    if (entry.hasUnixTime)
        return UnixTimeToFileTime(entry.unixTime);
    return DosTimeToFileTime(entry.dosDate, entry.dosTime);
}

ZipReader::~ZipReader()
{
    Close();
}

void ZipReader::Close()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    m_entries.clear();
    m_fileSize = m_cdOffset = m_cdSize = m_entryCount = m_totalSize = 0;
}

int ZipReader::Fail(int code, const std::string& message)
{
    m_problem = message;
    return code;
}

bool ZipReader::ReadAt(std::uint64_t offset, void* buffer, std::size_t size)
{
    unsigned char* p = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        OVERLAPPED ov = {};
        ov.Offset = static_cast<DWORD>(offset);
        ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(m_file, p, chunk, &got, &ov) || got == 0)
            return false;
        p += got;
        size -= got;
        offset += got;
    }
    return true;
}

int ZipReader::Open(const std::wstring& path)
{
    Close();
    m_problem.clear();
    m_file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        return Fail(kPkgCannotOpen, "the package cannot be opened");
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_file, &size)) {
        Close();
        return Fail(kPkgCannotOpen, "the package's size cannot be read");
    }
    m_fileSize = static_cast<std::uint64_t>(size.QuadPart);
    int code = ReadCentralDirectory();
    if (code != 0) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        m_entries.clear();
    }
    return code;
}

int ZipReader::ReadCentralDirectory()
{
    if (m_fileSize < 22)
        return Fail(kPkgNotZip, "the file is too short to be a ZIP archive");
    // The end record is in the last 22 + 65535 bytes.
    std::size_t tail = static_cast<std::size_t>(std::min<std::uint64_t>(m_fileSize, 22 + 65535));
    std::vector<unsigned char> buf(tail);
    std::uint64_t tailStart = m_fileSize - tail;
    if (!ReadAt(tailStart, buf.data(), tail))
        return Fail(kPkgNotZip, "the package cannot be read");
    std::size_t endPos = tail;
    for (std::size_t i = tail - 22 + 1; i-- > 0;) {
        if (Get32(&buf[i]) == kSigEnd && i + 22 + Get16(&buf[i + 20]) <= tail) {
            endPos = i;
            break;
        }
    }
    if (endPos == tail)
        return Fail(kPkgNotZip, "no ZIP end record");
    const unsigned char* end = &buf[endPos];
    std::uint64_t endOffset = tailStart + endPos;
    std::uint16_t disk = Get16(end + 4), cdDisk = Get16(end + 6);
    std::uint64_t countHere = Get16(end + 8), count = Get16(end + 10);
    std::uint64_t cdSize = Get32(end + 12), cdOffset = Get32(end + 16);
    bool zip64 = countHere == 0xFFFF || count == 0xFFFF || cdSize == 0xFFFFFFFF || cdOffset == 0xFFFFFFFF;
    if (endOffset >= 20) {
        unsigned char loc[20];
        if (ReadAt(endOffset - 20, loc, sizeof loc) && Get32(loc) == kSigZip64Locator) {
            std::uint64_t z64 = Get64(loc + 8);
            unsigned char rec[56];
            if (z64 + 56 > endOffset || !ReadAt(z64, rec, sizeof rec) || Get32(rec) != kSigZip64End)
                return Fail(kPkgNotZip, "damaged ZIP64 end record");
            disk = static_cast<std::uint16_t>(Get32(rec + 16));
            cdDisk = static_cast<std::uint16_t>(Get32(rec + 20));
            countHere = Get64(rec + 24);
            count = Get64(rec + 32);
            cdSize = Get64(rec + 40);
            cdOffset = Get64(rec + 48);
            endOffset = z64;
            zip64 = false;
        }
    }
    if (zip64)
        return Fail(kPkgNotZip, "the end record needs a ZIP64 record that is missing");
    if (disk != 0 || cdDisk != 0 || countHere != count)
        return Fail(kPkgNotZip, "split (multi-volume) archives are not packages");
    if (cdOffset > endOffset || cdSize > endOffset - cdOffset)
        return Fail(kPkgNotZip, "the central directory lies outside the file");
    if (count > cdSize / 46)
        return Fail(kPkgNotZip, "the central directory is too short for its entry count");
    m_cdOffset = cdOffset;
    m_cdSize = cdSize;
    m_entryCount = count;

    // Stream through the central directory.
    std::vector<unsigned char> cd;
    const std::size_t chunk = 256 * 1024;
    std::uint64_t pos = cdOffset, cdEnd = cdOffset + cdSize;
    std::size_t have = 0, at = 0;
    cd.resize(chunk + 65536 * 3 + 46);
    auto ensure = [&](std::size_t need) -> bool {
        if (have - at >= need)
            return true;
        std::memmove(cd.data(), cd.data() + at, have - at);
        have -= at;
        at = 0;
        if (cd.size() < need)
            cd.resize(need);
        while (have < need) {
            std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(cd.size() - have, cdEnd - pos));
            if (want == 0)
                return false;
            if (!ReadAt(pos, cd.data() + have, want))
                return false;
            pos += want;
            have += want;
        }
        return true;
    };
    m_entries.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, 100000)));
    m_totalSize = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!ensure(46) || Get32(cd.data() + at) != kSigCentral)
            return Fail(kPkgNotZip, "damaged central directory");
        const unsigned char* h = cd.data() + at;
        ZipEntry e;
        e.versionMadeBy = Get16(h + 4);
        e.flags = Get16(h + 8);
        e.method = Get16(h + 10);
        e.dosTime = Get16(h + 12);
        e.dosDate = Get16(h + 14);
        e.crc = Get32(h + 16);
        e.compSize = Get32(h + 20);
        e.size = Get32(h + 24);
        std::size_t nameLen = Get16(h + 28), extraLen = Get16(h + 30), commentLen = Get16(h + 32);
        std::uint32_t diskStart = Get16(h + 34);
        e.externalAttr = Get32(h + 38);
        e.localOffset = Get32(h + 42);
        std::size_t total = 46 + nameLen + extraLen + commentLen;
        if (!ensure(total))
            return Fail(kPkgNotZip, "damaged central directory");
        h = cd.data() + at;
        e.raw.assign(reinterpret_cast<const char*>(h + 46), nameLen);
        e.utf8 = (e.flags & 0x0800) != 0;
        // Extra fields: ZIP64 sizes, extended timestamp, Unicode path.
        const unsigned char* x = h + 46 + nameLen;
        const unsigned char* xEnd = x + extraLen;
        std::string unicodePath;
        while (x + 4 <= xEnd) {
            std::uint16_t id = Get16(x), len = Get16(x + 2);
            const unsigned char* d = x + 4;
            if (d + len > xEnd)
                break;
            if (id == 0x0001) {
                const unsigned char* q = d;
                const unsigned char* qEnd = d + len;
                if (e.size == 0xFFFFFFFF) {
                    if (q + 8 > qEnd)
                        return Fail(kPkgNotZip, "damaged ZIP64 field of " + Utf8Of(e));
                    e.size = Get64(q);
                    q += 8;
                }
                if (e.compSize == 0xFFFFFFFF) {
                    if (q + 8 > qEnd)
                        return Fail(kPkgNotZip, "damaged ZIP64 field of " + Utf8Of(e));
                    e.compSize = Get64(q);
                    q += 8;
                }
                if (e.localOffset == 0xFFFFFFFF) {
                    if (q + 8 > qEnd)
                        return Fail(kPkgNotZip, "damaged ZIP64 field of " + Utf8Of(e));
                    e.localOffset = Get64(q);
                    q += 8;
                }
                if (diskStart == 0xFFFF && q + 4 <= qEnd)
                    diskStart = Get32(q);
            } else if (id == 0x5455 && len >= 5 && (d[0] & 1)) {
                e.hasUnixTime = true;
                e.unixTime = static_cast<std::int32_t>(Get32(d + 1));
            } else if (id == 0x7075 && len >= 5 && d[0] == 1) {
                // Info-ZIP Unicode path: valid while its CRC matches the stored name.
                if (Get32(d + 1) == crc32(0L, reinterpret_cast<const Bytef*>(e.raw.data()),
                                          static_cast<uInt>(e.raw.size())))
                    unicodePath.assign(reinterpret_cast<const char*>(d + 5), len - 5);
            }
            x = d + len;
        }
        if (diskStart != 0)
            return Fail(kPkgNotZip, "split (multi-volume) archives are not packages");
        if (!unicodePath.empty() && !e.utf8) {
            e.raw = unicodePath;
            e.utf8 = true;
        }
        if (!DecodeEntryName(e.raw, e.utf8, e.name)) {
            e.name.clear();
            e.nameProblem = NameProblem::BadEncoding;
        } else {
            e.nameProblem = CheckEntryName(e.name);
            if (e.nameProblem == NameProblem::NameOk)
                ToAnsi(e.name, e.ansi);
        }
        std::uint8_t host = static_cast<std::uint8_t>(e.versionMadeBy >> 8);
        std::uint32_t unixMode = e.externalAttr >> 16;
        if ((e.externalAttr & 0x10) != 0)
            e.isDirectory = true;
        if ((host == 3 || host == 19) && unixMode != 0 && (unixMode & 0170000) != 0100000)
            e.isDirectory = true; // a directory, link or device: not a plain file
        if (!e.raw.empty() && (e.raw.back() == '/' || e.raw.back() == '\\'))
            e.isDirectory = true;
        m_totalSize += e.size;
        m_entries.push_back(std::move(e));
        at += total;
    }
    return 0;
}

int ZipReader::Check(std::vector<ZipProblem>* all)
{
    int first = 0;
    auto report = [&](int code, int index, const std::string& message) {
        if (first == 0) {
            first = code;
            m_problem = message;
        }
        if (all)
            all->push_back(ZipProblem{code, index, message});
    };
    std::unordered_map<std::wstring, int> seen;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        ZipEntry& e = m_entries[i];
        int index = static_cast<int>(i);
        std::string shown = Utf8Of(e);
        if (e.isDirectory) {
            report(kPkgUnsafeName, index, "\"" + shown + "\" names a directory (the package is flat)");
        } else if (e.nameProblem != NameProblem::NameOk) {
            report(kPkgUnsafeName, index, "\"" + shown + "\": " + NameProblemText(e.nameProblem));
        } else {
            auto inserted = seen.emplace(NameKey(e.name), index);
            if (!inserted.second)
                report(kPkgDuplicateName, index,
                       "\"" + shown + "\" repeats the name of entry \"" + Utf8Of(m_entries[inserted.first->second]) +
                           "\"");
        }
        if ((e.flags & 0x0041) != 0 || e.method == 99) {
            report(kPkgEncrypted, index, "\"" + shown + "\" is encrypted");
            continue;
        }
        if (e.method != 0 && e.method != 8) {
            report(kPkgUnsupportedMethod, index,
                   "\"" + shown + "\" uses compression method " + std::to_string(e.method) +
                       " (only stored and deflated are supported)");
            continue;
        }
        if (e.method == 0 && e.compSize != e.size) {
            report(kPkgSizeMismatch, index, "\"" + shown + "\" is stored but its two recorded sizes differ");
            continue;
        }
        // The local header must be where the central directory says, and the
        // data must lie before the central directory.
        unsigned char lh[30];
        if (e.localOffset + 30 > m_cdOffset || !ReadAt(e.localOffset, lh, sizeof lh) || Get32(lh) != kSigLocal) {
            report(kPkgNotZip, index, "the local header of \"" + shown + "\" is missing or damaged");
            continue;
        }
        e.dataOffset = e.localOffset + 30 + Get16(lh + 26) + Get16(lh + 28);
        if (e.dataOffset > m_cdOffset || e.compSize > m_cdOffset - e.dataOffset) {
            report(kPkgNotZip, index, "the data of \"" + shown + "\" runs past the end of the archive");
            continue;
        }
        if (Get16(lh + 8) != e.method || (Get16(lh + 6) & 0x0001) != 0) {
            report(kPkgNotZip, index, "the local header of \"" + shown + "\" does not match the central directory");
            continue;
        }
    }
    return first;
}

int ZipReader::Extract(const ZipEntry& entry, const Sink& sink)
{
    if (m_file == INVALID_HANDLE_VALUE || entry.dataOffset == 0)
        return kPkgNotZip;
    // The buffers serve every entry: fresh pages for each would cost a fault
    // per page.
    if (m_in.empty()) {
        m_in.resize(kInBufferSize);
        m_out.resize(kOutBufferSize);
    }
    unsigned char* in = m_in.data();
    unsigned char* out = m_out.data();
    std::uint64_t pos = entry.dataOffset;
    std::uint64_t left = entry.compSize;
    std::uint64_t produced = 0;
    uLong crc = crc32(0L, Z_NULL, 0);

    if (entry.method == 0) {
        while (left > 0) {
            std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, kInBufferSize));
            if (!ReadAt(pos, in, n))
                return kPkgReadError;
            crc = crc32_z(crc, in, n);
            if (!sink(in, n))
                return kPkgWriteError;
            pos += n;
            left -= n;
            produced += n;
        }
    } else {
        z_stream zs = {};
        if (inflateInit2(&zs, -MAX_WBITS) != Z_OK)
            return kPkgDamagedData;
        struct End {
            z_stream* z;
            ~End() { inflateEnd(z); }
        } guard{&zs};
        int rc = Z_OK;
        while (rc != Z_STREAM_END) {
            if (zs.avail_in == 0) {
                if (left == 0)
                    return kPkgSizeMismatch; // the deflated data ends before its stream does
                std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, kInBufferSize));
                if (!ReadAt(pos, in, n))
                    return kPkgReadError;
                pos += n;
                left -= n;
                zs.next_in = in;
                zs.avail_in = static_cast<uInt>(n);
            }
            zs.next_out = out;
            zs.avail_out = static_cast<uInt>(kOutBufferSize);
            rc = inflate(&zs, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR)
                return kPkgDamagedData;
            std::size_t n = kOutBufferSize - zs.avail_out;
            if (n > 0) {
                produced += n;
                if (produced > entry.size)
                    return kPkgSizeMismatch;
                crc = crc32_z(crc, out, n);
                if (!sink(out, n))
                    return kPkgWriteError;
            }
        }
        if (left != 0 || zs.avail_in != 0)
            return kPkgSizeMismatch; // compressed bytes left over
    }
    if (produced != entry.size)
        return kPkgSizeMismatch;
    if (static_cast<std::uint32_t>(crc) != entry.crc)
        return kPkgCrcMismatch;
    return 0;
}

} // namespace plinth
