#include "SourceWalk.h"

bool SourceWalk::Collect(const std::wstring& relative)
{
    const std::wstring folder = PathOf(relative);
    FolderId id;
    if (!IdentityOf(folder, id))
        return Fail(folder + L": the folder cannot be opened");
    for (const auto& above : m_above) {
        if (above.first == id)
            return Fail(folder + L" leads back to " + PathOf(above.second) + L" (a junction or link in a circle)");
    }
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(PathOf(relative.empty() ? L"*" : relative + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND || Fail(folder + L": the folder cannot be listed");
    m_above.emplace_back(id, relative);
    bool ok = true;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring rel = relative.empty() ? name : relative + L"\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ok = Collect(rel);
        } else {
            SourceFile f;
            f.relative = rel;
            f.name = name;
            f.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
            f.time = fd.ftLastWriteTime;
            m_files.push_back(f);
        }
    } while (ok && FindNextFileW(find, &fd));
    FindClose(find);
    m_above.pop_back();
    return ok;
}

bool SourceWalk::IdentityOf(const std::wstring& folder, FolderId& id)
{
    HANDLE h = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (ok)
        id = FolderId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return ok;
}

std::wstring SourceWalk::PathOf(const std::wstring& relative) const
{
    if (relative.empty())
        return m_root;
    return m_root + (m_root.back() == L'\\' ? L"" : L"\\") + relative;
}

bool SourceWalk::Fail(const std::wstring& problem)
{
    m_problem = problem;
    return false;
}
