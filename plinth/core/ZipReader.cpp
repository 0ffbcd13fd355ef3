#include "ZipReader.h"

#include "PackageCodes.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <unordered_map>

namespace plinth {

namespace {

constexpr std::uint32_t kSigLocal = 0x04034b50;
constexpr std::uint32_t kSigCentral = 0x02014b50;
constexpr std::uint32_t kSigEnd = 0x06054b50;
constexpr std::uint32_t kSigZip64End = 0x06064b50;
constexpr std::uint32_t kSigZip64Locator = 0x07064b50;

constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralRecordSize = 46; // the least a central directory record takes
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndSize = 56;

constexpr std::size_t kInBufferSize = 256 * 1024;
constexpr std::size_t kOutBufferSize = 512 * 1024;

constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
constexpr std::uint16_t kFlagUtf8 = 0x0800;

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
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// What an entry holds on the heap, near enough to bound the directory's memory.
std::uint64_t HeapBytes(const ZipEntry& e)
{
    return e.raw.capacity() + e.name.capacity() * sizeof(wchar_t) + e.ansi.capacity();
}

// Info-ZIP's Unicode path field (0x7075): the UTF-8 name, valid while its CRC
// matches the stored name.
bool UnicodePath(const unsigned char* data, std::size_t size, const std::string& raw, std::string& path)
{
    if (size < 5 || data[0] != 1)
        return false;
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uInt>(raw.size()));
    if (Get32(data + 1) != static_cast<std::uint32_t>(crc) || size == 5)
        return false;
    path.assign(reinterpret_cast<const char*>(data + 5), size - 5);
    return true;
}

} // namespace

void ZipReader::Close()
{
    m_source.reset();
    m_entries.clear();
    m_cdOffset = m_totalSize = 0;
}

int ZipReader::Fail(int code, const std::string& message)
{
    m_problem = message;
    return code;
}

bool ZipReader::ReadAt(std::uint64_t offset, void* buffer, std::size_t size)
{
    return m_source->ReadAt(offset, buffer, size);
}

int ZipReader::Open(std::unique_ptr<ByteSource> source)
{
    Close();
    m_problem.clear();
    if (!source)
        return Fail(kPkgCannotOpen, "the package cannot be opened");
    m_source = std::move(source);
    int code = ReadCentralDirectory();
    if (code != 0)
        Close();
    return code;
}

int ZipReader::ReadCentralDirectory()
{
    const std::uint64_t fileSize = m_source->Size();
    if (fileSize < kEndRecordSize)
        return Fail(kPkgNotZip, "the file is too short to be a ZIP archive");
    // The end record is in the last 22 + 65535 bytes.
    std::size_t tail = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kEndRecordSize + 65535));
    std::vector<unsigned char> buf(tail);
    std::uint64_t tailStart = fileSize - tail;
    if (!ReadAt(tailStart, buf.data(), tail))
        return Fail(kPkgNotZip, "the package cannot be read");
    std::size_t endPos = tail;
    for (std::size_t i = tail - kEndRecordSize + 1; i-- > 0;) {
        if (Get32(&buf[i]) == kSigEnd && i + kEndRecordSize + Get16(&buf[i + 20]) <= tail) {
            endPos = i;
            break;
        }
    }
    if (endPos == tail)
        return Fail(kPkgNotZip, "no ZIP end record");
    const unsigned char* end = &buf[endPos];
    std::uint64_t endOffset = tailStart + endPos;
    std::uint32_t disk = Get16(end + 4), cdDisk = Get16(end + 6);
    std::uint64_t countHere = Get16(end + 8), count = Get16(end + 10);
    std::uint64_t cdSize = Get32(end + 12), cdOffset = Get32(end + 16);
    bool zip64 = countHere == 0xFFFF || count == 0xFFFF || cdSize == 0xFFFFFFFF || cdOffset == 0xFFFFFFFF;
    if (endOffset >= kZip64LocatorSize) {
        unsigned char loc[kZip64LocatorSize];
        if (ReadAt(endOffset - kZip64LocatorSize, loc, sizeof loc) && Get32(loc) == kSigZip64Locator) {
            std::uint64_t z64 = Get64(loc + 8);
            unsigned char rec[kZip64EndSize];
            if (endOffset < kZip64EndSize || z64 > endOffset - kZip64EndSize || !ReadAt(z64, rec, sizeof rec) ||
                Get32(rec) != kSigZip64End)
                return Fail(kPkgNotZip, "damaged ZIP64 end record");
            disk = Get32(rec + 16);
            cdDisk = Get32(rec + 20);
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
    if (count > cdSize / kCentralRecordSize)
        return Fail(kPkgNotZip, "the central directory is too short for its entry count");
    if (count > kDirectoryMemoryLimit / sizeof(ZipEntry))
        return Fail(kPkgNotZip, "the package has more entries than a package may hold");
    m_cdOffset = cdOffset;

    // Stream through the central directory, in a buffer that holds the
    // largest record. The count is bounded above, so the list is made as
    // large as it claims at once.
    std::vector<unsigned char> cd(
        static_cast<std::size_t>(std::min<std::uint64_t>(cdSize, 256 * 1024 + 3 * 65536 + kCentralRecordSize)));
    std::uint64_t pos = cdOffset, cdEnd = cdOffset + cdSize;
    std::size_t have = 0, at = 0;
    auto ensure = [&](std::size_t need) -> bool {
        if (have - at >= need)
            return true;
        std::memmove(cd.data(), cd.data() + at, have - at);
        have -= at;
        at = 0;
        while (have < need) {
            std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(cd.size() - have, cdEnd - pos));
            if (want == 0 || !ReadAt(pos, cd.data() + have, want))
                return false;
            pos += want;
            have += want;
        }
        return true;
    };
    m_entries.reserve(static_cast<std::size_t>(count));
    m_totalSize = 0;
    std::uint64_t memory = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (!ensure(kCentralRecordSize) || Get32(cd.data() + at) != kSigCentral)
            return Fail(kPkgNotZip, "damaged central directory");
        const unsigned char* h = cd.data() + at;
        std::size_t total = kCentralRecordSize + Get16(h + 28) + Get16(h + 30) + Get16(h + 32);
        if (!ensure(total))
            return Fail(kPkgNotZip, "damaged central directory");
        ZipEntry e;
        int code = ReadEntry(cd.data() + at, e);
        if (code != 0)
            return code;
        memory += sizeof(ZipEntry) + HeapBytes(e);
        if (memory > kDirectoryMemoryLimit)
            return Fail(kPkgNotZip, "the central directory takes more memory than a package may");
        m_totalSize = e.size > std::numeric_limits<std::uint64_t>::max() - m_totalSize
                          ? std::numeric_limits<std::uint64_t>::max()
                          : m_totalSize + e.size;
        m_entries.push_back(std::move(e));
        at += total;
    }
    return 0;
}

// Reads one central directory record, whose bytes are all at hand.
int ZipReader::ReadEntry(const unsigned char* h, ZipEntry& e)
{
    e.versionMadeBy = Get16(h + 4);
    e.flags = Get16(h + 8);
    e.method = Get16(h + 10);
    e.dosTime = Get16(h + 12);
    e.dosDate = Get16(h + 14);
    e.crc = Get32(h + 16);
    e.compSize = Get32(h + 20);
    e.size = Get32(h + 24);
    std::size_t nameLen = Get16(h + 28), extraLen = Get16(h + 30);
    std::uint32_t diskStart = Get16(h + 34);
    e.externalAttr = Get32(h + 38);
    e.localOffset = Get32(h + 42);
    std::string raw(reinterpret_cast<const char*>(h + kCentralRecordSize), nameLen);
    e.utf8 = (e.flags & kFlagUtf8) != 0;
    e.raw = raw; // for messages until the name is decoded

    // Extra fields: ZIP64 sizes, extended timestamp, Unicode path.
    const unsigned char* x = h + kCentralRecordSize + nameLen;
    const unsigned char* xEnd = x + extraLen;
    std::string unicodePath;
    bool haveUnicodePath = false;
    while (xEnd - x >= 4) {
        std::uint16_t id = Get16(x), len = Get16(x + 2);
        const unsigned char* d = x + 4;
        if (len > xEnd - d)
            break;
        if (id == 0x0001) {
            const unsigned char* q = d;
            const unsigned char* qEnd = d + len;
            for (std::uint64_t* field : {&e.size, &e.compSize, &e.localOffset}) {
                if (*field != 0xFFFFFFFF)
                    continue;
                if (qEnd - q < 8)
                    return Fail(kPkgNotZip, "damaged ZIP64 field of " + Utf8Of(e));
                *field = Get64(q);
                q += 8;
            }
            if (diskStart == 0xFFFF && qEnd - q >= 4)
                diskStart = Get32(q);
        } else if (id == 0x5455 && len >= 5 && (d[0] & 1)) {
            e.hasUnixTime = true;
            e.unixTime = static_cast<std::int32_t>(Get32(d + 1));
        } else if (id == 0x7075 && !haveUnicodePath) {
            haveUnicodePath = UnicodePath(d, len, raw, unicodePath);
        }
        x = d + len;
    }
    if (diskStart != 0)
        return Fail(kPkgNotZip, "split (multi-volume) archives are not packages");

    // The name's encoding: UTF-8 when flagged, or from a Unicode path field;
    // a Unix or macOS host writes its names as they are, UTF-8 where they are
    // valid UTF-8; everything else is code page 936.
    const std::uint8_t host = static_cast<std::uint8_t>(e.versionMadeBy >> 8);
    const bool unixHost = host == 3 || host == 19;
    if (haveUnicodePath && !e.utf8) {
        raw = unicodePath;
        e.utf8 = true;
    }
    bool decoded;
    if (!e.utf8 && unixHost && DecodeEntryName(raw, true, e.name)) {
        e.utf8 = true;
        decoded = true;
    } else {
        decoded = DecodeEntryName(raw, e.utf8, e.name);
    }
    if (decoded) {
        e.raw.clear();
        e.raw.shrink_to_fit();
        e.nameProblem = CheckEntryName(e.name);
        if (e.nameProblem == NameProblem::NameOk)
            ToAnsi(e.name, e.ansi);
    } else {
        e.name.clear();
        e.nameProblem = NameProblem::BadEncoding;
    }

    // The Unix mode's file type decides where it is given: 0 is a plain file
    // (Python's zipfile writes 0600 alone); a directory, link or device is not.
    const std::uint32_t unixType = (e.externalAttr >> 16) & 0170000;
    e.notPlainFile = (e.externalAttr & 0x10) != 0 || (unixHost && unixType != 0 && unixType != 0100000) ||
                     (!raw.empty() && (raw.back() == '/' || raw.back() == '\\'));
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
    std::unordered_map<std::wstring, int> getsAlias;        // alias key -> first entry whose name gets an alias
    std::vector<std::pair<int, std::wstring>> aliasForms;   // entries whose name may be an alias, with their key
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        ZipEntry& e = m_entries[i];
        e.dataOffset = 0;
        const int index = static_cast<int>(i);
        const std::string shown = Utf8Of(e);
        if (e.notPlainFile) {
            report(kPkgUnsafeName, index, "\"" + shown + "\" is a directory or a link (the package is flat)");
        } else if (e.nameProblem != NameProblem::NameOk) {
            report(kPkgUnsafeName, index, "\"" + shown + "\": " + NameProblemText(e.nameProblem));
        } else {
            auto inserted = seen.emplace(NameKey(e.name), index);
            if (!inserted.second)
                report(kPkgDuplicateName, index,
                       "\"" + shown + "\" repeats the name of entry \"" + Utf8Of(m_entries[inserted.first->second]) +
                           "\"");
            std::wstring key;
            ShortName kind = ClassifyShortName(e.name, key);
            if (kind == ShortName::GetsAlias)
                getsAlias.emplace(key, index);
            else if (kind == ShortName::AliasForm)
                aliasForms.emplace_back(index, key);
        }
        if ((e.flags & (kFlagEncrypted | kFlagStrongEncryption)) != 0 || e.method == 99) {
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
        unsigned char lh[kLocalHeaderSize];
        if (e.localOffset > m_cdOffset || m_cdOffset - e.localOffset < kLocalHeaderSize ||
            !ReadAt(e.localOffset, lh, sizeof lh) || Get32(lh) != kSigLocal) {
            report(kPkgNotZip, index, "the local header of \"" + shown + "\" is missing or damaged");
            continue;
        }
        std::uint64_t dataOffset = e.localOffset + kLocalHeaderSize + Get16(lh + 26) + Get16(lh + 28);
        if (dataOffset > m_cdOffset || e.compSize > m_cdOffset - dataOffset) {
            report(kPkgNotZip, index, "the data of \"" + shown + "\" runs past the end of the archive");
            continue;
        }
        if (Get16(lh + 8) != e.method || (Get16(lh + 6) & kFlagEncrypted) != 0) {
            report(kPkgNotZip, index, "the local header of \"" + shown + "\" does not match the central directory");
            continue;
        }
        e.dataOffset = dataOffset;
    }
    // An entry named like a short alias may open the file of another entry.
    for (const auto& alias : aliasForms) {
        auto target = getsAlias.find(alias.second);
        if (target == getsAlias.end())
            target = getsAlias.find(L"*");
        if (target != getsAlias.end())
            report(kPkgDuplicateName, alias.first,
                   "\"" + Utf8Of(m_entries[static_cast<std::size_t>(alias.first)]) + "\" may be the short name of \"" +
                       Utf8Of(m_entries[static_cast<std::size_t>(target->second)]) + "\", the same file");
    }
    return first;
}

int ZipReader::Extract(const ZipEntry& entry, const Sink& sink)
{
    if (!m_source || entry.dataOffset == 0)
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
