#include "OwnerMenuFont.h"

COwnerMenuFont::COwnerMenuFont(CDC* pDC) : m_pDC(pDC), m_hFont(nullptr), m_hOldFont(nullptr)
{
    NONCLIENTMETRICSA metrics = {};
    // Built for XP, the structure ends before the field that Vista added: a
    // size that every version accepts.
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        m_hFont = ::CreateFontIndirectA(&metrics.lfMenuFont);
    if (m_hFont)
        m_hOldFont = m_pDC->SelectObject(m_hFont);
}

COwnerMenuFont::~COwnerMenuFont()
{
    if (m_hOldFont)
        m_pDC->SelectObject(m_hOldFont);
    if (m_hFont)
        ::DeleteObject(m_hFont);
}
