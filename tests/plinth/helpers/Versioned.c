/* A library that only carries a version resource. */
#include <windows.h>

__declspec(dllexport) int VersionedLibrary(void)
{
    return 1;
}
