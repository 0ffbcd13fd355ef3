// tv2pack: builds, lists and verifies the update packages of the TAVI update
// tool.
//
//   tv2pack create OUT.tv2bck --root DEST_ROOT SRC_DIR [--name NAME] [--version VERSION] [--key NAME.key]
//   tv2pack list PKG
//   tv2pack verify PKG
//   tv2pack keygen NAME [--out FOLDER]
//   tv2pack sign PKG --key NAME.key
//
// Exit status 0 only on success.
#include "Console.h"
#include "Destination.h"
#include "FileSource.h"
#include "PackageCodes.h"
#include "PlinthCheck.h"
#include "SignCommands.h"
#include "SourceWalk.h"
#include "VersionText.h"
#include "ZipNames.h"
#include "ZipReader.h"
#include "ZipWriter.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t kConfigName[] = L"TAVIBK.cfg";
constexpr std::uint64_t kProgressThreshold = 32ull << 20; // show progress above 32 MB

void Say(const std::wstring& text)
{
    console::Out(text + L"\n");
}

void Complain(const std::wstring& text)
{
    console::Err(L"tv2pack: " + text + L"\n");
}

int Usage()
{
    console::Err(L"usage:\n"
                 L"  tv2pack create OUT.tv2bck --root DEST_ROOT SRC_DIR [--name NAME] [--version VERSION]"
                 L" [--key NAME.key]\n"
                 L"  tv2pack list PKG\n"
                 L"  tv2pack verify PKG\n"
                 L"  tv2pack keygen NAME [--out FOLDER]\n"
                 L"  tv2pack sign PKG --key NAME.key\n");
    return 2;
}

std::wstring CodeText(int code)
{
    return plinth::DecodeText(plinth::PackageCodeText(code), CP_UTF8);
}

std::string TimeText(const FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute, st.wSecond);
    return text;
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t buffer[32768];
    DWORD n = GetFullPathNameW(path.c_str(), 32768, buffer, nullptr);
    return n > 0 && n < 32768 ? std::wstring(buffer, n) : path;
}

std::wstring Join(const std::wstring& a, const std::wstring& b)
{
    if (a.empty())
        return b;
    if (a.back() == L'\\' || a.back() == L'/')
        return a + b;
    return a + L"\\" + b;
}

// A temporary file beside path, removed when the object goes.
class TempFile {
public:
    explicit TempFile(const std::wstring& path) : m_path(path) {}
    ~TempFile() { DeleteFileW(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// Why the update tool would not install the file as the system library
// (Plinth.dll, in any case), or an empty text.
std::wstring SystemLibraryProblem(const std::wstring& name, const std::wstring& file)
{
    if (plinth::NameKey(name) != L"PLINTH.DLL")
        return std::wstring();
    const std::string why = WhyPlinthLibraryFails(file.c_str());
    return why.empty() ? std::wstring()
                       : L"the update tool would not install this system library: " + plinth::DecodeText(why, CP_UTF8);
}

bool WriteAll(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    return CloseHandle(h) && ok && n == bytes.size();
}

// Progress on standard error, in steps of 5 %, for large packages.
class ProgressLine {
public:
    explicit ProgressLine(std::uint64_t total) : m_total(total) {}
    void Update(std::uint64_t done)
    {
        if (m_total < kProgressThreshold)
            return;
        int percent = static_cast<int>(std::min<std::uint64_t>(done * 100 / m_total, 100));
        if (percent / 5 > m_shown / 5) {
            m_shown = percent;
            console::Err(L"tv2pack: " + std::to_wstring(percent) + L"%\n");
        }
    }

private:
    std::uint64_t m_total;
    int m_shown = 0;
};

// ---------------------------------------------------------------------------
// create

// "D:", "D:\" or "D:\TAVI\" become "D:" and "D:\TAVI".
bool NormalizeRoot(std::wstring root, std::wstring& out)
{
    std::replace(root.begin(), root.end(), L'/', L'\\');
    while (root.size() > 2 && root.back() == L'\\')
        root.pop_back();
    if (root.size() < 2 || root[1] != L':' || !iswalpha(root[0]) || (root.size() > 2 && root[2] != L'\\'))
        return false;
    out = root;
    return true;
}

int Create(const std::vector<std::wstring>& args)
{
    std::wstring out, root, source, name, version = L"1.0", keyFile;
    bool haveRoot = false, haveName = false;
    std::vector<std::wstring> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a == L"--root" || a == L"--name" || a == L"--version" || a == L"--key") {
            if (i + 1 >= args.size()) {
                Complain(a + L" needs a value");
                return Usage();
            }
            const std::wstring& value = args[++i];
            if (a == L"--root") {
                root = value;
                haveRoot = true;
            } else if (a == L"--name") {
                name = value;
                haveName = true;
            } else if (a == L"--key") {
                keyFile = value;
            } else {
                version = value;
            }
        } else if (a.size() > 2 && a.compare(0, 2, L"--") == 0) {
            Complain(L"unknown option " + a);
            return Usage();
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2 || !haveRoot)
        return Usage();
    out = FullPath(positional[0]);
    source = FullPath(positional[1]);
    signing::SecretKey key;
    if (!keyFile.empty() && !signcommands::LoadKey(keyFile, key))
        return 1;
    std::wstring normalRoot;
    if (!NormalizeRoot(root, normalRoot)) {
        Complain(L"--root " + root + L": give the destination root with its drive, such as D:\\TAVI");
        return 1;
    }
    DWORD attr = GetFileAttributesW(source.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) {
        Complain(source + L": no such folder");
        return 1;
    }
    if (!haveName) {
        std::wstring base = out.substr(out.find_last_of(L'\\') + 1);
        name = base.substr(0, base.find_last_of(L'.'));
    }

    SourceWalk walk(source);
    if (!walk.Collect()) {
        Complain(walk.Problem() + L"; nothing written");
        return 1;
    }
    std::vector<SourceFile>& files = walk.Files();
    // The package being written may lie inside the source folder.
    std::wstring outKey = plinth::NameKey(out), partKey = plinth::NameKey(out + L".part");
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const SourceFile& f) {
                                   std::wstring key = plinth::NameKey(Join(source, f.relative));
                                   return key == outKey || key == partKey;
                               }),
                files.end());
    std::sort(files.begin(), files.end(),
              [](const SourceFile& a, const SourceFile& b) { return a.relative < b.relative; });

    int problems = 0;
    auto problem = [&](const std::wstring& text) {
        Complain(text);
        ++problems;
    };
    if (files.empty())
        problem(source + L": no files to pack");

    std::string packName, packVersion;
    if (!destination::ToGbk(name, packName) || packName.size() > 189 ||
        name.find_first_of(L"\r\n") != std::wstring::npos)
        problem(L"--name \"" + name + L"\": the package name must be GBK text of at most 189 bytes on one line");
    else if (std::atoi(packName.c_str()) == -1)
        problem(L"--name \"" + name + L"\": the update tool rejects a package name that reads as -1");
    if (!destination::ToGbk(version, packVersion) || packVersion.size() > 89 ||
        version.find_first_of(L"\r\n") != std::wstring::npos)
        problem(L"--version \"" + version + L"\": the version must be GBK text of at most 89 bytes on one line");

    std::map<std::wstring, std::wstring> seen; // name key -> relative path
    struct Planned {
        const SourceFile* file;
        std::string nameGbk, destGbk;
    };
    std::vector<Planned> planned;
    std::uint64_t total = 0;
    for (const SourceFile& f : files) {
        std::wstring shown = f.relative;
        for (const std::wstring& p : destination::NameProblems(f.name))
            problem(shown + L": " + p);
        const std::wstring library = SystemLibraryProblem(f.name, Join(source, f.relative));
        if (!library.empty())
            problem(shown + L": " + library);
        auto inserted = seen.emplace(plinth::NameKey(f.name), f.relative);
        if (!inserted.second)
            problem(shown + L": the package is flat, and " + inserted.first->second + L" has the same name");
        std::wstring dest = normalRoot + L"\\" + f.relative;
        Planned p{&f, std::string(), std::string()};
        if (!destination::ToGbk(f.name, p.nameGbk) || !destination::ToGbk(dest, p.destGbk)) {
            problem(shown + L": the destination " + dest + L" has characters without a GBK form");
            continue;
        }
        for (const std::wstring& text : destination::PathProblems(p.nameGbk, p.destGbk))
            problem(shown + L": " + dest + L": " + text);
        planned.push_back(p);
        total += f.size;
    }
    if (problems > 0) {
        Complain(L"nothing written: " + std::to_wstring(problems) + L" problem(s)");
        return 1;
    }

    // The configuration, in GBK.
    SYSTEMTIME now;
    GetLocalTime(&now);
    char created[32];
    std::snprintf(created, sizeof created, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    std::string cfg = "[FILEPATH]\r\nPACKNAME=" + packName + "\r\nCNT=" + std::to_string(planned.size()) + "\r\n";
    for (const Planned& p : planned)
        cfg += p.nameGbk + "=" + p.destGbk + "\r\n";
    cfg += "[FILEVERSION]\r\nCREATETIME=" + std::string(created) + "\r\nVERSION=" + packVersion + "\r\n";
    cfg += "[FILEVER]\r\n";
    for (const Planned& p : planned) {
        std::string text;
        plinth::FileVersionText(Join(source, p.file->relative), text);
        cfg += p.nameGbk + "=" + text + "\r\n";
    }
    cfg += "[FILERWTIME]\r\n";
    for (const Planned& p : planned)
        cfg += p.nameGbk + "=" + TimeText(p.file->time) + "\r\n";

    TempFile cfgFile(out + L".cfg.part");
    TempFile part(out + L".part");
    if (!WriteAll(cfgFile.Path(), cfg)) {
        Complain(cfgFile.Path() + L": cannot be written");
        return 1;
    }
    plinth::ZipWriter writer;
    if (!writer.Create(part.Path())) {
        Complain(part.Path() + L": cannot be created");
        return 1;
    }
    int rc = writer.AddFile(cfgFile.Path(), kConfigName);
    if (rc != 0) {
        writer.Abort();
        Complain(L"TAVIBK.cfg: " + CodeText(rc));
        return 1;
    }
    ProgressLine progress(total);
    std::uint64_t done = 0;
    for (const Planned& p : planned) {
        rc = writer.AddFile(Join(source, p.file->relative), p.file->name,
                            [&](std::uint64_t read) { progress.Update(done + std::min(read, p.file->size)); });
        if (rc != 0) {
            writer.Abort();
            Complain(Join(source, p.file->relative) + L": " + CodeText(rc));
            return 1;
        }
        done += p.file->size;
    }
    if (!writer.Finish() || (!keyFile.empty() && !signcommands::SignWritten(part.Path(), key)) ||
        !MoveFileExW(part.Path().c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        Complain(out + L": cannot be written");
        return 1;
    }
    Say(L"tv2pack: " + out + L": " + std::to_wstring(planned.size()) + L" files and TAVIBK.cfg, " +
        std::to_wstring(total) + L" bytes");
    return 0;
}

// ---------------------------------------------------------------------------
// list and verify

// An opened package with its configuration unpacked to a temporary file.
struct OpenedPackage {
    plinth::ZipReader reader;
    std::vector<plinth::ZipProblem> problems;
    const plinth::ZipEntry* config = nullptr;
    std::unique_ptr<TempFile> configFile;
    std::string configPath; // ANSI, for the profile reader

    std::string Read(const char* section, const char* key, const char* fallback, DWORD length) const
    {
        std::vector<char> buffer(length + 1, '\0');
        GetPrivateProfileStringA(section, key, fallback, buffer.data(), length, configPath.c_str());
        return buffer.data();
    }
};

int OpenPackage(const std::wstring& path, OpenedPackage& pkg)
{
    int rc = pkg.reader.Open(plinth::OpenFileSource(path));
    if (rc != 0) {
        Complain(path + L": " + CodeText(rc) + L" (" + plinth::DecodeText(pkg.reader.Problem(), CP_UTF8) + L")");
        return rc;
    }
    pkg.reader.Check(&pkg.problems);
    for (const plinth::ZipEntry& e : pkg.reader.Entries()) {
        if (plinth::NameKey(e.name) == L"TAVIBK.CFG" && e.dataOffset != 0)
            pkg.config = &e;
    }
    // The profile reader, which the update tool reads the configuration
    // with, wants a file: a new one of a unique name in the temporary folder.
    wchar_t folder[MAX_PATH], name[MAX_PATH];
    if (pkg.config && GetTempPathW(MAX_PATH, folder) && GetTempFileNameW(folder, L"tv2", 0, name)) {
        pkg.configFile.reset(new TempFile(name));
        HANDLE h = CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            rc = pkg.reader.Extract(*pkg.config, [&](const unsigned char* data, std::size_t size) {
                DWORD n = 0;
                return WriteFile(h, data, static_cast<DWORD>(size), &n, nullptr) && n == size;
            });
            CloseHandle(h);
            if (rc != 0)
                pkg.problems.push_back(plinth::ZipProblem{rc, -1, "TAVIBK.cfg: " + std::string(plinth::PackageCodeText(rc))});
        }
        plinth::ToAnsi(pkg.configFile->Path(), pkg.configPath);
    }
    return 0;
}

int List(const std::wstring& path)
{
    OpenedPackage pkg;
    if (OpenPackage(path, pkg) != 0)
        return 1;
    for (const plinth::ZipEntry& e : pkg.reader.Entries()) {
        if (&e == pkg.config)
            continue;
        std::wstring version = L"-", dest = L"-";
        if (pkg.config && !e.ansi.empty()) {
            version = console::FromAnsi(pkg.Read("FILEVER", e.ansi.c_str(), "-", 90));
            std::string d = pkg.Read("FILEPATH", e.ansi.c_str(), "-1", 490);
            dest = std::atoi(d.c_str()) == -1 ? L"(not installed)" : console::FromAnsi(d);
        }
        Say(std::to_wstring(e.size) + L"\t" + version + L"\t" + e.name + L"\t-> " + dest);
    }
    if (!pkg.config)
        Complain(path + L": the package has no TAVIBK.cfg");
    for (const plinth::ZipProblem& p : pkg.problems)
        Complain(path + L": " + plinth::DecodeText(p.message, CP_UTF8));
    return pkg.config && pkg.problems.empty() ? 0 : 1;
}

std::vector<std::string> ProfileKeys(const std::string& section, const std::string& file)
{
    std::vector<char> buffer(1 << 20, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                       static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> keys;
    for (const char* p = buffer.data(); p < buffer.data() + n && *p; p += std::strlen(p) + 1)
        keys.push_back(p);
    return keys;
}

// SystemLibraryProblem for a packed Plinth.dll, which is unpacked for it
// into a new file in the temporary folder; an empty text when it serves.
std::wstring PackedLibraryProblem(OpenedPackage& pkg, const plinth::ZipEntry& entry)
{
    wchar_t folder[MAX_PATH], name[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"tv2", 0, name))
        return entry.name + L": cannot be unpacked to be checked as the system library";
    const TempFile copy(name);
    HANDLE h = CreateFileW(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return entry.name + L": cannot be unpacked to be checked as the system library";
    pkg.reader.Extract(entry, [&](const unsigned char* data, std::size_t size) {
        DWORD n = 0;
        return WriteFile(h, data, static_cast<DWORD>(size), &n, nullptr) && n == size;
    });
    CloseHandle(h);
    const std::wstring why = SystemLibraryProblem(entry.name, name);
    return why.empty() ? why : entry.name + L": " + why;
}

int Verify(const std::wstring& path)
{
    const bool signatureHolds = signcommands::ReportSignature(path);
    OpenedPackage pkg;
    if (OpenPackage(path, pkg) != 0)
        return 1;
    std::vector<std::wstring> problems;
    for (const plinth::ZipProblem& p : pkg.problems)
        problems.push_back(plinth::DecodeText(p.message, CP_UTF8));
    // Every CRC.
    std::uint64_t total = pkg.reader.TotalSize(), done = 0;
    ProgressLine progress(total);
    for (const plinth::ZipEntry& e : pkg.reader.Entries()) {
        if (e.dataOffset == 0)
            continue; // already reported
        int rc = pkg.reader.Extract(e, [&](const unsigned char*, std::size_t size) {
            done += size;
            progress.Update(done);
            return true;
        });
        if (rc != 0)
            problems.push_back(e.name + L": " + CodeText(rc));
        else if (plinth::NameKey(e.name) == L"PLINTH.DLL")
            problems.push_back(PackedLibraryProblem(pkg, e));
    }
    problems.erase(std::remove(problems.begin(), problems.end(), std::wstring()), problems.end());
    int files = 0;
    if (!pkg.config) {
        problems.push_back(L"the package has no TAVIBK.cfg");
    } else {
        std::string packName = pkg.Read("FILEPATH", "PACKNAME", "-1", 190);
        if (std::atoi(packName.c_str()) == -1)
            problems.push_back(L"TAVIBK.cfg: [FILEPATH] PACKNAME is missing or reads as -1, which the update tool "
                               L"rejects");
        std::map<std::wstring, const plinth::ZipEntry*> byKey;
        for (const plinth::ZipEntry& e : pkg.reader.Entries()) {
            if (&e == pkg.config)
                continue;
            ++files;
            byKey.emplace(plinth::NameKey(e.name), &e);
            if (e.ansi.empty())
                continue;
            for (const std::wstring& p : destination::NameProblems(e.name))
                problems.push_back(e.name + L": " + p);
            std::string dest = pkg.Read("FILEPATH", e.ansi.c_str(), "-1", 490);
            if (std::atoi(dest.c_str()) == -1) {
                problems.push_back(e.name + L": TAVIBK.cfg gives no destination in [FILEPATH]");
                continue;
            }
            for (const std::wstring& p : destination::PathProblems(e.ansi, dest))
                problems.push_back(e.name + L": " + console::FromAnsi(dest) + L": " + p);
        }
        std::string cnt = pkg.Read("FILEPATH", "CNT", "0", 9);
        if (std::atoi(cnt.c_str()) != files)
            problems.push_back(L"TAVIBK.cfg: [FILEPATH] CNT is " + console::FromAnsi(cnt) + L" but the package holds " +
                               std::to_wstring(files) + L" files");
        for (const std::string& key : ProfileKeys("FILEPATH", pkg.configPath)) {
            std::wstring wkey = console::FromAnsi(key);
            std::wstring upper = plinth::NameKey(wkey);
            if (upper == L"PACKNAME" || upper == L"CNT" || byKey.count(upper))
                continue;
            problems.push_back(L"TAVIBK.cfg: [FILEPATH] gives a destination for " + wkey +
                               L", which the package does not hold");
        }
    }
    for (const std::wstring& p : problems)
        Complain(path + L": " + p);
    if (!problems.empty()) {
        Complain(path + L": " + std::to_wstring(problems.size()) + L" problem(s)");
        return 1;
    }
    if (!signatureHolds)
        return 1;
    Say(L"tv2pack: " + path + L": OK, " + std::to_wstring(files) + L" files");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Usage();
    std::wstring command = argv[1];
    std::vector<std::wstring> args(argv + 2, argv + argc);
    if (command == L"create")
        return Create(args);
    if (command == L"list" && args.size() == 1)
        return List(args[0]);
    if (command == L"verify" && args.size() == 1)
        return Verify(args[0]);
    if (command == L"keygen")
        return signcommands::KeyGen(args);
    if (command == L"sign")
        return signcommands::Sign(args);
    return Usage();
}
