#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Ed25519ph.h"
#include "PackageIdentity.h"
#include "PackageSignature.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& hex)
{
    std::vector<unsigned char> bytes(hex.size() / 2);
    EXPECT_TRUE(bytes.empty() || signing::FromHex(hex, bytes.data(), bytes.size())) << hex;
    return bytes;
}

template <std::size_t N>
std::array<unsigned char, N> Array(const std::string& hex)
{
    std::array<unsigned char, N> out = {};
    EXPECT_TRUE(signing::FromHex(hex, out.data(), N)) << hex;
    return out;
}

struct Vector {
    const char* name;
    const char* seed;
    const char* publicKey;
    const char* message;
    const char* signature;
};

// RFC 8032, section 7.1: Ed25519, tests 1 to 3.
const Vector kEd25519[] = {
    {"7.1 test 1", "9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60",
     "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a", "",
     "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e065224901555fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe2"
     "4655141438e7a100b"},
    {"7.1 test 2", "4ccd089b28ff96da9db6c346ec114e0f5b8a319f35aba624da8cf6ed4fb8a6fb",
     "3d4017c3e843895a92b70aa74d1b7ebc9c982ccf2ec4968cc0cd55f12af4660c", "72",
     "92a009a9f0d4cab8720e820b5f642540a2b27b5416503f8fb3762223ebdb69da085ac1e43e15996e458f3613d0f11d8c387b2eaeb4302ae"
     "eb00d291612bb0c00"},
    {"7.1 test 3", "c5aa8df43f9f837bedb7442f31dcb7b166d38535076f094b85ce3a2e0b4458f7",
     "fc51cd8e6218a1a38da47ed00230f0580816ed13ba3303ac5deb911548908025", "af82",
     "6291d657deec24024827e69c3abe01a30ce548a284743a445e3680d7db5ac3ac18ff9b538d16f290ae67f760984dc6594a7c15e9716ed28"
     "dc027beceea1ec40a"},
};

// RFC 8032, section 7.3: Ed25519ph.
const Vector kEd25519ph = {
    "7.3", "833fe62409237b9d62ec77587520911e9a759cec1d19755b7da901b96dca3d42",
    "ec172b93ad5e563bf4932c70e1245034c35467ef2efd4d64ebf819683467e2bf", "616263",
    "98a70222f0b8121aa9d30f813d683f809e462b469c7ff87639499bb94e6dae4131f85042463c2a355a2003d062adf5aaa10b8c61e636062aa"
    "ad11c2a26083406"};

bool Ed25519Holds(const std::vector<unsigned char>& message, const signing::Signature& signature,
                  const signing::PublicKey& key)
{
    return crypto_sign_verify_detached(signature.data(), message.data(), message.size(), key.data()) == 0;
}

bool Ed25519phHolds(const std::vector<unsigned char>& message, const signing::Signature& signature,
                    const signing::PublicKey& key)
{
    signing::Prehash hash;
    hash.Update(message.data(), message.size());
    return hash.Verify(signature, key);
}

} // namespace

// The library is wired right: the RFC's keys, signatures and messages hold,
// and one flipped bit of the signature (or of the message) breaks each.
TEST(Rfc8032, KnownAnswersHoldAndOneFlippedBitBreaksThem)
{
    for (const Vector& v : kEd25519) {
        signing::SecretKey key;
        ASSERT_TRUE(key.FromSeed(Bytes(v.seed).data())) << v.name;
        EXPECT_EQ(Array<signing::kPublicKeyBytes>(v.publicKey), key.Public()) << v.name;
        const std::vector<unsigned char> message = Bytes(v.message);
        signing::Signature signature = Array<signing::kSignatureBytes>(v.signature);
        EXPECT_TRUE(Ed25519Holds(message, signature, key.Public())) << v.name;
        signature[17] ^= 0x04;
        EXPECT_FALSE(Ed25519Holds(message, signature, key.Public())) << v.name;
        signature[17] ^= 0x04;
        if (!message.empty()) {
            std::vector<unsigned char> changed = message;
            changed[0] ^= 0x01;
            EXPECT_FALSE(Ed25519Holds(changed, signature, key.Public())) << v.name;
        }
    }

    const Vector& v = kEd25519ph;
    signing::SecretKey key;
    ASSERT_TRUE(key.FromSeed(Bytes(v.seed).data()));
    EXPECT_EQ(Array<signing::kPublicKeyBytes>(v.publicKey), key.Public());
    const std::vector<unsigned char> message = Bytes(v.message);
    signing::Prehash hash;
    hash.Update(message.data(), message.size());
    signing::Signature signature = hash.Sign(key);
    EXPECT_EQ(Array<signing::kSignatureBytes>(v.signature), signature) << "Ed25519ph signs as the RFC does";
    EXPECT_TRUE(Ed25519phHolds(message, signature, key.Public()));
    signature[40] ^= 0x80;
    EXPECT_FALSE(Ed25519phHolds(message, signature, key.Public()));
    signature[40] ^= 0x80;
    std::vector<unsigned char> changed = message;
    changed[2] ^= 0x10;
    EXPECT_FALSE(Ed25519phHolds(changed, signature, key.Public()));
    EXPECT_FALSE(Ed25519Holds(message, signature, key.Public())) << "Ed25519ph is not plain Ed25519";
}

namespace {

class MemorySource : public plinth::ByteSource {
public:
    explicit MemorySource(const std::string& bytes) : m_bytes(bytes) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override
    {
        if (offset > m_bytes.size() || size > m_bytes.size() - offset)
            return false;
        std::memcpy(buffer, m_bytes.data() + offset, size);
        return true;
    }

private:
    std::string m_bytes;
};

std::string TempPath()
{
    char folder[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "sig", 0, name);
    return name;
}

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// An archive without entries: its end record, with the comment given.
std::string EmptyArchive(const std::string& comment = std::string())
{
    std::string end("PK\x05\x06", 4);
    end += std::string(16, '\0');
    end += static_cast<char>(comment.size() & 0xFF);
    end += static_cast<char>(comment.size() >> 8);
    return std::string(64, 'x') + end + comment;
}

// The archive signed by the key, as SignPackageFile leaves the file.
std::string Signed(const std::string& archive, const signing::SecretKey& key)
{
    const std::string path = TempPath();
    WriteAll(path, archive);
    std::string problem;
    EXPECT_TRUE(signing::SignPackageFile(std::wstring(path.begin(), path.end()), key, problem)) << problem;
    const std::string bytes = ReadAll(path);
    DeleteFileA(path.c_str());
    return bytes;
}

signing::SignatureCheck::State Checked(const std::string& bytes, signing::PublicKey* key = nullptr)
{
    MemorySource source(bytes);
    signing::SignatureCheck check(source);
    const signing::SignatureCheck::State state = check.Verify();
    if (key)
        *key = check.Key();
    return state;
}

} // namespace

TEST(SignatureBlock, EndsThePackageAndCoversEveryByteBeforeIt)
{
    using signing::SignatureCheck;
    signing::SecretKey key, other;
    ASSERT_TRUE(key.Generate());
    ASSERT_TRUE(other.Generate());
    const std::string archive = EmptyArchive("made by hand");
    const std::string bytes = Signed(archive, key);
    ASSERT_EQ(archive.size() - 12 + signing::kBlockSize, bytes.size()) << "the block replaces the comment";
    signing::PublicKey found;
    EXPECT_EQ(SignatureCheck::Valid, Checked(bytes, &found));
    EXPECT_EQ(key.Public(), found);

    struct Case {
        const char* what;
        std::string bytes;
        SignatureCheck::State state;
    };
    std::string damaged = bytes;
    damaged[damaged.size() - 3] = 'g';
    std::string changed = bytes;
    changed[10] ^= 0x20;
    const Case cases[] = {
        {"no comment", EmptyArchive(), SignatureCheck::Unsigned},
        {"another comment", archive, SignatureCheck::Unsigned},
        {"a byte before the block changed", changed, SignatureCheck::Changed},
        {"bytes added after the block", bytes + "\r\n", SignatureCheck::Unreadable},
        {"the block's last byte cut off", bytes.substr(0, bytes.size() - 1), SignatureCheck::Unreadable},
        {"a damaged block", damaged, SignatureCheck::Unreadable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.state, Checked(c.bytes)) << c.what;

    // Signing again replaces the block.
    const std::string again = Signed(bytes, other);
    EXPECT_EQ(bytes.size(), again.size());
    EXPECT_EQ(SignatureCheck::Valid, Checked(again, &found));
    EXPECT_EQ(other.Public(), found);
}

TEST(PackageIdentity, CreationTimesOfTv2packsFormOrderAsTheTimesDo)
{
    std::uint64_t early = 0, late = 0;
    EXPECT_TRUE(signing::CreationStamp("2020-06-15 12:00:00", early));
    EXPECT_TRUE(signing::CreationStamp("2026-01-02 00:00:09", late));
    EXPECT_LT(early, late);
    for (const char* text : {"-1", "", "2026-01-02", "2026/01/02 00:00:09", "2026-13-02 00:00:09", "2026-01-02 24:00:00",
                             " 2026-01-02 00:00:09", "2026-01-02 00:00:0x"})
        EXPECT_FALSE(signing::CreationStamp(text, late)) << text;
}
