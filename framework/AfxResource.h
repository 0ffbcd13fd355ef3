#pragma once
#include <windows.h>

// The module that resources are loaded from. The process's own module until
// someone (the system library loader, for one) makes another one current.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// The module that holds a resource: the current resource module, else the
// program's own; NULL when neither has it.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
