#include "FileSource.h"

#include <windows.h>

#include <algorithm>

namespace plinth {

namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(const std::wstring& path)
        : m_file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {
        LARGE_INTEGER size;
        if (m_file != INVALID_HANDLE_VALUE && GetFileSizeEx(m_file, &size))
            m_size = static_cast<std::uint64_t>(size.QuadPart);
        else
            Close();
    }
    ~FileSource() override { Close(); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    std::uint64_t Size() const override { return m_size; }

    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override
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

private:
    void Close()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }

    HANDLE m_file;
    std::uint64_t m_size = 0;
};

} // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::wstring& path)
{
    std::unique_ptr<FileSource> source(new FileSource(path));
    if (!source->IsOpen())
        return nullptr;
    return source;
}

} // namespace plinth
