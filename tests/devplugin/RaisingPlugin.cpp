// A plug-in whose every entry point raises. Its exports are expanded from the
// entry-point list under the wrappers' names: the first place of a repeated
// name carries the plain name, so every export name of the list is there.
#define GetVersion WindowsGetVersion
#include <windows.h>
#undef GetVersion

namespace {
template <typename... Arguments>
void Ignore(Arguments...)
{
}
} // namespace

#define DEVPLUGIN_ENTRY(position, exportName, wrapper, answers, parameters, arguments) \
    extern "C" __declspec(dllexport) int __stdcall wrapper parameters                 \
    {                                                                                \
        Ignore arguments;                                                            \
        RaiseException(0xE0001008, 0, 0, nullptr);                                   \
        return position;                                                             \
    }
#include "DevPluginEntries.def"
