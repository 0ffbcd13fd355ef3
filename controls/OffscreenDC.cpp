#include "OffscreenDC.h"

COffscreenDC::COffscreenDC(CDC* pDC, const CRect* pRect, BOOL bOffscreen)
    : m_pOldOffscreen(nullptr), m_pTargetDC(pDC), m_bOffscreen(bOffscreen && !pDC->IsPrinting())
{
    if (pRect)
        m_rcArea = *pRect;
    else
        pDC->GetClipBox(&m_rcArea);

    if (m_bOffscreen) {
        CreateCompatibleDC(pDC);
        pDC->LPtoDP(&m_rcArea);
        m_bmpOffscreen.CreateCompatibleBitmap(pDC, m_rcArea.Width(), m_rcArea.Height());
        m_pOldOffscreen = SelectObject(&m_bmpOffscreen);
        SetMapMode(pDC->GetMapMode());
        pDC->DPtoLP(&m_rcArea);
        SetWindowOrg(m_rcArea.left, m_rcArea.top);
    } else {
        m_bPrinting = pDC->IsPrinting();
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }

    FillSolidRect(&m_rcArea, pDC->GetBkColor());
}

COffscreenDC::~COffscreenDC()
{
    if (m_bOffscreen) {
        m_pTargetDC->BitBlt(m_rcArea.left, m_rcArea.top, m_rcArea.Width(), m_rcArea.Height(),
                            this, m_rcArea.left, m_rcArea.top, SRCCOPY);
        SelectObject(m_pOldOffscreen);
    } else {
        // The handles are the target's: not ours to delete.
        m_hDC = m_hAttribDC = nullptr;
    }
}
