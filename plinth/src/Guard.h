#pragma once
#include <windows.h>

#include <cstdio>
#include <exception>

// Nothing thrown in an entry point (std::bad_alloc, std::system_error) may
// leave the library: the caller is no C++ code of ours, and an exception
// that reaches it ends its process. Each entry point whose body can throw is
// a function-try-block whose handler answers a failure code through Caught;
// those that only compute or call Windows need none.
namespace plinth {

// Says on the debugger output which entry point failed on what, and answers
// the entry point's failure answer. Called only from a handler.
template <typename T>
T Caught(const char* entry, T answer) noexcept
{
    const char* what = "an exception";
    try {
        throw;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
    }
    char line[256];
    std::snprintf(line, sizeof line, "Plinth.dll: %s failed: %s\n", entry, what);
    OutputDebugStringA(line);
    return answer;
}

} // namespace plinth
