#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// Puts the test's stand-in libraries into the Windows system directory, where
// the loader looks, and reaches their test controls.
namespace fake {

std::string SystemPath(const char* name);

// Copies the built DLL `builtName` (beside the test program) to `installedName`
// in the system directory.
void Install(const char* builtName, const char* installedName);
void Uninstall(const char* installedName);

// Removes every file name the loader's variants use.
void UninstallAllVariants();

// Controls of the loaded stand-in (g_hPlinth).
void Reset();
void SetAnswer(int position, int answer);
int CallCount(int position);
const std::uint32_t* LastArgs(int position);
void SetRecord(const void* record, int size, int type);
void SetText(const char* text);
void FailField2At(int index);
int Tag();

} // namespace fake
