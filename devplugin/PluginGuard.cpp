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
//   stack pointer, frame pointer, saved registers, direction flag, x87 state
//   and MXCSR of the call's start. The unwinding and the resume are done in
//   GuardedCall.S and take what they need from the guard's frame, never from
//   a register: Windows' RtlUnwind returns with EAX to EDI zeroed.
// - GuardPluginImports redirects the plug-in's import of abort() to
//   DevPluginGuardAbort, which resumes the same way when it is reached inside
//   a guarded call on its thread, and aborts as before otherwise. Before it
//   aborts, gcc's terminate handler writes a report to stderr ("terminate
//   called after throwing...", and from the second time on, its state being
//   set for good, "terminate called recursively"); the plug-in's imports of
//   the functions it writes with are redirected too, and drop that report
//   when it is written inside a guarded call.
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
// - The terminate report is kept off stderr only for a plug-in that writes
//   through the C runtime DLL of this program; one with a runtime of its own
//   still writes it.
// - What the plug-in leaves behind after a fault (locks, allocations, its
//   terminate handler's state) is its own affair.
#include "PluginGuard.h"

#include <malloc.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

VOID(WINAPI* g_pfnDevPluginRtlUnwind)(PVOID, PVOID, PEXCEPTION_RECORD, PVOID) = &RtlUnwind;

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
    DWORD dwMxcsr;
};
// DevPluginGuardedCall's answers.
enum : int { CALL_RAISED = 0, CALL_RETURNED = 1, CALL_OVERFLOWED = 2 };

// How gcc's terminate handler begins its report.
constexpr char TERMINATE_REPORT[] = "terminate called";
// A report began on this thread in the current guarded call: the rest of what
// the thread writes to stderr until the call ends belongs to it.
thread_local bool t_bInTerminateReport = false;
}

extern "C" {
int DevPluginGuardedCall(FARPROC fn, const DWORD* args, int nCount, DWORD* pResult, BOOL bSse);
[[noreturn]] void DevPluginGuardResume(GuardFrame* pFrame);
[[noreturn]] void DevPluginGuardUnwind(GuardFrame* pFrame, EXCEPTION_RECORD* pRecord);
void* DevPluginExceptionChain();
EXCEPTION_DISPOSITION __cdecl DevPluginGuardHandler(EXCEPTION_RECORD* pRecord, void* pFrame, CONTEXT*, void*);
void __cdecl DevPluginGuardAbort();
size_t __cdecl DevPluginGuardFwrite(const void* pData, size_t nSize, size_t nCount, FILE* pStream);
int __cdecl DevPluginGuardFputs(const char* psz, FILE* pStream);
int __cdecl DevPluginGuardFputc(int nChar, FILE* pStream);
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

// Whether a write belongs to a terminate report of a guarded call.
bool IsTerminateReport(FILE* pStream, const void* pData, size_t nLength)
{
    if (pStream != stderr || !InnermostGuard())
        return false;
    const size_t nBegin = sizeof TERMINATE_REPORT - 1;
    if (!t_bInTerminateReport)
        t_bInTerminateReport = nLength >= nBegin && std::memcmp(pData, TERMINATE_REPORT, nBegin) == 0;
    return t_bInTerminateReport;
}

// The module of this program's C runtime: the one that holds its stderr.
HMODULE RuntimeModule()
{
    HMODULE hModule = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(stderr), &hModule);
    return hModule;
}

// The imports of a plug-in that lead into the guard, and whether only those
// from this program's own C runtime (whose functions the guard's forward to).
struct Redirect {
    const char* pszName;
    void* pTarget;
    bool bRuntimeOnly;
};
const Redirect kRedirects[] = {
    {"abort", reinterpret_cast<void*>(&DevPluginGuardAbort), false},
    {"fwrite", reinterpret_cast<void*>(&DevPluginGuardFwrite), true},
    {"fputs", reinterpret_cast<void*>(&DevPluginGuardFputs), true},
    {"fputc", reinterpret_cast<void*>(&DevPluginGuardFputc), true},
};
}

bool GuardedPluginCall(FARPROC fn, const DWORD* args, int nCount, DWORD& dwResult)
{
    static const BOOL bSse = IsProcessorFeaturePresent(PF_XMMI_INSTRUCTIONS_AVAILABLE);
    const int nAnswer = DevPluginGuardedCall(fn, args, nCount, &dwResult, bSse);
    t_bInTerminateReport = false;
    switch (nAnswer) {
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
    if (pRecord->ExceptionCode == STATUS_STACK_OVERFLOW) {
        pGuard->dwFaultAnswer = CALL_OVERFLOWED;
        DevPluginGuardResume(pGuard);
    }
    DevPluginGuardUnwind(pGuard, pRecord);
}

extern "C" void __cdecl DevPluginGuardAbort()
{
    if (GuardFrame* pGuard = InnermostGuard())
        DevPluginGuardUnwind(pGuard, nullptr);
    abort();
}

extern "C" size_t __cdecl DevPluginGuardFwrite(const void* pData, size_t nSize, size_t nCount, FILE* pStream)
{
    return IsTerminateReport(pStream, pData, nSize * nCount) ? nCount : fwrite(pData, nSize, nCount, pStream);
}

extern "C" int __cdecl DevPluginGuardFputs(const char* psz, FILE* pStream)
{
    return IsTerminateReport(pStream, psz, strlen(psz)) ? 0 : fputs(psz, pStream);
}

extern "C" int __cdecl DevPluginGuardFputc(int nChar, FILE* pStream)
{
    const char ch = static_cast<char>(nChar);
    return IsTerminateReport(pStream, &ch, 1) ? nChar & 0xFF : fputc(nChar, pStream);
}

void GuardPluginImports(HMODULE hModule)
{
    auto* pBase = reinterpret_cast<BYTE*>(hModule);
    auto* pDos = reinterpret_cast<IMAGE_DOS_HEADER*>(pBase);
    auto* pNt = reinterpret_cast<IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return;
    const HMODULE hRuntime = RuntimeModule();
    for (auto* pDesc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress); pDesc->Name;
         ++pDesc) {
        if (!pDesc->OriginalFirstThunk)
            continue;  // bound without names: nothing to find the functions by
        const bool bRuntime =
            hRuntime && GetModuleHandleA(reinterpret_cast<const char*>(pBase + pDesc->Name)) == hRuntime;
        auto* pName = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->OriginalFirstThunk);
        auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->FirstThunk);
        for (; pName->u1.AddressOfData; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            auto* pByName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
            for (const Redirect& redirect : kRedirects) {
                if (strcmp(reinterpret_cast<const char*>(pByName->Name), redirect.pszName) != 0 ||
                    (redirect.bRuntimeOnly && !bRuntime))
                    continue;
                DWORD dwOld;
                if (VirtualProtect(&pSlot->u1.Function, sizeof pSlot->u1.Function, PAGE_READWRITE, &dwOld)) {
                    pSlot->u1.Function = reinterpret_cast<DWORD_PTR>(redirect.pTarget);
                    VirtualProtect(&pSlot->u1.Function, sizeof pSlot->u1.Function, dwOld, &dwOld);
                }
            }
        }
    }
}
