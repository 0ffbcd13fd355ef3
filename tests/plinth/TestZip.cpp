#include "TestZip.h"

#include <windows.h>
#include <zlib.h>

#include <memory>

namespace testzip {

namespace {

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

std::string RawDeflate(const std::string& data)
{
    z_stream zs = {};
    deflateInit2(&zs, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, static_cast<uLong>(data.size())) + 16, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

std::string Header(bool central, const Entry& e, std::uint32_t crc, std::uint64_t compSize, std::uint64_t size,
                   std::uint32_t offset, int method)
{
    bool zip64 = size >= 0xFFFFFFFFULL;
    std::string extra;
    if (zip64) {
        Put16(extra, 0x0001);
        Put16(extra, 8);
        Put64(extra, size);
    }
    if (e.unixTime >= 0) {
        Put16(extra, 0x5455);
        Put16(extra, 5);
        extra += static_cast<char>(1);
        Put32(extra, static_cast<std::uint32_t>(e.unixTime));
    }
    std::string h;
    Put32(h, central ? 0x02014b50 : 0x04034b50);
    if (central)
        Put16(h, e.madeBy);
    Put16(h, zip64 ? 45 : 20);
    Put16(h, e.flags);
    Put16(h, static_cast<std::uint32_t>(method));
    Put16(h, e.dosTime);
    Put16(h, e.dosDate);
    Put32(h, crc);
    Put32(h, static_cast<std::uint32_t>(compSize));
    Put32(h, zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(size));
    Put16(h, static_cast<std::uint32_t>(e.name.size()));
    Put16(h, static_cast<std::uint32_t>(extra.size()));
    if (central) {
        Put16(h, 0);
        Put16(h, 0);
        Put16(h, 0);
        Put32(h, e.externalAttr);
        Put32(h, offset);
    }
    return h + e.name + extra;
}

std::string End(std::uint64_t count, std::uint64_t cdSize, std::uint64_t cdOffset)
{
    std::string end;
    Put32(end, 0x06054b50);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<std::uint32_t>(count));
    Put16(end, static_cast<std::uint32_t>(count));
    Put32(end, static_cast<std::uint32_t>(cdSize));
    Put32(end, static_cast<std::uint32_t>(cdOffset));
    Put16(end, 0);
    return end;
}

} // namespace

std::string Build(const std::vector<Entry>& entries)
{
    std::string body, central;
    for (const Entry& e : entries) {
        std::string stored = e.deflate ? RawDeflate(e.data) : e.data;
        int method = e.method >= 0 ? e.method : (e.deflate ? 8 : 0);
        std::uint32_t crc = e.recordedCrc >= 0
                                ? static_cast<std::uint32_t>(e.recordedCrc)
                                : static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(e.data.data()),
                                                                   static_cast<uInt>(e.data.size())));
        std::uint64_t size = e.recordedSize >= 0 ? static_cast<std::uint64_t>(e.recordedSize) : e.data.size();
        std::uint32_t offset = static_cast<std::uint32_t>(body.size());
        if (e.descriptor) {
            body += Header(false, e, 0, 0, 0, offset, method) + stored;
            Put32(body, crc);
            Put32(body, static_cast<std::uint32_t>(stored.size()));
            Put32(body, static_cast<std::uint32_t>(size));
        } else {
            body += Header(false, e, crc, stored.size(), size, offset, method) + stored;
        }
        central += Header(true, e, crc, stored.size(), size, offset, method);
    }
    return body + central + End(entries.size(), central.size(), body.size());
}

bool WriteLarge(const std::string& path, int count, std::uint64_t size)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const std::size_t chunk = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[chunk]);
    for (std::size_t i = 0; i < chunk; ++i)
        buffer[i] = static_cast<char>('a' + (i * 7 + i / 13) % 26);
    // Every entry holds the same bytes, so one CRC serves them all.
    uLong crc = crc32(0L, Z_NULL, 0);
    for (std::uint64_t left = size; left > 0;) {
        std::size_t n = static_cast<std::size_t>(left < chunk ? left : chunk);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.get()), static_cast<uInt>(n));
        left -= n;
    }
    bool ok = true;
    std::string central;
    std::uint64_t offset = 0;
    DWORD written = 0;
    auto put = [&](const void* data, std::size_t n) {
        ok = ok && WriteFile(h, data, static_cast<DWORD>(n), &written, nullptr) && written == n;
        offset += n;
    };
    for (int i = 0; i < count && ok; ++i) {
        Entry e;
        e.name = "big" + std::to_string(i) + ".dat";
        std::string local = Header(false, e, static_cast<std::uint32_t>(crc), size, size,
                                   static_cast<std::uint32_t>(offset), 0);
        central += Header(true, e, static_cast<std::uint32_t>(crc), size, size, static_cast<std::uint32_t>(offset), 0);
        put(local.data(), local.size());
        for (std::uint64_t left = size; left > 0 && ok;) {
            std::size_t n = static_cast<std::size_t>(left < chunk ? left : chunk);
            put(buffer.get(), n);
            left -= n;
        }
    }
    std::uint64_t cdOffset = offset;
    put(central.data(), central.size());
    std::string end = End(static_cast<std::uint64_t>(count), central.size(), cdOffset);
    put(end.data(), end.size());
    return CloseHandle(h) && ok;
}

} // namespace testzip
