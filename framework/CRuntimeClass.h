#pragma once
#include <windows.h>

// A class's name and base, one static record per class, so that an object
// reached through a base pointer can tell what it is (CMenu::IsKindOf).
struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;

    // TRUE for this class and for every class it derives from.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};
