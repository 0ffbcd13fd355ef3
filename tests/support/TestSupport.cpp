#include "TestSupport.h"

#include <windows.h>

#include <fstream>
#include <functional>
#include <vector>
#include <sstream>

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool WriteBytes(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out.flush());
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((path + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveDirectoryA(child.c_str());  // a link goes, not what it points to
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryA(path.c_str());
}

void MakeDirectories(const std::string& path)
{
    for (size_t pos = path.find('\\', 3);; pos = path.find('\\', pos + 1)) {
        CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
        if (pos == std::string::npos)
            break;
    }
}

std::string ProgramDirectory()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program = path;
    return program.substr(0, program.rfind('\\'));
}

std::string SystemLibraryPath()
{
    char directory[MAX_PATH] = {};
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\plinth.dll";
}

namespace {
bool IsLinkThere(const std::string& link)
{
    const DWORD dwAttributes = GetFileAttributesA(link.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Under Wine, runs a program of the host (its Windows path, and its command
// line up to the paths) on paths given as Windows paths, and waits up to 10 s
// for done() (Wine's handle of a host program is signalled at once); false
// elsewhere, or when it cannot be started or done() never holds.
bool RunHostCommand(const char* pszProgram, const char* pszCommand, const std::vector<std::string>& paths,
                    const std::function<bool()>& done)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return false;
    std::string commandLine = pszCommand;
    for (const std::string& path : paths) {
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        char* name = unixName(wide);
        commandLine += std::string(" \"") + (name ? name : "") + "\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(pszProgram, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int nWait = 0; nWait < 500; ++nWait) {
        if (done())
            return true;
        Sleep(20);
    }
    return false;
}
} // namespace

bool MakeDirectoryLink(const std::string& link, const std::string& target)
{
    // Windows Vista and later, and Wine where it implements the call.
    using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    const auto createLink = reinterpret_cast<CreateLink>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    const DWORD SYMBOLIC_LINK_DIRECTORY = 0x1, SYMBOLIC_LINK_UNPRIVILEGED = 0x2;
    // Wine 8's call is a stub that answers TRUE and makes nothing; there the
    // host's ln makes a link of the host, which Wine shows as one.
    if (createLink && createLink(link.c_str(), target.c_str(), SYMBOLIC_LINK_DIRECTORY | SYMBOLIC_LINK_UNPRIVILEGED)
        && IsLinkThere(link))
        return true;
    return RunHostCommand("Z:\\bin\\ln", "/bin/ln -s", {target, link}, [&] { return IsLinkThere(link); });
}

bool RemoveDirectoryLink(const std::string& link)
{
    // Windows removes the link itself; Wine 8 refuses a host link to a folder.
    if (!IsLinkThere(link) || RemoveDirectoryA(link.c_str()))
        return true;
    return RunHostCommand("Z:\\bin\\rm", "/bin/rm", {link},
                          [&] { return GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
}
