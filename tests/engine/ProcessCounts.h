#pragma once
#include <windows.h>

// What this process holds: kernel handles, GDI objects and USER objects, as
// GetProcessHandleCount and GetGuiResources tell them. Wine answers 0 to
// both, so under Wine they are counted another way (ProcessCounts.cpp), and
// the handles that Wine's own file dialog leaves open are not counted.
struct ProcessCounts {
    DWORD dwHandles = 0;
    DWORD dwGdiObjects = 0;
    DWORD dwUserObjects = 0;
};

ProcessCounts CountsOfThisProcess();
