#pragma once
#include <windows.h>

#include <string>

#include "PlinthContract.h"

// Whether a library file would serve as the suite's system library: it loads
// as a 32-bit library, exports every entry point of the list, reports the
// environment record's size, and writes its own version text. The tool
// checks a package's Plinth.dll so before it replaces the system directory's
// copy, and tv2pack before it packs or passes one: a copy that fails would
// leave every later start without a library. The file is loaded by its full
// path beside any library of that name already loaded, and freed again.
// Answers an empty text when it serves, else why not (plain English).
inline std::string WhyPlinthLibraryFails(const wchar_t* pszPath)
{
    static const char* const kNames[] = {
#define PLINTH_ENTRY(position, result, name, parameters, arguments) #name,
#include "PlinthEntries.def"
    };
    const HMODULE hLibrary = LoadLibraryExW(pszPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!hLibrary)
        return "it cannot be loaded as a library (error " + std::to_string(GetLastError()) + ")";
    std::string why;
    for (const char* pszName : kNames) {
        if (!GetProcAddress(hLibrary, pszName)) {
            why = std::string("it does not export ") + pszName;
            break;
        }
    }
    if (why.empty()) {
        // Through void*: the entry points' own types differ from FARPROC's.
        auto getSize = reinterpret_cast<int(__stdcall*)()>(
            reinterpret_cast<void*>(GetProcAddress(hLibrary, "GetPlinthStrSize")));
        auto getVers = reinterpret_cast<int(__stdcall*)(const char*, char*)>(
            reinterpret_cast<void*>(GetProcAddress(hLibrary, "GetVers")));
        char szVersion[1024] = {};
        if (getSize() != PLINTH_ENV_SIZE)
            why = "its environment record is not " + std::to_string(PLINTH_ENV_SIZE) + " bytes";
        else if (getVers(nullptr, szVersion) < 0 || szVersion[0] == '\0')
            why = "it gives no version text of its own";
    }
    FreeLibrary(hLibrary);
    return why;
}
