#pragma once
#include <windows.h>

// The guard around every call into a device plug-in: whatever the call
// raises ends the call, never the program. See PluginGuard.cpp for how, and
// for what it cannot catch.

// Calls fn, a __stdcall function, with nCount 32-bit argument words (args[0]
// first). Answers true with the function's eax in dwResult when it returned,
// false when it raised; the caller's stack, registers, x87 control word and
// MXCSR are as before either way, also when fn took another number of
// arguments than it was given (up to 32 words more).
bool GuardedPluginCall(FARPROC fn, const DWORD* args, int nCount, DWORD& dwResult);

// Makes an abort() inside hModule end the guarded call that led to it instead
// of the process, and keeps the report that gcc's terminate handler writes
// before it off stderr: a plug-in built with gcc ends in std::terminate and
// abort() when a C++ exception leaves it. Only hModule's own imports are
// redirected.
void GuardPluginImports(HMODULE hModule);

// The RtlUnwind the guard calls; a test puts a stand-in here.
extern "C" VOID(WINAPI* g_pfnDevPluginRtlUnwind)(PVOID, PVOID, PEXCEPTION_RECORD, PVOID);
