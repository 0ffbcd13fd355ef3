#pragma once
#include <windows.h>

// The guard around every call into a device plug-in: whatever the call
// raises ends the call, never the program. See PluginGuard.cpp for how, and
// for what it cannot catch.

// Calls fn, a __stdcall function, with nCount 32-bit argument words (args[0]
// first). Answers true with the function's eax in dwResult when it returned,
// false when it raised; the caller's stack and registers are as before either
// way, also when fn took another number of arguments than it was given (up
// to 32 words more).
bool GuardedPluginCall(FARPROC fn, const DWORD* args, int nCount, DWORD& dwResult);

// Makes an abort() inside hModule end the guarded call that led to it instead
// of the process: a plug-in built with gcc ends in abort() when a C++
// exception leaves it. Only hModule's own import of abort is redirected.
void GuardPluginAborts(HMODULE hModule);
