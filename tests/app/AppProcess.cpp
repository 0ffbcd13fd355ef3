#include "AppProcess.h"

#include <vector>

namespace {

const char kMainTitle[] = "TAVI升级工具";

struct WindowSearch {
    DWORD dwProcessId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD dwOwner = 0;
    ::GetWindowThreadProcessId(hWnd, &dwOwner);
    if (dwOwner == pSearch->dwProcessId)
        pSearch->found.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindowsOf(DWORD dwProcessId)
{
    WindowSearch search{dwProcessId, {}};
    ::EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowTitle(HWND hWnd)
{
    char szTitle[256] = "";
    ::GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    return szTitle;
}

std::string ClassName(HWND hWnd)
{
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    return szClass;
}

} // namespace

std::string BinDirectory()
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string path(szPath);
    return path.substr(0, path.rfind('\\') + 1);
}

AppProcess::AppProcess(const std::string& arguments, const std::string& program)
{
    std::string commandLine = "\"" + (program.empty() ? BinDirectory() + "TAVIUpdata.exe" : program) + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        m_pi = {};
}

AppProcess::~AppProcess()
{
    if (!m_pi.hProcess)
        return;
    Kill();
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

void AppProcess::Kill() const
{
    if (!IsRunning())
        return;
    ::TerminateProcess(m_pi.hProcess, 1);
    ::WaitForSingleObject(m_pi.hProcess, 5000);
}

bool AppProcess::IsRunning() const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool AppProcess::WaitForExit(DWORD dwTimeoutMs) const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, dwTimeoutMs) == WAIT_OBJECT_0;
}

DWORD AppProcess::ExitCode() const
{
    DWORD dwCode = STILL_ACTIVE;
    if (m_pi.hProcess)
        ::GetExitCodeProcess(m_pi.hProcess, &dwCode);
    return dwCode;
}

HWND AppProcess::MainWindow() const
{
    for (HWND hWnd : TopLevelWindowsOf(m_pi.dwProcessId))
        if (WindowTitle(hWnd) == kMainTitle && ClassName(hWnd) == "#32770")
            return hWnd;
    return nullptr;
}

HWND AppProcess::WaitForMainWindow(DWORD dwTimeoutMs) const
{
    const DWORD dwStart = ::GetTickCount();
    do {
        HWND hWnd = MainWindow();
        if (hWnd && ::IsWindowVisible(hWnd))
            return hWnd;
        ::Sleep(20);
    } while (::GetTickCount() - dwStart < dwTimeoutMs && IsRunning());
    return nullptr;
}

HWND AppProcess::FindOtherDialog(const char* pszTitle) const
{
    HWND hMain = MainWindow();
    for (HWND hWnd : TopLevelWindowsOf(m_pi.dwProcessId)) {
        if (hWnd == hMain || !::IsWindowVisible(hWnd) || ClassName(hWnd) != "#32770")
            continue;
        if (!pszTitle || WindowTitle(hWnd) == pszTitle)
            return hWnd;
    }
    return nullptr;
}
