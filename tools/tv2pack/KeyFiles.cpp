#include "KeyFiles.h"

#include <windows.h>

#include <vector>

namespace keyfiles {

namespace {

constexpr DWORD kMaxKeyFile = 4096;

std::wstring Join(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/')
        return folder + name;
    return folder + L"\\" + name;
}

std::string Ascii(const std::wstring& text)
{
    return std::string(text.begin(), text.end()); // key names are ASCII
}

bool WriteNew(const std::wstring& path, const void* data, std::size_t size)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    return CloseHandle(file) && ok;
}

// The value of "key=value" lines; empty when there is none.
std::string Field(const std::string& text, const std::string& key)
{
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            return line.substr(key.size() + 1);
    }
    return std::string();
}

// The registry file's text: UTF-16 with its byte-order mark, as regedit writes it.
std::wstring RegistryText(const std::wstring& name, const signing::PublicKey& key)
{
    const std::string hex = signing::ToHex(key.data(), key.size());
    return L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
           L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\TAVI\\UpdateKeys]\r\n\"" +
           name + L"\"=\"" + std::wstring(hex.begin(), hex.end()) + L"\"\r\n\r\n";
}

} // namespace

bool IsKeyName(const std::wstring& name)
{
    if (name.empty() || name.size() > 64 || name[0] == L'.')
        return false;
    for (wchar_t c : name) {
        const bool allowed = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                             c == L'-' || c == L'_' || c == L'.';
        if (!allowed)
            return false;
    }
    return true;
}

bool WriteKeyFiles(const std::wstring& folder, const std::wstring& name, const signing::SecretKey& key,
                   std::wstring& problem)
{
    const std::wstring paths[] = {Join(folder, name + L".key"), Join(folder, name + L".pub"),
                                  Join(folder, name + L".reg")};
    for (const std::wstring& path : paths) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            problem = path + L" exists already; nothing written";
            return false;
        }
    }
    const std::string publicHex = signing::ToHex(key.Public().data(), key.Public().size());
    const std::string publicText = "name=" + Ascii(name) + "\r\npublic=" + publicHex + "\r\n";
    std::string secretText = "# The private signing key " + Ascii(name) +
                             " of the TAVI update packages: keep it off the line.\r\n" + publicText +
                             "seed=" + key.SeedHex() + "\r\n";
    const std::wstring registry = RegistryText(name, key.Public());
    const bool written = WriteNew(paths[0], secretText.data(), secretText.size()) &&
                         WriteNew(paths[1], publicText.data(), publicText.size()) &&
                         WriteNew(paths[2], registry.data(), registry.size() * sizeof(wchar_t));
    sodium_memzero(&secretText[0], secretText.size());
    if (!written) {
        for (const std::wstring& path : paths)
            DeleteFileW(path.c_str());
        problem = L"the key files cannot be written into " + folder;
    }
    return written;
}

bool ReadKeyFile(const std::wstring& path, signing::SecretKey& key, std::wstring& problem)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        problem = path + L": cannot be opened";
        return false;
    }
    std::vector<char> bytes(kMaxKeyFile);
    DWORD read = 0;
    const bool ok = ReadFile(file, bytes.data(), kMaxKeyFile, &read, nullptr) != 0;
    CloseHandle(file);
    std::string text(bytes.data(), ok ? read : 0);
    sodium_memzero(bytes.data(), bytes.size());
    unsigned char seed[signing::kSeedBytes];
    signing::PublicKey stated;
    const bool parsed = signing::FromHex(Field(text, "seed"), seed, sizeof seed) &&
                        signing::FromHex(Field(text, "public"), stated.data(), stated.size());
    sodium_memzero(&text[0], text.size());
    const bool made = parsed && key.FromSeed(seed);
    sodium_memzero(seed, sizeof seed);
    if (!made) {
        problem = path + L": not a private key file of tv2pack keygen (it needs its seed= and public= lines)";
        return false;
    }
    if (key.Public() != stated) {
        problem = path + L": its seed does not give its public key; the file is damaged";
        return false;
    }
    return true;
}

} // namespace keyfiles
