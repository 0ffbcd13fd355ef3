#pragma once
#include <string>

// Files and places that the tests of several subsystems share.

std::string ReadBytes(const std::string& path);
// Writes the bytes over the file; answers whether all of them were written.
bool WriteBytes(const std::string& path, const std::string& data);
bool FileExists(const std::string& path);       // a file, not a directory
bool DirectoryExists(const std::string& path);
// Removes a directory with everything in it, read-only files too.
void RemoveTree(const std::string& path);
// Creates every missing level of a directory path below its drive.
void MakeDirectories(const std::string& path);
// Makes link a symbolic link to the directory target; true when the link is
// there and shows as one (a reparse point).
bool MakeDirectoryLink(const std::string& link, const std::string& target);
// Removes such a link without touching what it leads to.
bool RemoveDirectoryLink(const std::string& link);

// The directory of the test program (the build's bin/).
std::string ProgramDirectory();
// The system directory's plinth.dll, where the tool loads the library from.
std::string SystemLibraryPath();
