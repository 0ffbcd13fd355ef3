#pragma once
#include "CDC.h"

// The font of menus (lfMenuFont of the non-client metrics), selected into a
// DC for the object's life. Where the metrics cannot be read the DC keeps
// the font it has.
class COwnerMenuFont {
public:
    explicit COwnerMenuFont(CDC* pDC);
    ~COwnerMenuFont();
    COwnerMenuFont(const COwnerMenuFont&) = delete;
    COwnerMenuFont& operator=(const COwnerMenuFont&) = delete;

private:
    CDC* m_pDC;
    HFONT m_hFont;
    HGDIOBJ m_hOldFont;
};
