#include "ZipWriter.h"

#include "PackageCodes.h"
#include "ZipNames.h"
#include "ZipTimes.h"

#include <zlib.h>

#include <algorithm>
#include <memory>

namespace plinth {

namespace {

constexpr std::size_t kChunk = 512 * 1024;
constexpr std::uint64_t kZip64Threshold = 0xFFFF0000ULL;

void Put16(std::string& s, std::uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
void Put64(std::string& s, std::uint64_t v)
{
    Put32(s, static_cast<std::uint32_t>(v));
    Put32(s, static_cast<std::uint32_t>(v >> 32));
}

bool ReadSome(HANDLE h, unsigned char* buffer, std::size_t size, std::size_t& got)
{
    DWORD n = 0;
    if (!ReadFile(h, buffer, static_cast<DWORD>(size), &n, nullptr))
        return false;
    got = n;
    return true;
}

} // namespace

ZipWriter::~ZipWriter()
{
    Abort();
}

bool ZipWriter::Create(const std::wstring& path)
{
    Abort();
    m_file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    m_pos = 0;
    m_entries.clear();
    return m_file != INVALID_HANDLE_VALUE;
}

void ZipWriter::Abort()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}

bool ZipWriter::Write(const void* data, std::size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(m_file, p, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &n, nullptr) || n == 0)
            return false;
        p += n;
        size -= n;
        m_pos += n;
    }
    return true;
}

bool ZipWriter::Seek(std::uint64_t offset)
{
    LARGE_INTEGER li;
    li.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(m_file, li, nullptr, FILE_BEGIN))
        return false;
    m_pos = offset;
    return true;
}

int ZipWriter::WriteData(HANDLE source, Entry& e, bool compress, const Progress& progress, bool& gaveUp)
{
    gaveUp = false;
    std::unique_ptr<unsigned char[]> in(new unsigned char[kChunk]);
    uLong crc = crc32(0L, Z_NULL, 0);
    std::uint64_t read = 0, written = 0;
    if (!compress) {
        for (;;) {
            std::size_t got = 0;
            if (!ReadSome(source, in.get(), kChunk, got))
                return kPkgSourceReadError;
            if (got == 0)
                break;
            crc = crc32_z(crc, in.get(), got);
            if (!Write(in.get(), got))
                return kPkgWriteError;
            read += got;
            written += got;
            if (progress)
                progress(read);
        }
    } else {
        std::unique_ptr<unsigned char[]> out(new unsigned char[kChunk]);
        z_stream zs = {};
        if (deflateInit2(&zs, m_level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return kPkgWriteError;
        struct End {
            z_stream* z;
            ~End() { deflateEnd(z); }
        } guard{&zs};
        bool eof = false;
        while (!eof) {
            std::size_t got = 0;
            if (!ReadSome(source, in.get(), kChunk, got))
                return kPkgSourceReadError;
            eof = got == 0;
            crc = crc32_z(crc, in.get(), got);
            read += got;
            zs.next_in = in.get();
            zs.avail_in = static_cast<uInt>(got);
            int flush = eof ? Z_FINISH : Z_NO_FLUSH;
            do {
                zs.next_out = out.get();
                zs.avail_out = static_cast<uInt>(kChunk);
                int rc = deflate(&zs, flush);
                if (rc == Z_STREAM_ERROR)
                    return kPkgWriteError;
                std::size_t n = kChunk - zs.avail_out;
                if (n > 0 && !Write(out.get(), n))
                    return kPkgWriteError;
                written += n;
            } while (zs.avail_out == 0);
            if (progress)
                progress(read);
            // Data that does not shrink in its first megabytes is stored.
            if (!eof && read >= 4 * kChunk && written * 100 >= read * 97) {
                gaveUp = true;
                return 0;
            }
        }
        if (written >= read && read > 0) {
            gaveUp = true;
            return 0;
        }
    }
    e.crc = static_cast<std::uint32_t>(crc);
    e.size = read;
    e.compSize = written;
    return 0;
}

int ZipWriter::AddFile(const std::wstring& source, const std::wstring& name, const Progress& progress)
{
    if (m_file == INVALID_HANDLE_VALUE)
        return kPkgWriteError;
    HANDLE src = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (src == INVALID_HANDLE_VALUE)
        return kPkgSourceReadError;
    struct Close {
        HANDLE h;
        ~Close() { CloseHandle(h); }
    } closeSrc{src};
    LARGE_INTEGER srcSize;
    FILETIME mtime;
    if (!GetFileSizeEx(src, &srcSize) || !GetFileTime(src, nullptr, nullptr, &mtime))
        return kPkgSourceReadError;

    Entry e = {};
    bool ascii = std::all_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x80; });
    e.utf8 = !ascii;
    e.name = ToUtf8(name);
    e.unixTime = FileTimeToUnixTime(mtime);
    FileTimeToDosTime(mtime, e.dosDate, e.dosTime);
    e.offset = m_pos;
    e.zip64Local = static_cast<std::uint64_t>(srcSize.QuadPart) >= kZip64Threshold;
    bool deflate = srcSize.QuadPart > 0 && m_level != 0;
    e.method = deflate ? 8 : 0;

    auto localHeader = [&](std::string& h) {
        h.clear();
        Put32(h, 0x04034b50);
        Put16(h, e.zip64Local ? 45 : 20);
        Put16(h, e.utf8 ? 0x0800 : 0);
        Put16(h, e.method);
        Put16(h, e.dosTime);
        Put16(h, e.dosDate);
        Put32(h, e.crc);
        Put32(h, e.zip64Local ? 0xFFFFFFFF : static_cast<std::uint32_t>(e.compSize));
        Put32(h, e.zip64Local ? 0xFFFFFFFF : static_cast<std::uint32_t>(e.size));
        Put16(h, static_cast<std::uint32_t>(e.name.size()));
        Put16(h, (e.zip64Local ? 20 : 0) + 9);
        h += e.name;
        if (e.zip64Local) {
            Put16(h, 0x0001);
            Put16(h, 16);
            Put64(h, e.size);
            Put64(h, e.compSize);
        }
        Put16(h, 0x5455);
        Put16(h, 5);
        h += static_cast<char>(1);
        Put32(h, static_cast<std::uint32_t>(e.unixTime));
    };
    std::string header;
    localHeader(header);
    if (!Write(header.data(), header.size()))
        return kPkgWriteError;
    std::uint64_t dataStart = m_pos;
    bool gaveUp = false;
    int rc = WriteData(src, e, deflate, progress, gaveUp);
    if (rc != 0)
        return rc;
    if (gaveUp) {
        // Store it instead: back to the data's start, and read the source again.
        LARGE_INTEGER zero = {};
        if (!Seek(dataStart) || !SetEndOfFile(m_file) || !SetFilePointerEx(src, zero, nullptr, FILE_BEGIN))
            return kPkgWriteError;
        e.method = 0;
        rc = WriteData(src, e, false, progress, gaveUp);
        if (rc != 0)
            return rc;
    }
    if (!e.zip64Local && (e.size >= 0xFFFFFFFFULL || e.compSize >= 0xFFFFFFFFULL))
        return kPkgSourceReadError; // the file grew while it was read
    std::uint64_t end = m_pos;
    localHeader(header);
    if (!Seek(e.offset) || !Write(header.data(), header.size()) || !Seek(end))
        return kPkgWriteError;
    m_entries.push_back(e);
    return 0;
}

bool ZipWriter::Finish()
{
    if (m_file == INVALID_HANDLE_VALUE)
        return false;
    std::uint64_t cdStart = m_pos;
    std::string cd;
    for (const Entry& e : m_entries) {
        bool bigSize = e.size >= 0xFFFFFFFFULL || e.compSize >= 0xFFFFFFFFULL;
        bool bigOffset = e.offset >= 0xFFFFFFFFULL;
        std::string z64;
        if (bigSize) {
            Put64(z64, e.size);
            Put64(z64, e.compSize);
        }
        if (bigOffset)
            Put64(z64, e.offset);
        bool any64 = !z64.empty() || e.zip64Local;
        Put32(cd, 0x02014b50);
        Put16(cd, any64 ? 45 : 20); // made by: MS-DOS / FAT attributes
        Put16(cd, any64 ? 45 : 20);
        Put16(cd, e.utf8 ? 0x0800 : 0);
        Put16(cd, e.method);
        Put16(cd, e.dosTime);
        Put16(cd, e.dosDate);
        Put32(cd, e.crc);
        Put32(cd, bigSize ? 0xFFFFFFFF : static_cast<std::uint32_t>(e.compSize));
        Put32(cd, bigSize ? 0xFFFFFFFF : static_cast<std::uint32_t>(e.size));
        Put16(cd, static_cast<std::uint32_t>(e.name.size()));
        Put16(cd, (z64.empty() ? 0 : 4 + static_cast<std::uint32_t>(z64.size())) + 9);
        Put16(cd, 0);
        Put16(cd, 0);
        Put16(cd, 0);
        Put32(cd, 0x20); // archive attribute
        Put32(cd, bigOffset ? 0xFFFFFFFF : static_cast<std::uint32_t>(e.offset));
        cd += e.name;
        if (!z64.empty()) {
            Put16(cd, 0x0001);
            Put16(cd, static_cast<std::uint32_t>(z64.size()));
            cd += z64;
        }
        Put16(cd, 0x5455);
        Put16(cd, 5);
        cd += static_cast<char>(1);
        Put32(cd, static_cast<std::uint32_t>(e.unixTime));
        if (cd.size() >= kChunk) {
            if (!Write(cd.data(), cd.size()))
                return false;
            cd.clear();
        }
    }
    if (!cd.empty() && !Write(cd.data(), cd.size()))
        return false;
    std::uint64_t cdSize = m_pos - cdStart;
    std::uint64_t count = m_entries.size();
    std::string end;
    bool zip64 = count >= 0xFFFF || cdSize >= 0xFFFFFFFFULL || cdStart >= 0xFFFFFFFFULL;
    if (zip64) {
        std::uint64_t z64Start = m_pos;
        Put32(end, 0x06064b50);
        Put64(end, 44);
        Put16(end, 45);
        Put16(end, 45);
        Put32(end, 0);
        Put32(end, 0);
        Put64(end, count);
        Put64(end, count);
        Put64(end, cdSize);
        Put64(end, cdStart);
        Put32(end, 0x07064b50);
        Put32(end, 0);
        Put64(end, z64Start);
        Put32(end, 1);
    }
    Put32(end, 0x06054b50);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, zip64 ? 0xFFFF : static_cast<std::uint32_t>(count));
    Put16(end, zip64 ? 0xFFFF : static_cast<std::uint32_t>(count));
    Put32(end, zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(cdSize));
    Put32(end, zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(cdStart));
    Put16(end, 0);
    if (!Write(end.data(), end.size()))
        return false;
    bool ok = CloseHandle(m_file) != 0;
    m_file = INVALID_HANDLE_VALUE;
    return ok;
}

} // namespace plinth
