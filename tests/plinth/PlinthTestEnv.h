#pragma once
#include <windows.h>

#include <string>

#include "TestSupport.h"

// Shared by the tests of Plinth.dll: the project's library is installed into
// the system directory and loaded through the facade for the whole program.
namespace plinthtest {

// The shared file helpers, under the names these tests use.
using ::FileExists;
using ::ProgramDirectory;
using ::RemoveTree;
inline bool WriteFileBytes(const std::string& path, const std::string& bytes) { return WriteBytes(path, bytes); }
inline std::string ReadFileBytes(const std::string& path) { return ReadBytes(path); }

// A fresh, empty directory under the temporary directory, removed with its
// files (read-only ones too) and subdirectories when the object goes.
class TempDir {
public:
    explicit TempDir(const char* tag);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Number of entries (files and directories) in a directory, "." and ".." aside.
int CountEntries(const std::string& dir);

// Runs a program of the bin directory with arguments; answers its exit code
// and captures its standard output and error together.
int RunProgram(const std::string& commandLine, std::string* output = nullptr);

} // namespace plinthtest
