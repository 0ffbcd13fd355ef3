// Processes, programs and services.
#include "Exports.h"
#include "Guard.h"

#include <tlhelp32.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The file-name part of an image name or path.
const char* BaseName(const char* path)
{
    const char* base = path;
    for (const char* p = path; *p; p = plinth::NextChar(p))
        if (*p == '\\' || *p == '/')
            base = p + 1;
    return base;
}

struct ProcessInfo {
    DWORD pid;
    std::string image;
};

std::vector<ProcessInfo> Processes()
{
    std::vector<ProcessInfo> list;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return list;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        list.push_back(ProcessInfo{pe.th32ProcessID, BaseName(pe.szExeFile)});
    CloseHandle(snap);
    return list;
}

} // namespace

int plinth::entry::KillProcess(const char* pszImage)
try {
    if (!pszImage || !*pszImage)
        return -1;
    const char* wanted = BaseName(pszImage);
    DWORD self = GetCurrentProcessId();
    int ended = 0;
    for (const ProcessInfo& p : Processes()) {
        if (p.pid == self || p.pid == 0 || lstrcmpiA(p.image.c_str(), wanted) != 0)
            continue;
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, p.pid);
        if (!h)
            continue;
        if (TerminateProcess(h, 1)) {
            WaitForSingleObject(h, 3000);
            ++ended;
        }
        CloseHandle(h);
    }
    return ended;
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::FindProcess(const char* pszImage)
try {
    if (!pszImage || !*pszImage)
        return -1;
    const char* wanted = BaseName(pszImage);
    int count = 0;
    for (const ProcessInfo& p : Processes())
        if (lstrcmpiA(p.image.c_str(), wanted) == 0)
            ++count;
    return count;
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::GetProcess(char* pszOut)
try {
    if (!pszOut)
        return -1;
    std::string list;
    std::vector<ProcessInfo> all = Processes();
    for (const ProcessInfo& p : all) {
        std::string next = list.empty() ? p.image : list + "," + p.image;
        if (next.size() >= static_cast<std::size_t>(PLINTH_TEXT_OUT))
            break;
        list = next;
    }
    plinth::CopyOut(pszOut, PLINTH_TEXT_OUT, list.c_str());
    return static_cast<int>(all.size());
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::GetCurProcess(char* pszOut)
{
    if (!pszOut)
        return -1;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    plinth::CopyOut(pszOut, PLINTH_TEXT_OUT, BaseName(path));
    return static_cast<int>(GetCurrentProcessId());
}

int plinth::entry::WinExecEx(const char* pszCommandLine, int nShow)
try {
    if (!pszCommandLine || !*pszCommandLine)
        return -1;
    std::vector<char> cmd(pszCommandLine, pszCommandLine + std::strlen(pszCommandLine) + 1);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(nShow);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -2;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(pi.dwProcessId);
} catch (...) {
    return plinth::Caught(__func__, -2);
}

namespace {

// Opens a service; answers null when there is no such service or no manager.
SC_HANDLE OpenNamedService(const char* name, DWORD access, SC_HANDLE& manager)
{
    manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return nullptr;
    SC_HANDLE service = OpenServiceA(manager, name, access);
    if (!service) {
        CloseServiceHandle(manager);
        manager = nullptr;
    }
    return service;
}

} // namespace

int plinth::entry::GetServicesState(const char* pszService)
{
    if (!pszService || !*pszService)
        return -1;
    SC_HANDLE manager;
    SC_HANDLE service = OpenNamedService(pszService, SERVICE_QUERY_STATUS, manager);
    if (!service)
        return -2;
    SERVICE_STATUS status = {};
    int answer = QueryServiceStatus(service, &status) ? static_cast<int>(status.dwCurrentState) : -3;
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return answer;
}

int plinth::entry::Stop_Services(const char* pszService)
{
    if (!pszService || !*pszService)
        return -1;
    SC_HANDLE manager;
    SC_HANDLE service = OpenNamedService(pszService, SERVICE_STOP | SERVICE_QUERY_STATUS, manager);
    if (!service)
        return -2;
    SERVICE_STATUS status = {};
    int answer = ControlService(service, SERVICE_CONTROL_STOP, &status) ? 1 : -3;
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return answer;
}

int plinth::entry::Open_Services(const char* pszService)
{
    if (!pszService || !*pszService)
        return -1;
    SC_HANDLE manager;
    SC_HANDLE service = OpenNamedService(pszService, SERVICE_START, manager);
    if (!service)
        return -2;
    int answer = StartServiceA(service, 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING ? 1 : -3;
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return answer;
}
