#include "PackageIdentity.h"

#include "ZipReader.h"

#include <memory>

namespace signing {

namespace {

// The largest configuration read: some hundred thousand files' entries.
constexpr std::uint64_t kConfigLimit = 32u << 20;
// The update run's read lengths (buffer size less the terminating zero).
constexpr std::size_t kNameLimit = 189;
constexpr std::size_t kTimeLimit = 89;

// The package reader owns its source; this one lends the caller's.
class BorrowedSource : public plinth::ByteSource {
public:
    explicit BorrowedSource(plinth::ByteSource& source) : m_source(source) {}
    std::uint64_t Size() const override { return m_source.Size(); }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override
    {
        return m_source.ReadAt(offset, buffer, size);
    }

private:
    plinth::ByteSource& m_source;
};

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool SameWord(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 'a' + 'A') : a[i];
        const char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 'a' + 'A') : b[i];
        if (x != y)
            return false;
    }
    return i == a.size() && !b[i];
}

// The value of the first key of that name in the first section of that
// name, cut to the read length; the fallback when there is none.
std::string ProfileValue(const std::string& text, const char* section, const char* key, const char* fallback,
                         std::size_t limit)
{
    bool inSection = false, sectionSeen = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line[0] == '[') {
            if (inSection)
                break;
            const std::size_t close = line.find(']');
            inSection = !sectionSeen && SameWord(Trimmed(line.substr(1, close == std::string::npos ? std::string::npos
                                                                                                        : close - 1)),
                                                 section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos || !SameWord(Trimmed(line.substr(0, equals)), key))
            continue;
        std::string value = Trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        return value.substr(0, limit);
    }
    return fallback;
}

int TwoDigits(const std::string& text, std::size_t at)
{
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

} // namespace

bool ReadPackageIdentity(plinth::ByteSource& package, PackageIdentity& identity, std::string& problem)
{
    plinth::ZipReader reader;
    if (reader.Open(std::unique_ptr<plinth::ByteSource>(new BorrowedSource(package))) != 0) {
        problem = reader.Problem();
        return false;
    }
    reader.Check();
    const plinth::ZipEntry* config = nullptr;
    for (const plinth::ZipEntry& entry : reader.Entries()) {
        if (!config && entry.dataOffset != 0 && plinth::NameKey(entry.name) == L"TAVIBK.CFG")
            config = &entry;
    }
    if (!config) {
        problem = "the package has no TAVIBK.cfg";
        return false;
    }
    if (config->size > kConfigLimit) {
        problem = "TAVIBK.cfg is too large";
        return false;
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(config->size));
    if (reader.Extract(*config, [&](const unsigned char* data, std::size_t size) {
            text.append(reinterpret_cast<const char*>(data), size);
            return true;
        }) != 0) {
        problem = "TAVIBK.cfg is damaged";
        return false;
    }
    identity.name = ProfileValue(text, "FILEPATH", "PACKNAME", "-1", kNameLimit);
    identity.createTime = ProfileValue(text, "FILEVERSION", "CREATETIME", "-1", kTimeLimit);
    return true;
}

bool CreationStamp(const std::string& text, std::uint64_t& stamp)
{
    const char form[] = "0000-00-00 00:00:00";
    if (text.size() != sizeof form - 1)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (form[i] == '0' ? (text[i] < '0' || text[i] > '9') : text[i] != form[i])
            return false;
    }
    const int month = TwoDigits(text, 5), day = TwoDigits(text, 8);
    if (month < 1 || month > 12 || day < 1 || day > 31 || TwoDigits(text, 11) > 23 || TwoDigits(text, 14) > 59 ||
        TwoDigits(text, 17) > 59)
        return false;
    stamp = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            stamp = stamp * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

} // namespace signing
