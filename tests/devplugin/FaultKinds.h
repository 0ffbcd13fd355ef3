#pragma once

// The ways FaultPlugin's ExtRun and ExtGetErrorInfo fail, by their argument.
enum FaultKind {
    FAULT_NONE,            // returns normally
    FAULT_READ,            // reads through a bad pointer
    FAULT_WRITE,           // writes through a bad pointer
    FAULT_DIVIDE,          // integer division by zero
    FAULT_RAISE,           // RaiseException with a code of its own
    FAULT_MSVC_THROW,      // what a throw of Windows' usual compiler raises
    FAULT_GCC_THROW,       // a throw of this compiler that nothing catches
    FAULT_STACK_OVERFLOW,  // recursion without end
    FAULT_KIND_COUNT
};

// What ExtRun answers when it does not fail.
constexpr int FAULT_PLUGIN_RUN_RESULT = 42;
