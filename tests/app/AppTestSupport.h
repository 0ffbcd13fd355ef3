#pragma once
#include <windows.h>
#include <functional>
#include <string>

// Files, packages, the system library and window contents, for the tests
// that run TAVIUpdata.exe as a real process.

// The tests' own corner of drive D:.
extern const char kScratch[];  // "D:\\apptest"

void MakeDirectories(const std::string& path);
void RemoveTree(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// tv2pack.exe create: every file under sourceDir goes below destRoot.
// Answers the tool's exit status.
DWORD BuildPackage(const std::string& package, const std::string& destRoot, const std::string& sourceDir,
                   const std::string& name);

// The system directory's plinth.dll, where the tool loads it from.
std::string SystemLibraryPath();
// Copies the build's Plinth.dll there.
bool InstallSystemLibrary();
bool RemoveSystemLibrary();

// The text of a window of another process.
std::string WindowText(HWND hWnd);
std::string DlgItemText(HWND hDlg, int nID);

// Polls the condition every 10 ms; true once it holds within the time.
bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs);
