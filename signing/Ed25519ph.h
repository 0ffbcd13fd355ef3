#pragma once
#include <sodium.h>

#include <array>
#include <cstddef>
#include <string>

// Ed25519 keys and Ed25519ph signatures (RFC 8032, empty context), over
// libsodium. Ed25519ph signs the SHA-512 of the message, so a package of any
// size is signed and verified in one pass over its bytes, in pieces.
namespace signing {

constexpr std::size_t kPublicKeyBytes = crypto_sign_ed25519_PUBLICKEYBYTES;
constexpr std::size_t kSeedBytes = crypto_sign_ed25519_SEEDBYTES;
constexpr std::size_t kSignatureBytes = crypto_sign_ed25519_BYTES;

using PublicKey = std::array<unsigned char, kPublicKeyBytes>;
using Signature = std::array<unsigned char, kSignatureBytes>;

// A private key with its public half. Its bytes are wiped when it goes.
class SecretKey {
public:
    SecretKey() = default;
    ~SecretKey();
    SecretKey(const SecretKey&) = delete;
    SecretKey& operator=(const SecretKey&) = delete;

    // A new key from the system's random source (RtlGenRandom on Windows).
    bool Generate();
    // The key that a 32-byte seed stands for.
    bool FromSeed(const unsigned char* seed);

    const PublicKey& Public() const { return m_public; }
    // The 32-byte seed, the only secret a key file needs to hold.
    std::string SeedHex() const;
    const unsigned char* Bytes() const { return m_bytes; }

private:
    unsigned char m_bytes[crypto_sign_ed25519_SECRETKEYBYTES] = {};
    PublicKey m_public = {};
};

// One Ed25519ph signature or check, fed the message in pieces. Sign and
// Verify each end it.
class Prehash {
public:
    Prehash();
    ~Prehash();
    Prehash(const Prehash&) = delete;
    Prehash& operator=(const Prehash&) = delete;

    void Update(const unsigned char* data, std::size_t size);
    Signature Sign(const SecretKey& key);
    bool Verify(const Signature& signature, const PublicKey& key);

private:
    crypto_sign_ed25519ph_state m_state;
};

// Lower-case hexadecimal text of bytes, and back: FromHex takes exactly
// 2 * size hexadecimal digits and nothing else.
std::string ToHex(const unsigned char* bytes, std::size_t size);
bool FromHex(const std::string& text, unsigned char* bytes, std::size_t size);

} // namespace signing
