#pragma once
#include "CGdiObject.h"

class CDC;

class CBitmap : public CGdiObject {
public:
    CBitmap() = default;

    static CBitmap* FromHandle(HBITMAP hBitmap) { return AfxTemporaryGdiObject<CBitmap>(hBitmap); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

    // From the current resource module, else the program's own.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitsPerPixel, const void* lpBits);
    int GetBitmap(BITMAP* pBitMap) const { return GetObject(sizeof(BITMAP), pBitMap); }
};
