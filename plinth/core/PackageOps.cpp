#include "PackageOps.h"

#include "PackageCodes.h"
#include "EntryWriters.h"
#include "FileSource.h"
#include "TargetDirectory.h"
#include "ZipReader.h"
#include "ZipTimes.h"
#include "ZipWriter.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <vector>

namespace plinth {

const char* PackageCodeText(int code)
{
    switch (code) {
    case kPkgCannotOpen: return "the package cannot be opened";
    case kPkgNotZip: return "the package is not a ZIP archive, or its directory is damaged";
    case kPkgUnsafeName: return "an entry name that the flat package format forbids";
    case kPkgDuplicateName: return "two entries of the same name";
    case kPkgUnsupportedMethod: return "an unsupported compression method";
    case kPkgEncrypted: return "an encrypted entry";
    case kPkgNoSpace: return "not enough free space in the target";
    case kPkgCrcMismatch: return "CRC-32 mismatch";
    case kPkgSizeMismatch: return "size mismatch";
    case kPkgWriteError: return "the target cannot be written";
    case kPkgBadArgument: return "a null or empty argument";
    case kPkgReadError: return "the package cannot be read";
    case kPkgDamagedData: return "damaged compressed data";
    case kPkgNoSourceDir: return "the source folder cannot be listed";
    case kPkgSourceReadError: return "a source file cannot be read";
    case kPkgNoMemory: return "not enough memory";
    default: return code >= 0 ? "success" : "unknown failure";
    }
}

namespace {

// Threads that create and write the unpacked files.
constexpr int kWriterThreads = 3;

std::wstring StripTrailingSeparators(std::wstring path)
{
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) {
        if (path.size() == 3 && path[1] == L':')
            break; // keep "D:\"
        path.pop_back();
    }
    return path;
}

bool IsDirectory(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Free bytes for the caller on the volume of the path's nearest existing
// directory; false when none can be asked.
bool FreeSpaceFor(std::wstring dir, ULONGLONG& avail)
{
    for (int i = 0; i < 64 && !dir.empty(); ++i) {
        if (IsDirectory(dir)) {
            std::wstring q = dir;
            if (q.back() != L'\\')
                q += L'\\';
            ULARGE_INTEGER a, total, freeBytes;
            if (!GetDiskFreeSpaceExW(q.c_str(), &a, &total, &freeBytes))
                return false;
            avail = a.QuadPart;
            return true;
        }
        std::size_t cut = dir.find_last_of(L"\\/");
        if (cut == std::wstring::npos)
            return false;
        dir = StripTrailingSeparators(dir.substr(0, cut + 1));
    }
    return false;
}

// A package being written, removed unless it was finished: after a failure
// and when something is thrown.
struct PartialPackage {
    ZipWriter& writer;
    const std::wstring& path;
    bool keep = false;
    ~PartialPackage()
    {
        if (!keep) {
            writer.Abort();
            DeleteFileW(path.c_str());
        }
    }
};

// The full path, in a buffer of a fixed size; false when it does not fit.
bool FullPathOf(const std::wstring& path, std::wstring& full)
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buffer, nullptr);
    if (n == 0 || n >= MAX_PATH * 2)
        return false;
    full.assign(buffer, n);
    return true;
}

std::wstring Join(const std::wstring& dir, const std::wstring& name)
{
    if (!dir.empty() && (dir.back() == L'\\' || dir.back() == L'/'))
        return dir + name;
    return dir + L"\\" + name;
}

} // namespace

int UnpackPackage(const char* package, const char* target, std::atomic<int>& percent)
{
    if (!package || !target || !*package || !*target)
        return kPkgBadArgument;
    std::wstring pkg, dir;
    if (!FromAnsi(package, pkg) || !FromAnsi(target, dir))
        return kPkgBadArgument;
    dir = StripTrailingSeparators(dir);
    percent.store(0);

    ZipReader reader;
    int rc = reader.Open(OpenFileSource(pkg));
    if (rc != 0)
        return rc;
    rc = reader.Check();
    if (rc != 0)
        return rc;
    const std::vector<ZipEntry>& entries = reader.Entries();
    const std::uint64_t total = reader.TotalSize();
    // A sum that overflows exceeds any volume.
    ULONGLONG avail = 0;
    if (total == std::numeric_limits<std::uint64_t>::max() || (FreeSpaceFor(dir, avail) && total > avail))
        return kPkgNoSpace;
    if (entries.empty()) {
        percent.store(100);
        return 0;
    }

    // Everything checked: from here on files are written, into dir only.
    if (!IsDirectory(dir) && !CreateDirectoryW(dir.c_str(), nullptr) && !IsDirectory(dir))
        return kPkgWriteError;

    TargetDirectory files;
    if (!files.Open(dir))
        return kPkgWriteError;
    EntryWriters writers(files, kWriterThreads, total, percent);
    for (const ZipEntry& e : entries) {
        writers.Begin(e.name);
        rc = reader.Extract(e, [&](const unsigned char* data, std::size_t size) { return writers.Write(data, size); });
        writers.End(rc == 0, EntryTime(e));
        if (rc != 0)
            break;
    }
    int written = writers.Finish();
    if (written < 0)
        return kPkgWriteError;
    if (rc != 0)
        return rc;
    percent.store(100);
    return written;
}

int PackFolder(const char* folder, const char* package, int level, std::atomic<int>& percent)
{
    if (!folder || !package || !*folder || !*package)
        return kPkgBadArgument;
    std::wstring dir, pkg;
    if (!FromAnsi(folder, dir) || !FromAnsi(package, pkg))
        return kPkgBadArgument;
    dir = StripTrailingSeparators(dir);
    percent.store(0);
    if (!IsDirectory(dir))
        return kPkgNoSourceDir;

    std::wstring pkgFull, full;
    if (!FullPathOf(pkg, pkgFull))
        return kPkgWriteError;
    pkgFull = NameKey(pkgFull);

    struct Source {
        std::wstring name;
        std::uint64_t size;
    };
    std::vector<Source> files;
    std::unordered_set<std::wstring> keys;
    std::uint64_t total = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(Join(dir, L"*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : kPkgNoSourceDir;
    int problem = 0;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!FullPathOf(Join(dir, fd.cFileName), full)) {
            problem = problem ? problem : kPkgSourceReadError;
            continue;
        }
        if (NameKey(full) == pkgFull)
            continue; // the package being written
        if (CheckEntryName(fd.cFileName) != NameProblem::NameOk)
            problem = problem ? problem : kPkgUnsafeName;
        else if (!keys.insert(NameKey(fd.cFileName)).second)
            problem = problem ? problem : kPkgDuplicateName;
        std::uint64_t size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        files.push_back(Source{fd.cFileName, size});
        total += size;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    if (problem)
        return problem;
    std::sort(files.begin(), files.end(), [](const Source& a, const Source& b) { return a.name < b.name; });

    ZipWriter writer;
    writer.SetLevel(level);
    if (!writer.Create(pkg))
        return kPkgWriteError;
    PartialPackage partial{writer, pkg};
    std::uint64_t done = 0;
    for (const Source& f : files) {
        int rc = writer.AddFile(Join(dir, f.name), f.name, [&](std::uint64_t read) {
            std::uint64_t now = done + std::min(read, f.size);
            int p = total ? static_cast<int>(now * 100 / total) : 0;
            percent.store(std::max(percent.load(), std::min(p, 99)));
        });
        if (rc != 0)
            return rc;
        done += f.size;
    }
    if (!writer.Finish())
        return kPkgWriteError;
    partial.keep = true;
    percent.store(100);
    return static_cast<int>(files.size());
}

} // namespace plinth
