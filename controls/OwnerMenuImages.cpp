#include "OwnerMenu.h"
#include "AfxResource.h"
#include "AfxSysColorBitmap.h"
#include "CClientDC.h"
#include "CToolBar.h"
#include <initializer_list>

// Item images: resource bitmaps, the shared list keyed by command, and the
// faded and shadow variants of the XP style.

namespace {
// The button face colour as a bitmap compatible with the DC stores it.
COLORREF StoredFaceColor(CDC* pDC)
{
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    CDC dcProbe;
    CBitmap probe;
    if (!dcProbe.CreateCompatibleDC(pDC) || !probe.CreateCompatibleBitmap(pDC, 2, 2))
        return crFace;
    CBitmap* pOld = dcProbe.SelectObject(&probe);
    dcProbe.FillSolidRect(0, 0, 2, 2, crFace);
    const COLORREF crStored = dcProbe.GetPixel(1, 1);
    dcProbe.SelectObject(pOld);
    return crStored;
}

// Gives every pixel that is not the button face the colour recolor makes of it.
template <class Recolor>
void RecolorImage(CBitmap& bitmap, Recolor recolor)
{
    BITMAP bm = {};
    CDC dc;
    if (!bitmap.GetBitmap(&bm) || !dc.CreateCompatibleDC(nullptr))
        return;
    CBitmap* pOld = dc.SelectObject(&bitmap);
    const COLORREF crFace = StoredFaceColor(&dc);
    for (int x = 0; x < bm.bmWidth; ++x) {
        for (int y = 0; y < bm.bmHeight; ++y) {
            const COLORREF crPixel = dc.GetPixel(x, y);
            if (crPixel != crFace)
                dc.SetPixel(x, y, recolor(crPixel));
        }
    }
    dc.SelectObject(pOld);
}
}

COLORREF COwnerMenu::GetImageKeyColor() const
{
    return m_bImageKey ? m_crImageKey : ::GetSysColor(COLOR_BTNFACE);
}

BOOL COwnerMenu::AddResourceImage(CImageList* pList, int nBitmap)
{
    if (!AddResourceBitmap(pList, nBitmap))
        return FALSE;
    if (UsesXPStyle() && s_raisedImages)
        AppendRaisedVariants(pList);
    return TRUE;
}

BOOL COwnerMenu::AddResourceBitmap(CImageList* pList, int nBitmap) const
{
    CBitmap bitmap;
    if (!bitmap.Attach(LoadMappedBitmap(nBitmap)) && !bitmap.LoadBitmap(nBitmap))
        return FALSE;
    return pList->Add(&bitmap, GetImageKeyColor()) >= 0;
}

HBITMAP COwnerMenu::LoadMappedBitmap(int nBitmap)
{
    LPCSTR lpszName = MAKEINTRESOURCEA(nBitmap);
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_BITMAP);
    HRSRC hRsrc = hInst ? ::FindResourceA(hInst, lpszName, RT_BITMAP) : nullptr;
    const auto* pHeader = hRsrc ? static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(hInst, hRsrc)))
                                : nullptr;
    if (!pHeader || ::SizeofResource(hInst, hRsrc) < sizeof(BITMAPINFOHEADER))
        return nullptr;
    DWORD dwColors = pHeader->biClrUsed;
    if (!dwColors) {
        switch (pHeader->biBitCount) {
        case 1: dwColors = 2; break;
        case 4: dwColors = 16; break;
        case 8: dwColors = 256; break;
        default: break;
        }
    }
    // Toolbar pictures in the 16 standard colours follow the system's button colours.
    return dwColors == 16 ? AfxLoadSysColorBitmap(hInst, hRsrc) : nullptr;
}

BOOL COwnerMenu::ExtractImageBitmap(CDC* pDC, CImageList* pList, int nIndex, CBitmap& bitmap) const
{
    HICON hIcon = pList ? pList->ExtractIcon(nIndex) : nullptr;
    if (!hIcon)
        return FALSE;
    CDC dcImage;
    const BOOL bDone = dcImage.CreateCompatibleDC(pDC) && bitmap.CreateCompatibleBitmap(pDC, m_nImageWidth, m_nImageHeight);
    if (bDone) {
        CBitmap* pOld = dcImage.SelectObject(&bitmap);
        CBrush face(::GetSysColor(COLOR_BTNFACE));
        ::DrawIconEx(dcImage.m_hDC, 0, 0, hIcon, m_nImageWidth, m_nImageHeight, 0, face, DI_NORMAL);
        dcImage.SelectObject(pOld);
    }
    ::DestroyIcon(hIcon);
    return bDone;
}

void COwnerMenu::MakeFadedImage(CBitmap& bitmap)
{
    RecolorImage(bitmap, [](COLORREF crPixel) { return BlendToWhite(crPixel, 0.3); });
}

void COwnerMenu::MakeShadowImage(CBitmap& bitmap)
{
    COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (!IsThemedXP())
        crShadow = BlendToWhite(crShadow, 0.49);
    RecolorImage(bitmap, [crShadow](COLORREF) { return crShadow; });
}

BOOL COwnerMenu::MakeRaisedVariants(CImageList* pList, int nIndex, CBitmap& faded, CBitmap& shadow) const
{
    CClientDC dc(GetDCWindow());
    if (!ExtractImageBitmap(&dc, pList, nIndex, faded) || !ExtractImageBitmap(&dc, pList, nIndex, shadow))
        return FALSE;
    MakeFadedImage(faded);
    MakeShadowImage(shadow);
    return TRUE;
}

BOOL COwnerMenu::AppendRaisedVariants(CImageList* pList) const
{
    CBitmap faded, shadow;
    return MakeRaisedVariants(pList, 0, faded, shadow) && pList->Add(&faded, ::GetSysColor(COLOR_BTNFACE)) >= 0 &&
           pList->Add(&shadow, ::GetSysColor(COLOR_BTNFACE)) >= 0;
}

int COwnerMenu::AddSharedImage(CImageList* pList, int nIndex, UINT_PTR nID)
{
    if (!s_sharedImages.m_hImageList &&
        !s_sharedImages.Create(m_nImageWidth, m_nImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1))
        return -1;
    HICON hIcon = pList ? pList->ExtractIcon(nIndex) : nullptr;
    if (!hIcon)
        return -1;
    const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
    CBitmap faded, shadow;
    const BOOL bVariants = UsesXPStyle() && s_raisedImages && MakeRaisedVariants(pList, nIndex, faded, shadow);

    int nShared = FindSharedImage(nID);
    if (nShared < 0) {
        // The ids stay in step with the images: one for each image added.
        nShared = s_sharedImages.Add(hIcon);
        if (nShared >= 0) {
            s_sharedImageIds.push_back(nID);
            for (CBitmap* pVariant : {&faded, &shadow}) {
                if (bVariants && s_sharedImages.Add(pVariant, crFace) >= 0)
                    s_sharedImageIds.push_back(nID);
            }
        }
    } else {
        // In place, so that the indices the entries hold stay valid.
        s_sharedImages.Replace(nShared, hIcon);
        CImageList variants;
        if (bVariants && HasRaisedVariants(nShared) &&
            variants.Create(m_nImageWidth, m_nImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1) &&
            variants.Add(&faded, crFace) >= 0 && variants.Add(&shadow, crFace) >= 0) {
            for (int i = 0; i < 2; ++i) {
                if (HICON hVariant = variants.ExtractIcon(i)) {
                    s_sharedImages.Replace(nShared + 1 + i, hVariant);
                    ::DestroyIcon(hVariant);
                }
            }
        }
    }
    ::DestroyIcon(hIcon);
    return nShared;
}

BOOL COwnerMenu::LoadOwnImages(COwnerMenuEntry& entry, int nBitmap, int nSource, int nIndex)
{
    entry.m_pImages = std::make_unique<CImageList>();
    if (entry.m_pImages->Create(m_nImageWidth, m_nImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1) &&
        AddResourceBitmap(entry.m_pImages.get(), nBitmap)) {
        // The variants go after the whole strip, where only this flag tells
        // them from its pictures.
        entry.m_bRaisedVariants = UsesXPStyle() && s_raisedImages && AppendRaisedVariants(entry.m_pImages.get());
        entry.m_nImageSource = nSource;
        entry.m_nImageIndex = nIndex;
        return TRUE;
    }
    entry.m_pImages.reset();
    entry.m_bRaisedVariants = FALSE;
    entry.m_nImageSource = -1;
    entry.m_nImageIndex = -1;
    return FALSE;
}

BOOL COwnerMenu::CopyImageToList(CImageList* pList, int nIndex, CImageList* pOwnList)
{
    HICON hIcon = pList && pOwnList && nIndex >= 0 ? pList->ExtractIcon(nIndex) : nullptr;
    if (!hIcon)
        return FALSE;
    int cx = 0, cy = 0;
    pList->GetIconSize(&cx, &cy);
    const BOOL bDone = pOwnList->Create(cx, cy, ILC_COLORDDB | ILC_MASK, 1, 1) && pOwnList->Add(hIcon) >= 0;
    ::DestroyIcon(hIcon);
    if (bDone && UsesXPStyle() && s_raisedImages)
        AppendRaisedVariants(pOwnList);
    return bDone;
}

BOOL COwnerMenu::LocateToolbarImage(UINT nID, UINT nToolbar, int& nIndex)
{
    CToolBar bar;
    if (!bar.Create(GetDCWindow()) || !bar.LoadToolBar(nToolbar))
        return FALSE;
    const int nButton = bar.CommandToIndex(nID);
    if (nButton < 0)
        return FALSE;
    UINT nButtonID = 0, nStyle = 0;
    int iImage = 0;
    bar.GetButtonInfo(nButton, nButtonID, nStyle, iImage);
    if (iImage > 0)
        nIndex = iImage;
    return TRUE;
}

BOOL COwnerMenu::MakeSwatchBitmap(CBitmap& bitmap, COLORREF crFill, COLORREF crBorder, int nHatch,
                                  const CSize* pSize) const
{
    CClientDC dcWindow(GetDCWindow());
    CDC dc;
    if (!dc.CreateCompatibleDC(&dcWindow) || !bitmap.CreateCompatibleBitmap(&dcWindow, m_nImageWidth, m_nImageHeight))
        return FALSE;
    CBitmap* pOldBitmap = dc.SelectObject(&bitmap);
    const CSize size = pSize ? *pSize : CSize(m_nImageWidth, m_nImageHeight);
    CRect rcSwatch(0, 0, size.cx, size.cy);
    if (size.cx != m_nImageWidth || size.cy != m_nImageHeight) {
        dc.FillSolidRect(0, 0, m_nImageWidth, m_nImageHeight, ::GetSysColor(IsThemedXP() ? COLOR_BTNFACE : COLOR_MENU));
        rcSwatch.OffsetRect((m_nImageWidth - size.cx) / 2, (m_nImageHeight - size.cy) / 2);
    }
    CPen pen(PS_SOLID, 1, crBorder);
    CBrush brush;
    if (nHatch == -1 || !brush.Attach(::CreateHatchBrush(nHatch, crFill)))
        brush.CreateSolidBrush(crFill);
    CPen* pOldPen = dc.SelectObject(&pen);
    CBrush* pOldBrush = dc.SelectObject(&brush);
    ::Rectangle(dc.m_hDC, rcSwatch.left, rcSwatch.top, rcSwatch.right, rcSwatch.bottom);
    dc.SelectObject(pOldBrush);
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBitmap);
    return TRUE;
}
