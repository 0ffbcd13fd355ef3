// plinth_unpack PACKAGE TARGET: unpacks with the Plinth.dll beside this
// program and prints UnCompressFile's answer; exit status 0 when it is 1 or more.
#include <windows.h>

#include <cstdio>

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
    int answer = unpack(argv[1], argv[2]);
    std::printf("UnCompressFile: %d\n", answer);
    return answer >= 1 ? 0 : 1;
}
