// The environment record, the log, version texts, the window layer and the
// small numeric helpers of Plinth.dll.
#include "Exports.h"
#include "Guard.h"
#include "PlinthEnv.h"
#include "VersionText.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <string>

namespace {

HMODULE g_self = nullptr;
std::mutex g_logMutex;
std::mutex g_randMutex;

std::string SelfPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_self, path, MAX_PATH);
    return path;
}

std::string NowText()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute, st.wSecond);
    return text;
}

// The log file: "TAVI\Plinth.log" in the common application data folder
// (C:\ProgramData under current Windows and Wine).
std::string LogPath()
{
    char base[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)) || !*base)
        GetTempPathA(MAX_PATH, base);
    std::string dir = base;
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    dir += "TAVI";
    return dir + "\\Plinth.log";
}

// Appends "time text\r\n" to a file; answers whether it was written.
bool AppendLine(const std::string& file, const char* text)
{
    std::string line = NowText();
    SYSTEMTIME st;
    GetLocalTime(&st);
    char ms[8];
    std::snprintf(ms, sizeof ms, ".%03u ", st.wMilliseconds);
    line += ms;
    line += text;
    line += "\r\n";
    std::lock_guard<std::mutex> lock(g_logMutex);
    HANDLE h = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        std::size_t cut = file.find_last_of('\\');
        if (cut == std::string::npos)
            return false;
        CreateDirectoryA(file.substr(0, cut).c_str(), nullptr);
        h = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
    }
    DWORD n = 0;
    BOOL ok = WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &n, nullptr);
    CloseHandle(h);
    return ok && n == line.size();
}

int FillRecord(void* pEnv)
{
    if (!pEnv)
        return -1;
    std::memset(pEnv, 0, PLINTH_ENV_SIZE);
    PlinthEnvHeader h = {};
    std::memcpy(h.magic, "PLINTHEV", 8);
    h.headerSize = sizeof h;
    h.recordSize = PLINTH_ENV_SIZE;
    h.layout = 1;
    std::snprintf(h.filler, sizeof h.filler, "%s", "TAVI Plinth.dll (project build)");
    std::string version;
    plinth::FileVersionText(SelfPath().c_str(), version);
    std::snprintf(h.version, sizeof h.version, "%s", version.c_str());
    std::snprintf(h.filledAt, sizeof h.filledAt, "%s", NowText().c_str());
    h.processId = GetCurrentProcessId();
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    GetComputerNameA(computer, &size);
    std::snprintf(h.computer, sizeof h.computer, "%s", computer);
    std::memcpy(pEnv, &h, sizeof h);
    return 1;
}

} // namespace

namespace plinth {

int CopyOut(char* out, int size, const char* text, int length)
{
    if (!out || size <= 0)
        return -1;
    if (length < 0)
        length = static_cast<int>(std::strlen(text));
    if (length >= size) {
        out[0] = '\0';
        return -2;
    }
    std::memcpy(out, text, static_cast<std::size_t>(length));
    out[length] = '\0';
    return length;
}

} // namespace plinth

extern "C" BOOL WINAPI DllMain(HINSTANCE hinst, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = hinst;
        DisableThreadLibraryCalls(hinst);
    }
    return TRUE;
}

int plinth::entry::GetPlinthStrSize()
{
    return PLINTH_ENV_SIZE;
}

int plinth::entry::GetPlinth(void* pEnv)
try {
    return FillRecord(pEnv);
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::GetDefaultPlinth(void* pEnv)
try {
    return FillRecord(pEnv);
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::GetDllVer(char* pszOut)
try {
    if (!pszOut)
        return -1;
    std::string version;
    plinth::FileVersionText(SelfPath().c_str(), version);
    return plinth::CopyOut(pszOut, PLINTH_TEXT_OUT, version.c_str()) >= 0 ? 1 : -2;
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::PostLog(const char* pszText)
try {
    if (!pszText)
        return -1;
    OutputDebugStringA(pszText);
    return AppendLine(LogPath(), pszText) ? 1 : 0;
} catch (...) {
    return plinth::Caught(__func__, 0);
}

int plinth::entry::GetLog(char* pszOut, int nSize)
try {
    return plinth::CopyOut(pszOut, nSize, LogPath().c_str());
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::SaveLog(const char* pszFile, const char* pszText)
try {
    if (!pszFile || !*pszFile || !pszText)
        return -1;
    return AppendLine(pszFile, pszText) ? 1 : 0;
} catch (...) {
    return plinth::Caught(__func__, 0);
}

int plinth::entry::GetVers(const char* pszPath, char* pszOut)
try {
    if (!pszOut)
        return -1;
    std::string text;
    bool versioned = plinth::FileVersionText(pszPath ? pszPath : SelfPath().c_str(), text);
    plinth::CopyOut(pszOut, 1024, text.c_str());
    return versioned ? 1 : 0;
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::JudgeVersion(const char* pszVersionA, const char* pszVersionB)
{
    return plinth::CompareVersionTexts(pszVersionA, pszVersionB);
}

int plinth::entry::SetLayer(HWND hWnd, int nPercent)
{
    if (!hWnd || !IsWindow(hWnd))
        return -1;
    if (nPercent < 1 || nPercent > 100)
        return 0;
    LONG style = GetWindowLongA(hWnd, GWL_EXSTYLE);
    SetWindowLongA(hWnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
    BYTE alpha = static_cast<BYTE>((nPercent * 255 + 50) / 100);
    return SetLayeredWindowAttributes(hWnd, 0, alpha, LWA_ALPHA) ? 1 : -1;
}

int plinth::entry::ReleaseMemory()
{
    return SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1)) ? 1 : 0;
}

double plinth::entry::GetRand(int nLow, int nHigh)
try {
    static std::mt19937 engine(GetTickCount() ^ GetCurrentProcessId());
    if (nLow > nHigh)
        std::swap(nLow, nHigh);
    std::lock_guard<std::mutex> lock(g_randMutex);
    std::uniform_real_distribution<double> dist(nLow, nHigh);
    return nLow == nHigh ? static_cast<double>(nLow) : dist(engine);
} catch (...) {
    return plinth::Caught(__func__, static_cast<double>(nLow));
}

double plinth::entry::Filter_1(int nValue, int nPrevious, int nWeight)
{
    if (nWeight < 0)
        nWeight = 0;
    if (nWeight > 100)
        nWeight = 100;
    return nPrevious + (static_cast<double>(nValue) - nPrevious) * nWeight / 100.0;
}
