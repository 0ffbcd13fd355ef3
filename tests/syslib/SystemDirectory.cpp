#include "SystemDirectory.h"

#include "PlinthLoader.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace fake {
namespace {

template <typename Fn>
Fn Control(const char* name)
{
    FARPROC address = g_hPlinth ? GetProcAddress(g_hPlinth, name) : nullptr;
    if (!address)
        ADD_FAILURE() << "no stand-in loaded with " << name;
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
}

} // namespace

std::string SystemPath(const char* name)
{
    char directory[MAX_PATH] = {};
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + "\\" + name;
}

void Install(const char* builtName, const char* installedName)
{
    std::string source = ProgramDirectory() + "\\" + builtName;
    ASSERT_TRUE(CopyFileA(source.c_str(), SystemPath(installedName).c_str(), FALSE))
        << source << " -> " << installedName << ": " << GetLastError();
}

void Uninstall(const char* installedName)
{
    DeleteFileA(SystemPath(installedName).c_str());
}

void UninstallAllVariants()
{
    for (const char* name : {"Plinth.dll", "Plinth2b.dll", "Plinth4b.dll", "Plinth8b.dll", "Plinth16b.dll"})
        Uninstall(name);
}

void Reset() { Control<void(__stdcall*)()>("Fake_Reset")(); }
void SetAnswer(int position, int answer) { Control<void(__stdcall*)(int, int)>("Fake_SetAnswer")(position, answer); }
int CallCount(int position) { return Control<int(__stdcall*)(int)>("Fake_CallCount")(position); }
const std::uint32_t* LastArgs(int position)
{
    return Control<const std::uint32_t*(__stdcall*)(int)>("Fake_LastArgs")(position);
}
void SetRecord(const void* record, int size, int type)
{
    Control<void(__stdcall*)(const void*, int, int)>("Fake_SetRecord")(record, size, type);
}
void SetText(const char* text) { Control<void(__stdcall*)(const char*)>("Fake_SetText")(text); }
void FailField2At(int index) { Control<void(__stdcall*)(int)>("Fake_FailField2At")(index); }
int Tag() { return Control<int(__stdcall*)()>("Fake_Tag")(); }

} // namespace fake
