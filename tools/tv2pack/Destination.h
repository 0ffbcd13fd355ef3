#pragma once
#include <string>
#include <vector>

// What the update tool can install: rules for a file's name as a key of the
// package configuration and for its destination path. Both create and verify
// apply them, so a package that tv2pack makes always verifies.
namespace destination {

constexpr std::size_t kMaxPath = 489;       // the tool reads destinations 490 bytes long
constexpr std::size_t kMaxDirectory = 299;  // directory string, trailing backslash included
constexpr std::size_t kMaxLevelName = 39;   // one directory level (40-byte buffer)
constexpr int kMaxLevels = 9;               // levels below the drive that the tool creates

// Problems of a file name as a configuration key (empty when none).
std::vector<std::wstring> NameProblems(const std::wstring& name);

// Problems of a destination (GBK bytes) for the file name (GBK bytes).
std::vector<std::wstring> PathProblems(const std::string& name, const std::string& path);

// GBK bytes of a text; false when a character has no GBK form.
bool ToGbk(const std::wstring& text, std::string& out);
std::wstring FromGbk(const std::string& text);

} // namespace destination
