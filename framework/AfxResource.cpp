#include "AfxResource.h"
#include <initializer_list>

namespace {
HINSTANCE g_hResource = nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResource ? g_hResource : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hResource = hInstResource;
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    for (HINSTANCE hInst : {AfxGetResourceHandle(), ::GetModuleHandleA(nullptr)}) {
        if (::FindResourceA(hInst, lpszName, lpszType))
            return hInst;
    }
    return nullptr;
}
