#include "SignCommands.h"

#include "Console.h"
#include "FileSource.h"
#include "KeyFiles.h"
#include "PackageIdentity.h"
#include "PackageSignature.h"
#include "ZipNames.h"

#include <windows.h>

namespace signcommands {

namespace {

void Complain(const std::wstring& text)
{
    console::Err(L"tv2pack: " + text + L"\n");
}

// The signing code's texts are UTF-8 (entry names) or ASCII.
std::wstring Wide(const std::string& text)
{
    return plinth::DecodeText(text, CP_UTF8);
}

std::wstring KeyText(const signing::PublicKey& key)
{
    return Wide(signing::ToHex(key.data(), key.size()));
}

int Usage()
{
    console::Err(L"usage:\n"
                 L"  tv2pack keygen NAME [--out FOLDER]\n"
                 L"  tv2pack sign PKG --key NAME.key\n");
    return 2;
}

// A copy of the package beside it, removed unless it was put in place.
class SigningCopy {
public:
    explicit SigningCopy(const std::wstring& package) : m_package(package), m_path(package + L".sign.part") {}
    ~SigningCopy() { DeleteFileW(m_path.c_str()); }
    SigningCopy(const SigningCopy&) = delete;
    SigningCopy& operator=(const SigningCopy&) = delete;

    bool Make() const { return CopyFileW(m_package.c_str(), m_path.c_str(), FALSE) != 0; }
    const std::wstring& Path() const { return m_path; }
    bool PutInPlace() const { return MoveFileExW(m_path.c_str(), m_package.c_str(), MOVEFILE_REPLACE_EXISTING) != 0; }

private:
    std::wstring m_package, m_path;
};

} // namespace

bool LoadKey(const std::wstring& path, signing::SecretKey& key)
{
    std::wstring problem;
    if (keyfiles::ReadKeyFile(path, key, problem))
        return true;
    Complain(problem);
    return false;
}

bool SignWritten(const std::wstring& path, const signing::SecretKey& key)
{
    std::string problem;
    if (signing::SignPackageFile(path, key, problem))
        return true;
    Complain(path + L": cannot be signed: " + Wide(problem));
    return false;
}

int KeyGen(const std::vector<std::wstring>& args)
{
    std::wstring folder = L".";
    if (args.size() == 3 && args[1] == L"--out")
        folder = args[2];
    else if (args.size() != 1)
        return Usage();
    const std::wstring& name = args[0];
    if (!keyfiles::IsKeyName(name)) {
        Complain(L"\"" + name + L"\": a key name is 1 to 64 letters, digits, '-', '_' and '.', not starting with '.'");
        return 1;
    }
    signing::SecretKey key;
    std::wstring problem;
    if (!key.Generate()) {
        Complain(L"no key could be made: the system's random source failed");
        return 1;
    }
    if (!keyfiles::WriteKeyFiles(folder, name, key, problem)) {
        Complain(problem);
        return 1;
    }
    console::Out(L"tv2pack: key " + name + L": " + KeyText(key.Public()) + L"\n" + L"tv2pack: " + name +
                 L".key is the private key: keep it off the line; import " + name +
                 L".reg on a workstation to trust the key\n");
    return 0;
}

int Sign(const std::vector<std::wstring>& args)
{
    if (args.size() != 3 || args[1] != L"--key")
        return Usage();
    const std::wstring& package = args[0];
    signing::SecretKey key;
    if (!LoadKey(args[2], key))
        return 1;
    // The update tool compares the creation time to refuse an older package
    // of the same name, so a signed package must carry one it can read.
    {
        std::unique_ptr<plinth::ByteSource> source = plinth::OpenFileSource(package);
        signing::PackageIdentity identity;
        std::string problem;
        std::uint64_t stamp = 0;
        if (!source) {
            Complain(package + L": cannot be opened");
            return 1;
        }
        if (!signing::ReadPackageIdentity(*source, identity, problem)) {
            Complain(package + L": " + Wide(problem) + L"; not signed");
            return 1;
        }
        if (!signing::CreationStamp(identity.createTime, stamp)) {
            Complain(package + L": TAVIBK.cfg's [FILEVERSION] CREATETIME \"" + console::FromAnsi(identity.createTime) +
                     L"\" is not of the form YYYY-MM-DD HH:MM:SS, which the update tool compares; not signed");
            return 1;
        }
    }
    SigningCopy copy(package);
    if (!copy.Make()) {
        Complain(copy.Path() + L": cannot be written");
        return 1;
    }
    if (!SignWritten(copy.Path(), key))
        return 1;
    if (!copy.PutInPlace()) {
        Complain(package + L": cannot be replaced by its signed copy");
        return 1;
    }
    console::Out(L"tv2pack: " + package + L": signed with key " + KeyText(key.Public()) + L"\n");
    return 0;
}

bool ReportSignature(const std::wstring& path)
{
    std::unique_ptr<plinth::ByteSource> source = plinth::OpenFileSource(path);
    if (!source)
        return true; // the package's own checks say that it cannot be opened
    signing::SignatureCheck check(*source);
    switch (check.Verify()) {
    case signing::SignatureCheck::Unsigned:
        console::Out(L"tv2pack: " + path + L": signature: none\n");
        return true;
    case signing::SignatureCheck::Valid:
        console::Out(L"tv2pack: " + path + L": signature: valid, key " + KeyText(check.Key()) + L"\n");
        return true;
    default:
        Complain(path + L": signature: invalid: " + Wide(check.Problem()));
        return false;
    }
}

} // namespace signcommands
