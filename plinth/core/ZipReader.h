#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "ZipNames.h"

// Streaming reader of a flat package, a standard ZIP archive (stored and
// deflated entries, ZIP64 records, data descriptors). Nothing is held in
// memory beyond the central directory's entries, which may take at most
// kDirectoryMemoryLimit, and two buffers of a few hundred KB. It reads only
// through a ByteSource and needs of the platform only the code-page
// conversions, so that it also builds natively for fuzzing.
namespace plinth {

struct ZipEntry {
    std::string raw;          // the name's bytes, kept only when they do not decode
    bool utf8 = false;        // the name is UTF-8 (flag, Unicode path field, or a Unix host's valid UTF-8)
    std::wstring name;        // the decoded name
    std::string ansi;         // the name in the ANSI code page (when the name is acceptable)
    NameProblem nameProblem = NameProblem::NameOk;
    bool notPlainFile = false; // a directory, link or device
    std::uint16_t versionMadeBy = 0;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint16_t dosTime = 0;
    std::uint16_t dosDate = 0;
    std::uint32_t crc = 0;
    std::uint32_t externalAttr = 0;
    std::uint64_t compSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localOffset = 0;
    std::uint64_t dataOffset = 0; // set by Check
    bool hasUnixTime = false;
    std::int64_t unixTime = 0;    // modification time from the extended-timestamp field
};

struct ZipProblem {
    int code;            // one of PackageCodes.h
    int entry;           // index into Entries(), or -1 for the archive
    std::string message; // plain English, with the entry's name in UTF-8
};

class ZipReader {
public:
    // The central directory's entries may take this much memory, whatever
    // the package claims: a package with more (some 700,000 entries of short
    // names) is refused as kPkgNotZip.
    static constexpr std::uint64_t kDirectoryMemoryLimit = 128u << 20;

    ZipReader() = default;
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Reads the end record and the central directory of the archive in the
    // source. Answers 0, kPkgCannotOpen (no source) or kPkgNotZip (Problem()
    // tells more).
    int Open(std::unique_ptr<ByteSource> source);
    void Close();

    // Checks every entry: name, duplicates and short-name aliases, method,
    // encryption, local header, data within the file. Answers 0 or the code
    // of the first problem; when all is given, every problem found is
    // appended to it.
    int Check(std::vector<ZipProblem>* all = nullptr);

    const std::vector<ZipEntry>& Entries() const { return m_entries; }
    // The sum of the entries' sizes; UINT64_MAX when it overflows.
    std::uint64_t TotalSize() const { return m_totalSize; }
    const std::string& Problem() const { return m_problem; }

    // Streams the entry's uncompressed data to the sink in chunks and checks
    // its size and CRC-32. The sink answers false to stop (kPkgWriteError).
    // Answers 0 or a code. Check must have succeeded for the entry.
    using Sink = std::function<bool(const unsigned char* data, std::size_t size)>;
    int Extract(const ZipEntry& entry, const Sink& sink);

private:
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size);
    int ReadCentralDirectory();
    int ReadEntry(const unsigned char* record, ZipEntry& e);
    int Fail(int code, const std::string& message);

    std::unique_ptr<ByteSource> m_source;
    std::uint64_t m_cdOffset = 0;
    std::uint64_t m_totalSize = 0;
    std::vector<ZipEntry> m_entries;
    std::string m_problem;
    std::vector<unsigned char> m_in, m_out; // Extract's buffers
};

} // namespace plinth
