#pragma once
#include <windows.h>

#include "PlinthContract.h"

// Run-time binding of the suite's system library, Plinth.dll, from the Windows
// system directory. The library's 154 entry points are resolved by name into
// one slot each; the wrappers (PlinthWrappers.h) call through the slots.

// Position of each entry point in the resolution order, counted from 1. A
// missing entry point at position n makes LoadPlinth answer -(n + 1).
enum class PlinthEntry : int {
#define PLINTH_ENTRY(position, result, name, parameters, arguments) name = position,
#include "PlinthEntries.def"
};

// The exported name of the entry point at a position.
const char* PlinthEntryName(PlinthEntry entry);

// Module of the loaded library, or nullptr.
extern HMODULE g_hPlinth;

// The resolved address of an entry point, or nullptr when it is not resolved.
FARPROC PlinthSlot(PlinthEntry entry);

// Loads the variant's file (2, 4, 8, 16: "Plinth<n>b.dll"; anything else:
// "Plinth.dll") from the system directory and resolves every entry point.
// Answers 1, or -1 (no library), -(n + 1) (entry point n missing), -1000 (no
// system directory) or -9999 (wrong environment record size).
int LoadPlinth(int nVariant);

// Releases the library, if one is loaded, and clears every slot.
void FreePlinth();
