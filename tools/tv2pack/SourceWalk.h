#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The files below a source folder, for tv2pack create. Junctions and
// symbolic links are followed, except one that leads back into a folder
// above it: the walk would go round in circles, so that is a problem.
struct SourceFile {
    std::wstring relative; // below the source folder, with backslashes
    std::wstring name;
    std::uint64_t size = 0;
    FILETIME time = {};
};

class SourceWalk {
public:
    explicit SourceWalk(const std::wstring& root) : m_root(root) {}

    // Walks the folder below the root (the root itself by default). False,
    // with the problem told, when a folder cannot be listed or a link leads
    // round in a circle.
    bool Collect(const std::wstring& relative = std::wstring());

    std::vector<SourceFile>& Files() { return m_files; }
    const std::wstring& Problem() const { return m_problem; }

private:
    // A folder's identity on its volume, the same by every path that leads to it.
    struct FolderId {
        DWORD volume = 0, indexHigh = 0, indexLow = 0;
        bool operator==(const FolderId& o) const
        {
            return volume == o.volume && indexHigh == o.indexHigh && indexLow == o.indexLow;
        }
    };
    static bool IdentityOf(const std::wstring& folder, FolderId& id);
    std::wstring PathOf(const std::wstring& relative) const;
    bool Fail(const std::wstring& problem);

    std::wstring m_root;
    std::vector<SourceFile> m_files;
    std::vector<std::pair<FolderId, std::wstring>> m_above; // the folders being walked, root first
    std::wstring m_problem;
};
