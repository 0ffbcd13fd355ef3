#include "AppTestSupport.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "AppProcess.h"

const char kScratch[] = "D:\\apptest";

void MakeDirectories(const std::string& path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        ::CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    ::CreateDirectoryA(path.c_str(), nullptr);
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA fd;
    HANDLE hFind = ::FindFirstFileA((path + "\\*").c_str(), &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(path.c_str());
}

void WriteFileText(const std::string& path, const std::string& text)
{
    MakeDirectories(path.substr(0, path.rfind('\\')));
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::string& path)
{
    const DWORD dwAttributes = ::GetFileAttributesA(path.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD dwAttributes = ::GetFileAttributesA(path.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD BuildPackage(const std::string& package, const std::string& destRoot, const std::string& sourceDir,
                   const std::string& name)
{
    std::string commandLine = "\"" + BinDirectory() + "tv2pack.exe\" create \"" + package + "\" --root \"" +
                              destRoot + "\" \"" + sourceDir + "\" --name \"" + name + "\" --version 1.0";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                          &pi))
        return ~0u;
    ::WaitForSingleObject(pi.hProcess, 120000);
    DWORD dwCode = ~0u;
    ::GetExitCodeProcess(pi.hProcess, &dwCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return dwCode;
}

std::string SystemLibraryPath()
{
    char szDir[MAX_PATH] = "";
    ::GetSystemDirectoryA(szDir, MAX_PATH);
    return std::string(szDir) + "\\plinth.dll";
}

bool InstallSystemLibrary()
{
    return ::CopyFileA((BinDirectory() + "Plinth.dll").c_str(), SystemLibraryPath().c_str(), FALSE) != FALSE;
}

bool RemoveSystemLibrary()
{
    return ::DeleteFileA(SystemLibraryPath().c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::string WindowText(HWND hWnd)
{
    char szText[8192] = "";
    DWORD_PTR dwResult = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG,
                          2000, &dwResult);
    return szText;
}

std::string DlgItemText(HWND hDlg, int nID)
{
    return WindowText(::GetDlgItem(hDlg, nID));
}

bool WaitUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - dwStart >= dwTimeoutMs)
            return false;
        ::Sleep(10);
    }
}
