// A program of the suite in miniature: calls a member of FaultPlugin.dll that
// ends in a throw nothing catches, as often as the argument says, and prints
// how many of those calls the guard ended.
#include "DevPlugin.h"
#include "FaultKinds.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    CDevPlugin plugin;
    if (argc < 2 || !plugin.LoadPlugin("FaultPlugin.dll"))
        return 2;
    const int nCalls = std::atoi(argv[1]);
    int nCaught = 0;
    for (int i = 0; i < nCalls; ++i)
        nCaught += plugin.ExtRun(FAULT_GCC_THROW) == DEVPLUGIN_EXCEPTION;
    std::printf("%d\n", nCaught);
    return 0;
}
