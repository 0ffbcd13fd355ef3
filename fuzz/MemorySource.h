#pragma once
#include <cstring>

#include "ByteSource.h"

// The fuzzer's package: bytes in memory.
class MemorySource : public plinth::ByteSource {
public:
    MemorySource(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint64_t Size() const override { return m_size; }

    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override
    {
        if (offset > m_size || size > m_size - offset)
            return false;
        std::memcpy(buffer, m_data + offset, size);
        return true;
    }

private:
    const unsigned char* m_data;
    std::size_t m_size;
};
