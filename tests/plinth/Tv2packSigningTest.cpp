// tv2pack keygen, sign and verify as an integrator runs them: a key's three
// files, packages signed and reported with their key, and a signed package
// changed afterwards, which verify refuses with the reason.
#include "PackageSignature.h"
#include "PlinthTestEnv.h"
#include "PlinthWrappers.h"
#include "TestZip.h"

#include <gtest/gtest.h>

#include <string>

using plinthtest::FileExists;
using plinthtest::ReadFileBytes;
using plinthtest::RunProgram;
using plinthtest::TempDir;
using plinthtest::WriteFileBytes;

namespace {

const char kChanged[] = "signature: invalid: the package was changed after it was signed";

class Tv2packSigning : public ::testing::Test {
protected:
    Tv2packSigning() : m_dir("tv2sign"), m_package(m_dir / "signed.tv2bck") {}

    // Makes the key NAME in the test's folder; answers its public key as verify prints it.
    std::string KeyGen(const std::string& name)
    {
        std::string output;
        EXPECT_EQ(0, RunProgram("tv2pack.exe keygen " + name + " --out \"" + m_dir.Path() + "\"", &output)) << output;
        const std::string pub = ReadFileBytes(m_dir / (name + ".pub"));
        const std::size_t at = pub.find("public=");
        return at == std::string::npos ? std::string() : pub.substr(at + 7, 64);
    }

    int Sign(const std::string& package, const std::string& key, std::string* output)
    {
        return RunProgram("tv2pack.exe sign \"" + package + "\" --key \"" + (m_dir / (key + ".key")) + "\"", output);
    }

    int Verify(const std::string& package, std::string* output)
    {
        return RunProgram("tv2pack.exe verify \"" + package + "\"", output);
    }

    // A package of one file, as another ZIP writer with a written TAVIBK.cfg makes it.
    void WritePackage(const std::string& path, const std::string& createTime = "2026-03-15 10:20:30")
    {
        testzip::Entry cfg;
        cfg.name = "TAVIBK.cfg";
        cfg.data = "[FILEPATH]\r\nPACKNAME=Line3\r\nCNT=1\r\na.bin=D:\\TAVI\\a.bin\r\n[FILEVERSION]\r\nCREATETIME=" +
                   createTime + "\r\nVERSION=1.0\r\n";
        testzip::Entry a;
        a.name = "a.bin";
        a.data = "payload of a.bin";
        ASSERT_TRUE(WriteFileBytes(path, testzip::Build({cfg, a})));
    }

    TempDir m_dir;
    std::string m_package;
};

std::wstring Utf16(const std::string& bytes)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

bool Has(const std::string& output, const std::string& part)
{
    return output.find(part) != std::string::npos;
}

} // namespace

TEST_F(Tv2packSigning, KeygenSignAndVerifyRoundTrip)
{
    const std::string first = KeyGen("line-a");
    ASSERT_EQ(64u, first.size());
    EXPECT_TRUE(Has(ReadFileBytes(m_dir / "line-a.key"), "seed="));
    const std::wstring reg = Utf16(ReadFileBytes(m_dir / "line-a.reg"));
    EXPECT_EQ(0u, reg.find(L"\xFEFFWindows Registry Editor Version 5.00\r\n")) << "UTF-16, as regedit writes";
    EXPECT_NE(std::wstring::npos,
              reg.find(L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\TAVI\\UpdateKeys]\r\n\"line-a\"=\"" +
                       std::wstring(first.begin(), first.end()) + L"\"\r\n"));

    // A second keygen of the name keeps the private key that is there.
    const std::string secret = ReadFileBytes(m_dir / "line-a.key");
    std::string output;
    EXPECT_EQ(1, RunProgram("tv2pack.exe keygen line-a --out \"" + m_dir.Path() + "\"", &output));
    EXPECT_TRUE(Has(output, "exists already")) << output;
    EXPECT_EQ(secret, ReadFileBytes(m_dir / "line-a.key"));

    WritePackage(m_package);
    EXPECT_EQ(0, Verify(m_package, &output)) << output;
    EXPECT_TRUE(Has(output, "signature: none")) << output;
    ASSERT_EQ(0, Sign(m_package, "line-a", &output)) << output;
    EXPECT_EQ(0, Verify(m_package, &output)) << output;
    EXPECT_TRUE(Has(output, "signature: valid, key " + first)) << output;
    EXPECT_TRUE(Has(output, "OK, 1 files")) << output;
    EXPECT_FALSE(FileExists(m_package + ".sign.part"));

    // Signing again with another key replaces the signature; the library,
    // which knows nothing of signatures, still unpacks the package.
    const std::string second = KeyGen("line-b");
    ASSERT_EQ(0, Sign(m_package, "line-b", &output)) << output;
    EXPECT_EQ(0, Verify(m_package, &output)) << output;
    EXPECT_TRUE(Has(output, "signature: valid, key " + second)) << output;
    const std::string target = m_dir / "TAVIBACKTmp";
    EXPECT_EQ(2, UnCompressFile(m_package.c_str(), target.c_str()));
    EXPECT_EQ("payload of a.bin", ReadFileBytes(target + "\\a.bin"));

    // create --key builds and signs in one step.
    const std::string source = m_dir / "src";
    CreateDirectoryA(source.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(source + "\\b.txt", "b"));
    const std::string created = m_dir / "created.tv2bck";
    ASSERT_EQ(0, RunProgram("tv2pack.exe create \"" + created + "\" --root D:\\TAVI \"" + source + "\" --key \"" +
                                (m_dir / "line-a.key") + "\"",
                            &output))
        << output;
    EXPECT_EQ(0, Verify(created, &output)) << output;
    EXPECT_TRUE(Has(output, "signature: valid, key " + first)) << output;
}

TEST_F(Tv2packSigning, PackageChangedAfterSigningIsRefusedWithTheReason)
{
    KeyGen("line-a");
    WritePackage(m_package);
    std::string output;
    ASSERT_EQ(0, Sign(m_package, "line-a", &output)) << output;
    const std::string bytes = ReadFileBytes(m_package);
    ASSERT_GT(bytes.size(), signing::kBlockSize);

    struct Position {
        const char* what;
        std::size_t at;
    };
    const Position positions[] = {
        {"its first byte", 0},
        {"inside an entry's data", bytes.find("payload of a.bin") + 3},
        {"inside TAVIBK.cfg", bytes.find("PACKNAME=Line3") + 10},
        {"its last byte before the signature", bytes.size() - signing::kBlockSize - 1},
    };
    for (const Position& p : positions) {
        std::string changed = bytes;
        changed[p.at] ^= 0x01;
        const std::string path = m_dir / "changed.tv2bck";
        ASSERT_TRUE(WriteFileBytes(path, changed));
        EXPECT_EQ(1, Verify(path, &output)) << p.what;
        EXPECT_TRUE(Has(output, kChanged)) << p.what << "\n" << output;
    }

    // Nothing is signed without a creation time that the update tool can
    // compare, nor with a file that is no private key.
    const std::string undated = m_dir / "undated.tv2bck";
    WritePackage(undated, "last spring");
    EXPECT_EQ(1, Sign(undated, "line-a", &output));
    EXPECT_TRUE(Has(output, "CREATETIME")) << output;
    EXPECT_EQ(1, RunProgram("tv2pack.exe sign \"" + undated + "\" --key \"" + (m_dir / "line-a.pub") + "\"", &output));
    EXPECT_TRUE(Has(output, "not a private key file")) << output;
    EXPECT_EQ(0, Verify(undated, &output)) << output;
    EXPECT_TRUE(Has(output, "signature: none")) << output;
}
