// winpthreads, linked statically, measures its timed waits with
// GetTickCount64, which kernel32 has only from Vista on; an import of it keeps
// a program from starting on XP. This file defines the import slot that the
// runtime calls through (__imp__GetTickCount64@0), so the linker takes it
// instead of kernel32's: the slot calls kernel32's own GetTickCount64 where
// kernel32 exports it, and on XP extends GetTickCount to 64 bits.
#include "TickCount64.h"

#include <atomic>

namespace {

using TickFunction = ULONGLONG(WINAPI*)();

// The last answer of any thread. The extension holds while two calls are
// less than 49.7 days apart; winpthreads asks at least once per wait.
std::atomic<ULONGLONG> g_lastTick{0};

ULONGLONG WINAPI ExtendedTickCount()
{
    ULONGLONG last = g_lastTick.load();
    for (;;) {
        // Read after the last answer, so that a lower reading means a wrap.
        const ULONGLONG next = runtime::ExtendTickCount(last, GetTickCount());
        if (g_lastTick.compare_exchange_weak(last, next))
            return next;
    }
}

TickFunction ResolveTickCount()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC address = kernel ? GetProcAddress(kernel, "GetTickCount64") : nullptr;
    return address ? reinterpret_cast<TickFunction>(reinterpret_cast<void (*)()>(address)) : ExtendedTickCount;
}

// Resolved on the first call. No function-local static: its guard may wait
// on a winpthreads condition, whose wait would come back here.
std::atomic<TickFunction> g_tickFunction{nullptr};

ULONGLONG WINAPI TickCount64()
{
    TickFunction function = g_tickFunction.load(std::memory_order_acquire);
    if (!function) {
        function = ResolveTickCount();
        g_tickFunction.store(function, std::memory_order_release);
    }
    return function();
}

} // namespace

ULONGLONG runtime::ExtendTickCount(ULONGLONG last, DWORD now)
{
    const ULONGLONG next = (last & ~0xFFFFFFFFull) | now;
    return next < last ? next + 0x100000000ull : next;
}

extern "C" {
extern TickFunction const g_importGetTickCount64 __asm__("__imp__GetTickCount64@0");
TickFunction const g_importGetTickCount64 = TickCount64;
}
