#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

// Files, directories and packages for the engine's tests.

DWORD Attributes(const std::string& path);
// A fresh, empty directory D:\engine-tests\<name>.
std::string FreshTestDirectory(const std::string& name);

// Starts a copy of engine_sleeper.exe under the image name in the directory,
// standing in for one of the suite's programs; nullptr when it did not start.
HANDLE StartSleeperAs(const std::string& directory, const std::string& image);

// The local time 2020-06-15 12:00:00 as a file time: staged files get it
// from their package entries, so installed files given the same time have the
// same date part in their version text.
FILETIME PackageFileTime();
void SetWriteTime(const std::string& path, const FILETIME& ft);

// A ZIP archive with stored (uncompressed) entries, all dated PackageFileTime().
class StoredZip {
public:
    void Add(const std::string& name, const std::string& data) { m_entries.emplace_back(name, data); }
    void Write(const std::string& path) const;

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};

// The text of a TAVIBK.cfg: [FILEPATH] with PACKNAME, CNT and one key per
// destination, [FILEVERSION] with CREATETIME and VERSION.
std::string ConfigText(const std::vector<std::pair<std::string, std::string>>& destinations,
                       const std::string& packName, int count);
