#include "CBitmap.h"
#include "AfxResource.h"
#include "CDC.h"

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    LPCSTR lpszName = MAKEINTRESOURCEA(nIDResource);
    // Without a module, LoadBitmap would hand out one of the system's own bitmaps.
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_BITMAP);
    return hInst && Attach(::LoadBitmapA(hInst, lpszName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitsPerPixel, const void* lpBits)
{
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitsPerPixel, lpBits));
}
