#pragma once
#include "CDC.h"

// Flicker-free painting: drawing goes to an offscreen bitmap covering an
// area of the target, and the whole picture is copied to the target in one
// block when the object goes. Coordinates stay those of the target. When
// the target prints, or no bitmap is asked for, drawing goes straight to it.
class COffscreenDC : public CDC {
public:
    // pDC must not be NULL; pRect NULL covers the target's clip box.
    COffscreenDC(CDC* pDC, const CRect* pRect = nullptr, BOOL bOffscreen = TRUE);
    ~COffscreenDC() override;

private:
    CBitmap m_bmpOffscreen;
    CBitmap* m_pOldOffscreen;
    CDC* m_pTargetDC;
    CRect m_rcArea;
    BOOL m_bOffscreen;
};
