// A plug-in that exports ExtInit and nothing else.
#include <windows.h>

extern "C" __declspec(dllexport) int __stdcall ExtInit(int n) { return n + 1; }
