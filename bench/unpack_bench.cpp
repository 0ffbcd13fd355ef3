// plinth_unpack_bench PACKAGE TARGET: one UnCompressFile with the Plinth.dll
// beside this program. Prints the answer, the time inside UnCompressFile and
// the process's peak working set, one "key: value" per line.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: plinth_unpack_bench PACKAGE TARGET\n");
        return 2;
    }
    HMODULE plinth = LoadLibraryA("Plinth.dll");
    FARPROC entry = plinth ? GetProcAddress(plinth, "UnCompressFile") : nullptr;
    if (!entry) {
        std::fprintf(stderr, "plinth_unpack_bench: Plinth.dll or its UnCompressFile is missing\n");
        return 2;
    }
    auto unpack = reinterpret_cast<int(__stdcall*)(const char*, const char*)>(reinterpret_cast<void (*)()>(entry));
    PROCESS_MEMORY_COUNTERS before = {};
    before.cb = sizeof before;
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int answer = unpack(argv[1], argv[2]);
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS after = {};
    after.cb = sizeof after;
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    std::printf("answer: %d\n", answer);
    std::printf("ms: %.1f\n", (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    std::printf("peak_before_kb: %lu\n", static_cast<unsigned long>(before.PeakWorkingSetSize / 1024));
    std::printf("peak_kb: %lu\n", static_cast<unsigned long>(after.PeakWorkingSetSize / 1024));
    return answer >= 1 ? 0 : 1;
}
