#pragma once
#include <atomic>
#include <string>

// The package operations behind UnCompressFile and CompressFile(Ex).
namespace plinth {

// Unpacks the package into the target directory (both ANSI paths). Checks
// the whole package first and writes nothing when the check fails. Publishes
// its progress in whole percent of the uncompressed bytes into percent (0 at
// the start, 100 only after success). Answers the number of files written,
// 0 for a package without entries, or a negative code of PackageCodes.h.
int UnpackPackage(const char* package, const char* target, std::atomic<int>& percent);

// Packs the top-level files of a folder into a package (ANSI paths), with
// progress in percent of the source bytes read. Answers the number of files
// packed or a negative code.
int PackFolder(const char* folder, const char* package, int level, std::atomic<int>& percent);

} // namespace plinth
