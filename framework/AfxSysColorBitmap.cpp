#include "AfxSysColorBitmap.h"
#include <vector>

namespace {
struct ColorMap {
    COLORREF crStandard;
    int nSysColor;
};
const ColorMap kButtonColors[] = {
    {RGB(0x00, 0x00, 0x00), COLOR_BTNTEXT},
    {RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW},
    {RGB(0xC0, 0xC0, 0xC0), COLOR_BTNFACE},
    {RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT},
};

void MapButtonColor(RGBQUAD& entry)
{
    const COLORREF crEntry = RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    for (const ColorMap& map : kButtonColors) {
        if (crEntry == map.crStandard) {
            const COLORREF crSystem = ::GetSysColor(map.nSysColor);
            entry.rgbRed = GetRValue(crSystem);
            entry.rgbGreen = GetGValue(crSystem);
            entry.rgbBlue = GetBValue(crSystem);
            return;
        }
    }
}
}

HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc)
{
    const auto* pbData = static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hRsrc)));
    const DWORD dwSize = ::SizeofResource(hInst, hRsrc);
    const auto* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(pbData);
    if (!pbData || dwSize < sizeof(BITMAPINFOHEADER) || pHeader->biSize < sizeof(BITMAPINFOHEADER) ||
        pHeader->biWidth <= 0 || pHeader->biHeight == 0)
        return nullptr;

    DWORD dwColors = pHeader->biClrUsed;
    if (!dwColors && pHeader->biBitCount <= 8)
        dwColors = 1u << pHeader->biBitCount;
    const DWORD dwMasks = pHeader->biSize == sizeof(BITMAPINFOHEADER) && pHeader->biCompression == BI_BITFIELDS ? 3 : 0;
    const DWORD dwBitsOffset = pHeader->biSize + (dwColors + dwMasks) * sizeof(RGBQUAD);
    if (dwColors > 256 || dwBitsOffset > dwSize)
        return nullptr;
    if (pHeader->biCompression == BI_RGB || pHeader->biCompression == BI_BITFIELDS) {
        const unsigned long long ullStride = (static_cast<unsigned long long>(pHeader->biWidth) * pHeader->biBitCount + 31) / 32 * 4;
        const long long llRows = pHeader->biHeight < 0 ? -static_cast<long long>(pHeader->biHeight) : pHeader->biHeight;
        if (ullStride * static_cast<unsigned long long>(llRows) > dwSize - dwBitsOffset)
            return nullptr;
    }

    // The header and colour table are copied, since a resource is read-only.
    std::vector<BYTE> info(pbData, pbData + dwBitsOffset);
    auto* pTable = reinterpret_cast<RGBQUAD*>(info.data() + pHeader->biSize + dwMasks * sizeof(RGBQUAD));
    for (DWORD i = 0; i < dwColors; ++i)
        MapButtonColor(pTable[i]);

    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hBitmap = ::CreateDIBitmap(hScreen, reinterpret_cast<const BITMAPINFOHEADER*>(info.data()), CBM_INIT,
                                       pbData + dwBitsOffset, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                       DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    return hBitmap;
}
