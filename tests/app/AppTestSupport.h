#pragma once
#include <windows.h>
#include <functional>
#include <string>

#include "TestSupport.h"

// Files, packages, the system library and window contents, for the tests
// that run TAVIUpdata.exe as a real process.

// The tests' own corner of drive D:.
extern const char kScratch[];  // "D:\\apptest"

// Writes the text over the file, creating its directory first.
void WriteFileText(const std::string& path, const std::string& text);

// tv2pack.exe create: every file under sourceDir goes below destRoot.
// Answers the tool's exit status.
DWORD BuildPackage(const std::string& package, const std::string& destRoot, const std::string& sourceDir,
                   const std::string& name);

// Copies the build's Plinth.dll to SystemLibraryPath().
bool InstallSystemLibrary();
bool RemoveSystemLibrary();

// The text of a window of another process.
std::string WindowText(HWND hWnd);
std::string DlgItemText(HWND hDlg, int nID);

// Polls the condition every 10 ms; true once it holds within the time.
bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs);
