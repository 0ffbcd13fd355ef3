#pragma once
#include <windows.h>

#include "ZipReader.h"

// The package as the run checks it before any program of the line is ended,
// so that a package that cannot be installed stops nothing. The package is
// held open, without write or delete sharing, for the checker's life: what
// was checked is what the library unpacks.
namespace engine {

enum PackageVerdict {
    PACKAGE_OK,
    PACKAGE_REFUSED,        // unreadable, or refused by the package reader
    PACKAGE_PATH_TOO_LONG,  // a staged or installed path would pass the path limit
};

class CPackageCheck {
public:
    CPackageCheck() = default;
    ~CPackageCheck();
    CPackageCheck(const CPackageCheck&) = delete;
    CPackageCheck& operator=(const CPackageCheck&) = delete;

    // Reads the package's directory and checks every entry as the unpack
    // will (names, device names among them, methods, headers), and that each
    // entry's staged path fits the path limit with the cleanup's doubled
    // separator, and the run's 500-byte buffers.
    PackageVerdict CheckEntries(const char* pszUpdateDir, const char* pszPackagePath);

    // After CheckEntries, with the staging directory ready: writes the
    // package's configuration file into it and checks that the destination
    // of each file it lists fits the path limit. A package without a
    // configuration passes here; the run refuses it after the unpack.
    PackageVerdict CheckDestinations(const char* pszUpdateDir);

    // The longest path, in characters, that the platform's ANSI file calls take.
    static constexpr size_t MAX_PATH_CHARS = MAX_PATH - 1;

private:
    HANDLE m_hPackage = INVALID_HANDLE_VALUE;
    plinth::ZipReader m_reader;
};

} // namespace engine
