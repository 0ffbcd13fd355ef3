// How the guard works
//
// mingw's catch (...) sees only exceptions thrown by this compiler's own code,
// while plug-ins fail in three other ways: processor faults (access
// violation, division by zero) and RaiseException, which Windows reports as
// structured exceptions; C++ exceptions of Windows' usual compiler, which are
// structured exceptions too (code 0xE06D7363); and C++ exceptions of gcc,
// which cannot unwind into another module and end in the plug-in's
// std::terminate and so in abort().
//
// - GuardedCall.S registers a structured-exception frame on the stack around
//   each call (the frame __try builds on 32-bit Windows). The plug-in's own
//   handlers see an exception first; one that none of them takes reaches
//   DevPluginGuardHandler, which unwinds the plug-in's frames (their
//   destructors and __finally blocks run) and resumes after the call with the
//   stack pointer, frame pointer, saved registers, direction flag and x87
//   state of the call's start.
// - GuardPluginAborts redirects the plug-in's import of abort() to
//   DevPluginGuardAbort, which resumes the same way when it is reached inside
//   a guarded call on its thread, and aborts as before otherwise.
//
// Everything lives in the thread's own frame chain, so any number of threads
// may be in guarded calls at once.
//
// The handler needs no registration of its own: images built here carry no
// SafeSEH table, so Windows accepts any handler in executable memory of theirs.
//
// Limits:
// - A stack overflow inside the plug-in is resumed from without unwinding the
//   plug-in's frames (there is no stack left to unwind on), and the thread's
//   guard page is then set up again (_resetstkoflw). Should that fail, the
//   thread's next overflow ends the process, as Windows ends any thread that
//   overflows its stack without a guard page.
// - A function that takes more argument words than it is given reads zeros
//   from 32 words of slack between the frame and the arguments, and may write
//   there. One that takes more than 32 words beyond what it is given and
//   writes them overwrites the frame, and a fault after that, or the return,
//   ends the process.
// - A plug-in that damaged memory outside its own stack (the heap, the
//   caller's data), changed the thread's frame chain without restoring it, or
//   corrupted the stack above the guard's frame cannot be repaired.
// - abort() is redirected in the plug-in's own module only: a plug-in whose
//   C++ runtime is a DLL of its own (libstdc++-6.dll) still ends the process on
//   an uncaught gcc exception.
// - What the plug-in leaves behind after a fault (locks, allocations, its
//   terminate handler's state) is its own affair.
#include "PluginGuard.h"

#include <malloc.h>
#include <cstdlib>
#include <cstring>

namespace {
// The frame that GuardedCall.S builds; its first two fields are the record of
// the thread's exception chain.
struct GuardFrame {
    GuardFrame* pNext;
    void* pHandler;
    DWORD dwEbp;
    void* pResume;
    DWORD dwFpuControl;
    DWORD dwFaultAnswer;
};
// DevPluginGuardedCall's answers.
enum : int { CALL_RAISED = 0, CALL_RETURNED = 1, CALL_OVERFLOWED = 2 };
}

extern "C" {
int DevPluginGuardedCall(FARPROC fn, const DWORD* args, int nCount, DWORD* pResult);
[[noreturn]] void DevPluginGuardResume(GuardFrame* pFrame);
void* DevPluginExceptionChain();
EXCEPTION_DISPOSITION __cdecl DevPluginGuardHandler(EXCEPTION_RECORD* pRecord, void* pFrame, CONTEXT*, void*);
void __cdecl DevPluginGuardAbort();
}

namespace {
// The innermost guard frame of this thread, or nullptr outside a guarded call.
GuardFrame* InnermostGuard()
{
    auto* pRecord = static_cast<GuardFrame*>(DevPluginExceptionChain());
    while (pRecord && pRecord != reinterpret_cast<GuardFrame*>(-1)) {
        if (pRecord->pHandler == reinterpret_cast<void*>(&DevPluginGuardHandler))
            return pRecord;
        pRecord = pRecord->pNext;
    }
    return nullptr;
}
}

bool GuardedPluginCall(FARPROC fn, const DWORD* args, int nCount, DWORD& dwResult)
{
    switch (DevPluginGuardedCall(fn, args, nCount, &dwResult)) {
    case CALL_RETURNED:
        return true;
    case CALL_OVERFLOWED:
        _resetstkoflw();
        return false;
    case CALL_RAISED:
    default:
        return false;
    }
}

extern "C" EXCEPTION_DISPOSITION __cdecl DevPluginGuardHandler(EXCEPTION_RECORD* pRecord, void* pFrame, CONTEXT*,
                                                              void*)
{
    if (pRecord->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    auto* pGuard = static_cast<GuardFrame*>(pFrame);
    // Unwinding needs stack, which an overflow has used up: leave the
    // overflowing stack as it is, and set up the guard page once out of it.
    if (pRecord->ExceptionCode == STATUS_STACK_OVERFLOW)
        pGuard->dwFaultAnswer = CALL_OVERFLOWED;
    else
        RtlUnwind(pFrame, nullptr, pRecord, nullptr);
    DevPluginGuardResume(pGuard);
}

extern "C" void __cdecl DevPluginGuardAbort()
{
    if (GuardFrame* pGuard = InnermostGuard()) {
        RtlUnwind(pGuard, nullptr, nullptr, nullptr);
        DevPluginGuardResume(pGuard);
    }
    abort();
}

void GuardPluginAborts(HMODULE hModule)
{
    auto* pBase = reinterpret_cast<BYTE*>(hModule);
    auto* pDos = reinterpret_cast<IMAGE_DOS_HEADER*>(pBase);
    auto* pNt = reinterpret_cast<IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return;
    for (auto* pDesc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress); pDesc->Name;
         ++pDesc) {
        if (!pDesc->OriginalFirstThunk)
            continue;  // bound without names: nothing to find abort by
        auto* pName = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->OriginalFirstThunk);
        auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->FirstThunk);
        for (; pName->u1.AddressOfData; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            auto* pByName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(pByName->Name), "abort") != 0)
                continue;
            DWORD dwOld;
            if (VirtualProtect(&pSlot->u1.Function, sizeof pSlot->u1.Function, PAGE_READWRITE, &dwOld)) {
                pSlot->u1.Function = reinterpret_cast<DWORD_PTR>(&DevPluginGuardAbort);
                VirtualProtect(&pSlot->u1.Function, sizeof pSlot->u1.Function, dwOld, &dwOld);
            }
        }
    }
}
