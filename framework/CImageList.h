#pragma once
#include <windows.h>
#include <commctrl.h>

class CBitmap;
class CDC;

// Owns one image list and destroys it when it goes.
class CImageList {
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    operator HIMAGELIST() const { return m_hImageList; }

    // Replaces the list held before.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL DeleteImageList();

    int GetImageCount() const { return ::ImageList_GetImageCount(m_hImageList); }
    BOOL GetIconSize(int* pcx, int* pcy) const { return ::ImageList_GetIconSize(m_hImageList, pcx, pcy); }

    // Each answers the index of the (first) new image, -1 on failure. A
    // bitmap may hold several images side by side; pixels of crMask become
    // transparent.
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon) { return ::ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
    int Replace(int nImage, HICON hIcon) { return ::ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    // nStyle: ILD_NORMAL, ILD_TRANSPARENT and the like.
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle) const;
    // A new icon of the image, which the caller destroys; NULL on failure.
    HICON ExtractIcon(int nImage) const { return ::ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
};
