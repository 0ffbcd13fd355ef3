#pragma once
#include <cstddef>
#include <cstdint>

// Random access to the bytes of a package. The ZIP reader reads through it
// only, so that it builds without the platform: a file on Windows
// (FileSource.h), a buffer in the native fuzzing build.
namespace plinth {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly size bytes at offset; false when they cannot all be read.
    virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) = 0;
};

} // namespace plinth
