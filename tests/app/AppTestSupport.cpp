#include "AppTestSupport.h"

#include <vector>

#include "AppProcess.h"

const char kScratch[] = "D:\\apptest";

void WriteFileText(const std::string& path, const std::string& text)
{
    MakeDirectories(path.substr(0, path.rfind('\\')));
    WriteBytes(path, text);
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
