#include "Ed25519ph.h"

namespace signing {

namespace {

// sodium_init picks the library's implementations and opens the random
// source; it is cheap after its first call and safe from any thread.
bool Ready()
{
    return sodium_init() >= 0;
}

} // namespace

SecretKey::~SecretKey()
{
    sodium_memzero(m_bytes, sizeof m_bytes);
}

bool SecretKey::Generate()
{
    unsigned char seed[kSeedBytes];
    if (!Ready())
        return false;
    randombytes_buf(seed, sizeof seed);
    const bool made = FromSeed(seed);
    sodium_memzero(seed, sizeof seed);
    return made;
}

bool SecretKey::FromSeed(const unsigned char* seed)
{
    return Ready() && crypto_sign_ed25519_seed_keypair(m_public.data(), m_bytes, seed) == 0;
}

std::string SecretKey::SeedHex() const
{
    unsigned char seed[kSeedBytes];
    crypto_sign_ed25519_sk_to_seed(seed, m_bytes);
    std::string text = ToHex(seed, sizeof seed);
    sodium_memzero(seed, sizeof seed);
    return text;
}

Prehash::Prehash()
{
    Ready();
    crypto_sign_ed25519ph_init(&m_state);
}

Prehash::~Prehash()
{
    sodium_memzero(&m_state, sizeof m_state);
}

void Prehash::Update(const unsigned char* data, std::size_t size)
{
    crypto_sign_ed25519ph_update(&m_state, data, size);
}

Signature Prehash::Sign(const SecretKey& key)
{
    Signature signature = {};
    crypto_sign_ed25519ph_final_create(&m_state, signature.data(), nullptr, key.Bytes());
    return signature;
}

bool Prehash::Verify(const Signature& signature, const PublicKey& key)
{
    return crypto_sign_ed25519ph_final_verify(&m_state, signature.data(), key.data()) == 0;
}

std::string ToHex(const unsigned char* bytes, std::size_t size)
{
    std::string text(size * 2 + 1, '\0');
    sodium_bin2hex(&text[0], text.size(), bytes, size);
    text.pop_back();
    return text;
}

bool FromHex(const std::string& text, unsigned char* bytes, std::size_t size)
{
    std::size_t decoded = 0;
    const char* end = nullptr;
    return text.size() == size * 2 &&
           sodium_hex2bin(bytes, size, text.data(), text.size(), nullptr, &decoded, &end) == 0 &&
           decoded == size && end == text.data() + text.size();
}

} // namespace signing
