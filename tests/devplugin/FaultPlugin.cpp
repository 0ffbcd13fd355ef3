// A plug-in that fails in every way a plug-in of another compiler can, takes
// other argument counts than the caller passes, and records what it is passed.
#include "FaultKinds.h"

// <windows.h> declares a GetVersion of its own; this plug-in exports another.
#define GetVersion WindowsGetVersion
#include <windows.h>
#undef GetVersion

#include <stdexcept>

#define PLUGIN_EXPORT extern "C" __declspec(dllexport)

namespace {

int g_recorded[16];
int g_nRecorded;

void Record(std::initializer_list<int> values)
{
    g_nRecorded = 0;
    for (int value : values)
        g_recorded[g_nRecorded++] = value;
}

// Never set: it keeps the compiler from seeing that the recursion has no end.
volatile int g_nDepthLimit;

__attribute__((noinline)) int Recurse(int nDepth)
{
    volatile char block[4096];
    block[0] = static_cast<char>(nDepth);
    if (g_nDepthLimit && nDepth > g_nDepthLimit)
        return nDepth;
    return Recurse(nDepth + 1) + block[0];
}

// Writes through the pointer; out of line, so that the write happens.
__attribute__((noinline)) void Scribble(int* p)
{
    *static_cast<volatile int*>(p) = static_cast<int>(0xDEADBEEF);
}

int Fail(int nKind)
{
    int* volatile pBad = reinterpret_cast<int*>(0x10);
    volatile int nZero = 0;
    switch (nKind) {
    case FAULT_READ:
        return *pBad;
    case FAULT_WRITE:
        *pBad = 1;
        return 0;
    case FAULT_DIVIDE:
        return 100 / nZero;
    case FAULT_RAISE:
        RaiseException(0xE0001234, 0, 0, nullptr);
        return 0;
    case FAULT_MSVC_THROW: {
        // The parameters that code built with Windows' usual compiler passes:
        // its magic number, the object thrown and its type information.
        static int object = 7;
        ULONG_PTR params[3] = {0x19930520, reinterpret_cast<ULONG_PTR>(&object), 0};
        RaiseException(0xE06D7363, EXCEPTION_NONCONTINUABLE, 3, params);
        return 0;
    }
    case FAULT_GCC_THROW:
        throw std::runtime_error("plug-in failure");
    case FAULT_STACK_OVERFLOW:
        return Recurse(0);
    default:
        return FAULT_PLUGIN_RUN_RESULT;
    }
}

} // namespace

PLUGIN_EXPORT int __stdcall ExtRun(int nKind) { return Fail(nKind); }
PLUGIN_EXPORT void __stdcall ExtGetErrorInfo(int nKind)
{
    Record({nKind});
    Fail(nKind);
}
// Leaves the floating-point units rounding toward zero (x87 at 24 bits, SSE
// flushing denormals to zero), then fails as ExtRun does.
PLUGIN_EXPORT int __stdcall ExtInitCalib(int nKind)
{
    const unsigned short wControl = 0x0C7F;
    const unsigned int dwMxcsr = 0xFF80;
    __asm__ volatile("fldcw %0" : : "m"(wControl));
    __asm__ volatile("ldmxcsr %0" : : "m"(dwMxcsr));
    return Fail(nKind);
}
PLUGIN_EXPORT const char* __stdcall GetVersion() { return reinterpret_cast<const char*>(Fail(FAULT_READ)); }
PLUGIN_EXPORT int __stdcall ExtVehicleTypeParse(int, int, int, int, int, int) { return Fail(FAULT_RAISE); }

// The caller passes nothing; this takes three words and writes them, as code
// built without optimisation does with its parameters.
PLUGIN_EXPORT int __stdcall ExtStop(int a, int b, int c)
{
    Scribble(&a);
    Scribble(&b);
    Scribble(&c);
    return 9;
}
// The caller passes a rectangle, four words; this takes none.
PLUGIN_EXPORT int __stdcall ExtMove() { return 11; }

PLUGIN_EXPORT int __stdcall ExtShow(int n, RECT rc)
{
    Record({n, static_cast<int>(rc.left), static_cast<int>(rc.top), static_cast<int>(rc.right),
            static_cast<int>(rc.bottom)});
    return 10;
}
PLUGIN_EXPORT int __stdcall ExtPrintScreen(int a, int b, RECT rc)
{
    Record({a, b, static_cast<int>(rc.left), static_cast<int>(rc.top), static_cast<int>(rc.right),
            static_cast<int>(rc.bottom)});
    return 30;
}
PLUGIN_EXPORT int __stdcall ExtWriteInterNetDat(int a, int b, int c, int d, int e, int f, int g, int h, WORD w)
{
    Record({a, b, c, d, e, f, g, h, w});
    return 31;
}

// Copies what the last recording call was passed; answers how many words.
PLUGIN_EXPORT int __stdcall RecordedArguments(int* pOut)
{
    for (int i = 0; i < g_nRecorded; ++i)
        pOut[i] = g_recorded[i];
    return g_nRecorded;
}
