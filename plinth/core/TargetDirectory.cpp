#include "TargetDirectory.h"

#include "ZipNames.h"

#include <winternl.h>

namespace plinth {

namespace {

// Creates the file at an absolute DOS path with the native call, whose lookup
// is by exact name when OBJ_CASE_INSENSITIVE is left out. A name that the
// listing did not hold is created as new, which spares truncating it; should
// it have appeared since, it is replaced all the same.
HANDLE CreateExact(const std::wstring& path, bool listed)
{
    std::wstring nt;
    if (path.size() > 2 && path[1] == L':')
        nt = L"\\??\\" + path;
    else if (path.compare(0, 2, L"\\\\") == 0 && path.compare(0, 4, L"\\\\?\\") != 0 &&
             path.compare(0, 4, L"\\\\.\\") != 0)
        nt = L"\\??\\UNC\\" + path.substr(2);
    else
        return INVALID_HANDLE_VALUE;
    UNICODE_STRING name;
    name.Buffer = &nt[0];
    name.Length = static_cast<USHORT>(nt.size() * sizeof(wchar_t));
    name.MaximumLength = name.Length;
    OBJECT_ATTRIBUTES attr = {};
    attr.Length = sizeof attr;
    attr.ObjectName = &name;
    IO_STATUS_BLOCK io = {};
    HANDLE h = nullptr;
    auto create = [&](ULONG disposition) {
        return NtCreateFile(&h, GENERIC_WRITE | SYNCHRONIZE | FILE_WRITE_ATTRIBUTES, &attr, &io, nullptr,
                            FILE_ATTRIBUTE_NORMAL, 0, disposition,
                            FILE_SYNCHRONOUS_IO_NONALERT | FILE_NON_DIRECTORY_FILE, nullptr, 0);
    };
    NTSTATUS status = create(listed ? FILE_OVERWRITE_IF : FILE_CREATE);
    if (status == static_cast<NTSTATUS>(0xC0000035)) // STATUS_OBJECT_NAME_COLLISION
        status = create(FILE_OVERWRITE_IF);
    return status >= 0 ? h : INVALID_HANDLE_VALUE;
}

} // namespace

bool TargetDirectory::Open(const std::wstring& dir)
{
    wchar_t full[MAX_PATH * 4];
    DWORD n = GetFullPathNameW(dir.c_str(), MAX_PATH * 4, full, nullptr);
    m_dir = n > 0 && n < MAX_PATH * 4 ? std::wstring(full, n) : dir;
    while (m_dir.size() > 3 && (m_dir.back() == L'\\' || m_dir.back() == L'/'))
        m_dir.pop_back();
    m_existing.clear();
    WIN32_FIND_DATAW fd;
    std::wstring pattern = m_dir + (m_dir.back() == L'\\' ? L"*" : L"\\*");
    HANDLE find = FindFirstFileW(pattern.c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        m_existing[NameKey(fd.cFileName)] = Existing{fd.cFileName, fd.dwFileAttributes};
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return true;
}

HANDLE TargetDirectory::Create(const std::wstring& name, std::wstring& path) const
{
    std::wstring actual = name;
    auto it = m_existing.find(NameKey(name));
    const bool listed = it != m_existing.end();
    if (listed) {
        actual = it->second.name;
        DWORD attr = it->second.attributes;
        path = m_dir + L"\\" + actual;
        if (attr & FILE_ATTRIBUTE_DIRECTORY)
            return INVALID_HANDLE_VALUE;
        if (attr & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesW(path.c_str(), attr & ~FILE_ATTRIBUTE_READONLY);
    }
    path = m_dir + L"\\" + actual;
    HANDLE h = CreateExact(path, listed);
    if (h == INVALID_HANDLE_VALUE) // a path form that the native call does not take
        h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    return h;
}

} // namespace plinth
