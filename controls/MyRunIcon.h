#pragma once
#include "CStatic.h"

// A static control that shows it is alive: it cycles through icon frames on
// timer 1 of its own window and paints them, flicker-free, over a fill
// colour, either in place or sliding along its length.
class CMyRunIcon : public CStatic {
public:
    CMyRunIcon();
    ~CMyRunIcon() override;

    // An icon of the application's resources; at most 50 frames, the rest are
    // ignored. A frame that fails to load counts and draws nothing.
    void AddFrame(UINT nIconId);
    void SetBackColor(COLORREF crBack);
    // Restarts the frame timer: below 10 ms runs at 10, above 100000 at 1000.
    void StartAnimation(int nInterval);
    // 0: frames in place; 1: frames slide along the control's length.
    void SetSlideMode(int nMode);
    void SetOrientation(BOOL bHorizontal, BOOL bFixed);
    // Takes the control's size again (and its shape's orientation, unless fixed).
    void UpdateGeometry();

protected:
    enum { TIMER_FRAME = 1, MAX_FRAMES = 50 };

    void PreSubclassWindow() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();

    void AdvanceFrame();
    // Pixels per frame along the length; integer division of the length by the frame count.
    void RecomputeStep();
    void ReadClientRect();

    CRect m_rcClient;
    int m_nFrames;
    int m_nAdded;
    int m_nCurrent;
    HICON m_hFrames[MAX_FRAMES];
    COLORREF m_crBack;
    CBitmap* m_pOldBitmap;
    CBitmap m_bmpBack;
    CDC m_dcBack;
    int m_nOffset;
    float m_fStep;
    int m_bSecondPass;
    int m_bHorizontal;
    int m_nSlideMode;
    HICON m_hCurFrame;
    int m_bFixedOrientation;

    DECLARE_MESSAGE_MAP()
};
