#pragma once

// Answers of UnCompressFile (and of the package reader behind it), and of
// CompressFile / CompressFileEx. plinth/README.md lists them for integrators.
namespace plinth {

constexpr int kPkgCannotOpen = -1;       // the package file cannot be opened
constexpr int kPkgNotZip = -2;           // no end record, or a damaged central directory or local header
constexpr int kPkgUnsafeName = -3;       // an entry name that the flat format forbids
constexpr int kPkgDuplicateName = -4;    // two entries of the same name (letter case ignored)
constexpr int kPkgUnsupportedMethod = -5; // a compression method other than stored (0) or deflated (8)
constexpr int kPkgEncrypted = -6;        // an encrypted entry
constexpr int kPkgNoSpace = -7;          // the target's volume has less free space than the package unpacks to
constexpr int kPkgCrcMismatch = -8;      // an entry's data does not match its CRC-32
constexpr int kPkgSizeMismatch = -9;     // an entry's data is shorter or longer than its recorded size
constexpr int kPkgWriteError = -10;      // the target (or a file in it) cannot be created or written
constexpr int kPkgBadArgument = -11;     // a null or empty argument
constexpr int kPkgReadError = -12;       // reading the package failed in the middle
constexpr int kPkgDamagedData = -13;     // the deflated data of an entry is damaged

// Only for CompressFile / CompressFileEx.
constexpr int kPkgNoSourceDir = -14;     // the source folder does not exist or cannot be listed
constexpr int kPkgSourceReadError = -15; // a source file cannot be opened or read

constexpr int kPkgNoMemory = -16;        // memory (or a thread) ran out in the middle

const char* PackageCodeText(int code);

} // namespace plinth
