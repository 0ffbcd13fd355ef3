#include "PackageSignature.h"

#include "FileSource.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <future>
#include <memory>
#include <vector>

namespace signing {

namespace {

constexpr std::size_t kMagicSize = sizeof kBlockMagic - 1;
constexpr char kSignatureTag[] = " sig=";
constexpr std::size_t kEndRecordSize = 22;
constexpr std::uint32_t kEndRecordSignature = 0x06054b50;
constexpr std::size_t kChunk = 1 << 20;

std::uint32_t Get32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string MakeBlock(const PublicKey& key, const Signature& signature)
{
    return kBlockMagic + ToHex(key.data(), key.size()) + kSignatureTag + ToHex(signature.data(), signature.size());
}

bool ParseBlock(const std::string& block, PublicKey& key, Signature& signature)
{
    const std::size_t keyEnd = kMagicSize + 2 * kPublicKeyBytes;
    return block.size() == kBlockSize && block.compare(0, kMagicSize, kBlockMagic) == 0 &&
           FromHex(block.substr(kMagicSize, 2 * kPublicKeyBytes), key.data(), key.size()) &&
           block.compare(keyEnd, sizeof kSignatureTag - 1, kSignatureTag) == 0 &&
           FromHex(block.substr(keyEnd + sizeof kSignatureTag - 1), signature.data(), signature.size());
}

// The offset of the ZIP end record, found as the package reader finds it:
// the last one in the file's final 64 KB whose comment fits in the file.
bool FindEndRecord(plinth::ByteSource& package, std::uint64_t& offset)
{
    const std::uint64_t size = package.Size();
    if (size < kEndRecordSize)
        return false;
    const std::size_t tail = static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndRecordSize + 65535));
    std::vector<unsigned char> bytes(tail);
    if (!package.ReadAt(size - tail, bytes.data(), tail))
        return false;
    for (std::size_t i = tail - kEndRecordSize + 1; i-- > 0;) {
        const std::size_t commentSize = bytes[i + 20] | (bytes[i + 21] << 8);
        if (Get32(&bytes[i]) == kEndRecordSignature && i + kEndRecordSize + commentSize <= tail) {
            offset = size - tail + i;
            return true;
        }
    }
    return false;
}

// Whether an end record in the file's final 64 KB has a comment that starts
// like a signature block, whatever its recorded length.
bool BlockOutOfPlace(plinth::ByteSource& package)
{
    const std::uint64_t size = package.Size();
    const std::size_t tail = static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndRecordSize + 65535 + kBlockSize));
    std::string bytes(tail, '\0');
    if (tail < kEndRecordSize + kMagicSize || !package.ReadAt(size - tail, &bytes[0], tail))
        return false;
    for (std::size_t at = bytes.find(kBlockMagic, kEndRecordSize); at != std::string::npos;
         at = bytes.find(kBlockMagic, at + 1)) {
        if (Get32(reinterpret_cast<const unsigned char*>(&bytes[at - kEndRecordSize])) == kEndRecordSignature)
            return true;
    }
    return false;
}

// Feeds the package's bytes from the start up to end into the hash. The next
// chunk is read while this one is hashed: from a cold disk the check then
// takes about the longer of the two, not their sum.
bool HashPrefix(plinth::ByteSource& package, std::uint64_t end, Prehash& hash)
{
    std::vector<unsigned char> current(kChunk), next(kChunk);
    std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(end, kChunk));
    if (!package.ReadAt(0, current.data(), size))
        return false;
    for (std::uint64_t at = 0; at < end;) {
        const std::uint64_t nextAt = at + size;
        const std::size_t nextSize = static_cast<std::size_t>(std::min<std::uint64_t>(end - nextAt, kChunk));
        std::future<bool> read;
        if (nextSize > 0)
            read = std::async(std::launch::async,
                              [&package, &next, nextAt, nextSize] { return package.ReadAt(nextAt, next.data(), nextSize); });
        hash.Update(current.data(), size);
        if (nextSize > 0 && !read.get())
            return false;
        current.swap(next);
        at = nextAt;
        size = nextSize;
    }
    return true;
}

} // namespace

SignatureCheck::SignatureCheck(plinth::ByteSource& package) : m_package(package)
{
    const std::uint64_t size = package.Size();
    if (size >= kBlockSize) {
        std::string block(kBlockSize, '\0');
        if (!package.ReadAt(size - kBlockSize, &block[0], kBlockSize)) {
            Fail(Unreadable, "the package cannot be read");
            return;
        }
        if (block.compare(0, kMagicSize, kBlockMagic) == 0) {
            if (ParseBlock(block, m_key, m_signature))
                m_state = Signed;
            else
                Fail(Unreadable, "the signature block is damaged");
            return;
        }
    }
    // A block that starts the archive comment but does not end the file:
    // bytes were added after it, or some of it was cut off.
    if (BlockOutOfPlace(package)) {
        Fail(Unreadable, "the signature block is not at the end of the package");
        return;
    }
    Fail(Unsigned, "the package is not signed");
}

SignatureCheck::State SignatureCheck::Verify()
{
    if (m_state != Signed)
        return m_state;
    Prehash hash;
    if (!HashPrefix(m_package, m_package.Size() - kBlockSize, hash))
        return Fail(Unreadable, "the package cannot be read");
    if (!hash.Verify(m_signature, m_key))
        return Fail(Changed, "the package was changed after it was signed, or the signature is not the key's");
    m_problem.clear();
    return m_state = Valid;
}

SignatureCheck::State SignatureCheck::Fail(State state, const std::string& problem)
{
    m_problem = problem;
    return m_state = state;
}

bool SignPackageFile(const std::wstring& path, const SecretKey& key, std::string& problem)
{
    // The signed bytes end with the end record's comment length, which
    // already counts the block.
    Signature signature;
    std::uint64_t endRecord = 0;
    {
        std::unique_ptr<plinth::ByteSource> package = plinth::OpenFileSource(path);
        if (!package) {
            problem = "the package cannot be opened";
            return false;
        }
        if (!FindEndRecord(*package, endRecord)) {
            problem = "the package has no ZIP end record";
            return false;
        }
        Prehash hash;
        const unsigned char commentSize[2] = {kBlockSize & 0xFF, kBlockSize >> 8};
        if (!HashPrefix(*package, endRecord + 20, hash)) {
            problem = "the package cannot be read";
            return false;
        }
        hash.Update(commentSize, sizeof commentSize);
        signature = hash.Sign(key);
    }

    const std::string block = MakeBlock(key.Public(), signature);
    std::string tail;
    tail += static_cast<char>(kBlockSize & 0xFF);
    tail += static_cast<char>(kBlockSize >> 8);
    tail += block;
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        problem = "the package cannot be written";
        return false;
    }
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(endRecord + 20);
    DWORD written = 0;
    const bool done = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
                      WriteFile(file, tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr) &&
                      written == tail.size() && SetEndOfFile(file);
    if (!CloseHandle(file) || !done) {
        problem = "the package cannot be written";
        return false;
    }
    return true;
}

} // namespace signing
