// plinth_unpack PACKAGE TARGET: unpacks with the Plinth.dll beside this
// program and prints UnCompressFile's answer and how much the process's peak
// working set grew in the call; exit status 0 when the answer is 1 or more.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

namespace {

SIZE_T PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: plinth_unpack PACKAGE TARGET\n");
        return 2;
    }
    HMODULE plinth = LoadLibraryA("Plinth.dll");
    FARPROC entry = plinth ? GetProcAddress(plinth, "UnCompressFile") : nullptr;
    if (!entry) {
        std::fprintf(stderr, "plinth_unpack: Plinth.dll or its UnCompressFile is missing\n");
        return 2;
    }
    auto unpack = reinterpret_cast<int(__stdcall*)(const char*, const char*)>(reinterpret_cast<void (*)()>(entry));
    SIZE_T before = PeakWorkingSet();
    int answer = unpack(argv[1], argv[2]);
    std::printf("UnCompressFile: %d\n", answer);
    std::printf("peak working set growth: %lu KB\n", static_cast<unsigned long>((PeakWorkingSet() - before) / 1024));
    return answer >= 1 ? 0 : 1;
}
