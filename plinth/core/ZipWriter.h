#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Streaming writer of a flat package: each file is read in chunks, deflated
// (or stored when deflating does not make it smaller) and written; its local
// header is patched afterwards. Names are written in ASCII, or in UTF-8 with
// general-purpose bit 11 when they hold other characters. Every entry carries
// an extended-timestamp field. ZIP64 records are written when needed.
namespace plinth {

class ZipWriter {
public:
    ZipWriter() = default;
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Creates (or truncates) the archive file. Answers false on failure.
    bool Create(const std::wstring& path);

    // Adds the file at source as entry name. progress is called with the
    // number of source bytes read so far in this file. Answers 0 or a code
    // (kPkgSourceReadError, kPkgWriteError).
    using Progress = std::function<void(std::uint64_t bytesRead)>;
    int AddFile(const std::wstring& source, const std::wstring& name, const Progress& progress = Progress());

    // Writes the central directory and the end records and closes the file.
    bool Finish();
    // Closes the file without finishing it (the caller removes it).
    void Abort();

    // The zlib level for the entries that follow (default 6).
    void SetLevel(int level) { m_level = level; }

private:
    struct Entry {
        std::string name;
        bool utf8;
        std::uint16_t method;
        std::uint16_t dosTime, dosDate;
        std::int64_t unixTime;
        std::uint32_t crc;
        std::uint64_t compSize, size, offset;
        bool zip64Local;
    };
    bool Write(const void* data, std::size_t size);
    bool Seek(std::uint64_t offset);
    int WriteData(HANDLE source, Entry& e, bool compress, const Progress& progress, bool& gaveUp);

    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::uint64_t m_pos = 0;
    int m_level = 6;
    std::vector<Entry> m_entries;
};

} // namespace plinth
