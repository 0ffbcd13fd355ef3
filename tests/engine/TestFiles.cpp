#include "TestFiles.h"

#include <cstdint>

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesA(path.c_str());
}

std::string FreshTestDirectory(const std::string& name)
{
    // Short, so that the tests' destinations stay within the tool's name limit.
    const std::string path = "D:\\engine-tests\\" + name.substr(0, 24);
    RemoveTree(path);
    MakeDirectories(path);
    return path;
}

HANDLE StartSleeperAs(const std::string& directory, const std::string& image)
{
    const std::string path = directory + "\\" + image;
    CopyFileA((ProgramDirectory() + "\\engine_sleeper.exe").c_str(), path.c_str(), FALSE);
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

FILETIME PackageFileTime()
{
    SYSTEMTIME st = {};
    st.wYear = 2020;
    st.wMonth = 6;
    st.wDay = 15;
    st.wHour = 12;
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

void SetWriteTime(const std::string& path, const FILETIME& ft)
{
    HANDLE hFile = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    SetFileTime(hFile, nullptr, nullptr, &ft);
    CloseHandle(hFile);
}

namespace {
uint32_t Crc32(const std::string& data)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
}

void StoredZip::Write(const std::string& path) const
{
    // 2020-06-15 12:00:00 in the DOS date and time fields.
    const uint32_t dosTime = 12u << 11;
    const uint32_t dosDate = ((2020u - 1980u) << 9) | (6u << 5) | 15u;

    std::string archive, directory;
    for (const auto& [name, data] : m_entries) {
        const uint32_t crc = Crc32(data);
        const uint32_t offset = static_cast<uint32_t>(archive.size());
        std::string common;
        Put16(common, 20);  // version needed
        Put16(common, 0);   // flags
        Put16(common, 0);   // stored
        Put16(common, dosTime);
        Put16(common, dosDate);
        Put32(common, crc);
        Put32(common, static_cast<uint32_t>(data.size()));
        Put32(common, static_cast<uint32_t>(data.size()));
        Put16(common, static_cast<uint32_t>(name.size()));
        Put16(common, 0);   // extra field

        Put32(archive, 0x04034B50);
        archive += common + name + data;

        Put32(directory, 0x02014B50);
        Put16(directory, 20);  // version made by
        directory += common;
        Put16(directory, 0);   // comment
        Put16(directory, 0);   // disk
        Put16(directory, 0);   // internal attributes
        Put32(directory, 0);   // external attributes
        Put32(directory, offset);
        directory += name;
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(archive.size());
    archive += directory;
    Put32(archive, 0x06054B50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<uint32_t>(m_entries.size()));
    Put16(archive, static_cast<uint32_t>(m_entries.size()));
    Put32(archive, static_cast<uint32_t>(directory.size()));
    Put32(archive, directoryOffset);
    Put16(archive, 0);
    WriteBytes(path, archive);
}

std::string ConfigText(const std::vector<std::pair<std::string, std::string>>& destinations,
                       const std::string& packName, int count)
{
    std::string text = "[FILEPATH]\r\nPACKNAME=" + packName + "\r\nCNT=" + std::to_string(count) + "\r\n";
    for (const auto& [name, destination] : destinations)
        text += name + "=" + destination + "\r\n";
    text += "[FILEVERSION]\r\nCREATETIME=2020-06-15 12:00:00\r\nVERSION=3.1\r\n";
    return text;
}
