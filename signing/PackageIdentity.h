#pragma once
#include <cstdint>
#include <string>

#include "ByteSource.h"

// A package's name and creation time, read from the package itself (its
// TAVIBK.cfg entry) before anything is unpacked, as the profile reader
// reads them after the unpack: sections and keys without regard to letter
// case, the first of each, values trimmed.
namespace signing {

struct PackageIdentity {
    std::string name;       // [FILEPATH] PACKNAME, at most 189 bytes, "-1" when missing
    std::string createTime; // [FILEVERSION] CREATETIME, at most 89 bytes, "-1" when missing
};

// Answers false, with the reason, when the package has no configuration that
// can be read.
bool ReadPackageIdentity(plinth::ByteSource& package, PackageIdentity& identity, std::string& problem);

// A creation time as tv2pack writes it, "YYYY-MM-DD HH:MM:SS", as a number
// that orders as the times do (YYYYMMDDhhmmss). False for any other form.
bool CreationStamp(const std::string& text, std::uint64_t& stamp);

} // namespace signing
