#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>

// The directory that a package is unpacked into. It is listed once; each file
// is then created by its exact name without a case-insensitive lookup, which
// under Wine would read the whole directory for every new file (quadratic in
// the number of files). Names are still matched without regard to case, here,
// against the listing: a file "SETUP.INI" is replaced by an entry "setup.ini".
namespace plinth {

class TargetDirectory {
public:
    // Lists dir; false when it cannot be listed.
    bool Open(const std::wstring& dir);

    // Creates (or truncates) the file for an entry name and answers its handle,
    // or INVALID_HANDLE_VALUE. A read-only file of that name is made writable
    // first; a directory of that name is never replaced. path receives the
    // file's full path.
    // Safe on several threads at once: the listing is only read.
    HANDLE Create(const std::wstring& name, std::wstring& path) const;

private:
    struct Existing {
        std::wstring name;
        DWORD attributes;
    };
    std::wstring m_dir;
    std::unordered_map<std::wstring, Existing> m_existing; // by upper-case name
};

} // namespace plinth
