#include "PlinthLoader.h"

#include "AfxResource.h"

#include <cstdio>

HMODULE g_hPlinth = nullptr;

namespace {

// In the order of PlinthEntry.
const char* const kEntryNames[PLINTH_ENTRY_COUNT] = {
#define PLINTH_ENTRY(position, result, name, parameters, arguments) #name,
#include "PlinthEntries.def"
};

FARPROC g_slots[PLINTH_ENTRY_COUNT] = {};

int IndexOf(PlinthEntry entry)
{
    return static_cast<int>(entry) - 1;
}

void ClearSlots()
{
    for (FARPROC& slot : g_slots)
        slot = nullptr;
}

const char* FileFormat(int nVariant)
{
    switch (nVariant) {
    case 2: return "%s\\Plinth2b.dll";
    case 4: return "%s\\Plinth4b.dll";
    case 8: return "%s\\Plinth8b.dll";
    case 16: return "%s\\Plinth16b.dll";
    default: return "%s\\Plinth.dll";
    }
}

// Makes the library's module the current resource module for the resolution
// and puts the caller's back on every way out.
class ResourceModuleScope {
public:
    explicit ResourceModuleScope(HMODULE hLibrary) : m_hPrevious(AfxGetResourceHandle())
    {
        AfxSetResourceHandle(hLibrary);
    }
    ~ResourceModuleScope() { AfxSetResourceHandle(m_hPrevious); }
    ResourceModuleScope(const ResourceModuleScope&) = delete;
    ResourceModuleScope& operator=(const ResourceModuleScope&) = delete;

private:
    HINSTANCE m_hPrevious;
};

} // namespace

const char* PlinthEntryName(PlinthEntry entry)
{
    return kEntryNames[IndexOf(entry)];
}

FARPROC PlinthSlot(PlinthEntry entry)
{
    return g_slots[IndexOf(entry)];
}

int LoadPlinth(int nVariant)
{
    char szSystemDir[MAX_PATH] = {};
    if (GetSystemDirectoryA(szSystemDir, MAX_PATH) == 0)
        return -1000;

    char szPath[MAX_PATH + 32] = {};
    std::snprintf(szPath, sizeof szPath, FileFormat(nVariant), szSystemDir);

    g_hPlinth = nullptr;
    g_hPlinth = LoadLibraryA(szPath);
    if (!g_hPlinth)
        return -1;

    ClearSlots();
    ResourceModuleScope resourceScope(g_hPlinth);

    for (int n = 1; n <= PLINTH_ENTRY_COUNT; ++n) {
        FARPROC address = GetProcAddress(g_hPlinth, kEntryNames[n - 1]);
        if (!address)
            return -(n + 1);
        g_slots[n - 1] = address;

        if (n == static_cast<int>(PlinthEntry::GetPlinthStrSize)) {
            auto getSize = reinterpret_cast<int(__stdcall*)()>(address);
            if (getSize() != PLINTH_ENV_SIZE)
                return -9999;
        }
    }
    return 1;
}

void FreePlinth()
{
    if (!g_hPlinth)
        return;
    FreeLibrary(g_hPlinth);
    ClearSlots();
    g_hPlinth = nullptr;
}
