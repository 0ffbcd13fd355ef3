#include "MyRunIcon.h"
#include "CPaintDC.h"
#include "CWinApp.h"
#include "OffscreenDC.h"

BEGIN_MESSAGE_MAP(CMyRunIcon, CStatic)
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CMyRunIcon::CMyRunIcon()
    : m_nFrames(0), m_nAdded(0), m_nCurrent(0), m_hFrames(), m_crBack(::GetSysColor(COLOR_BTNFACE)),
      m_pOldBitmap(nullptr), m_nOffset(0), m_fStep(1.0f), m_bSecondPass(0), m_bHorizontal(0),
      m_nSlideMode(0), m_hCurFrame(nullptr), m_bFixedOrientation(0)
{
}

CMyRunIcon::~CMyRunIcon()
{
    // The frames are shared resource icons and stay; the fill bitmap goes back out of its DC first.
    if (m_dcBack.m_hDC && m_pOldBitmap)
        m_dcBack.SelectObject(m_pOldBitmap);
}

void CMyRunIcon::AddFrame(UINT nIconId)
{
    if (m_nAdded >= MAX_FRAMES)
        return;
    m_hFrames[m_nAdded] = AfxGetApp()->LoadIcon(nIconId);
    ++m_nAdded;
    m_nFrames = m_nAdded;
    RecomputeStep();
}

void CMyRunIcon::SetBackColor(COLORREF crBack)
{
    m_crBack = crBack;
}

void CMyRunIcon::StartAnimation(int nInterval)
{
    if (nInterval < 10)
        nInterval = 10;
    if (nInterval > 100000)
        nInterval = 1000;
    KillTimer(TIMER_FRAME);
    if (m_nFrames > 0)
        RecomputeStep();
    SetTimer(TIMER_FRAME, static_cast<UINT>(nInterval));
}

void CMyRunIcon::SetSlideMode(int nMode)
{
    m_nSlideMode = nMode;
    Invalidate(TRUE);
}

void CMyRunIcon::SetOrientation(BOOL bHorizontal, BOOL bFixed)
{
    m_bHorizontal = bHorizontal;
    m_bFixedOrientation = bFixed;
    Invalidate(TRUE);
}

void CMyRunIcon::UpdateGeometry()
{
    ReadClientRect();
    if (m_nFrames > 0)
        RecomputeStep();
}

void CMyRunIcon::ReadClientRect()
{
    GetClientRect(&m_rcClient);
    if (!m_bFixedOrientation)
        m_bHorizontal = m_rcClient.Width() > m_rcClient.Height() ? 1 : 0;
}

void CMyRunIcon::RecomputeStep()
{
    if (m_nFrames == 0)
        return;
    const int length = m_bHorizontal ? m_rcClient.Width() : m_rcClient.Height();
    m_fStep = static_cast<float>(length / m_nFrames);
}

void CMyRunIcon::PreSubclassWindow()
{
    // Animates from the moment it is attached, frames or not.
    ReadClientRect();
    SetTimer(TIMER_FRAME, 100);
    CStatic::PreSubclassWindow();
}

void CMyRunIcon::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_FRAME) {
        AdvanceFrame();
        Invalidate(TRUE);
    }
    CStatic::OnTimer(nIDEvent);
}

void CMyRunIcon::AdvanceFrame()
{
    if (m_nCurrent + 1 < m_nFrames)
        ++m_nCurrent;
    else
        m_nCurrent = 0;
    m_nOffset = static_cast<int>(static_cast<float>(m_nCurrent) * m_fStep);
    if (m_nCurrent == 0)
        m_bSecondPass = !m_bSecondPass;
}

void CMyRunIcon::OnPaint()
{
    CPaintDC dc(this);
    COffscreenDC dcOffscreen(&dc, &m_rcClient, TRUE);

    // The fill bitmap is made once, at the size of the first paint.
    if (!m_dcBack.m_hDC)
        m_dcBack.CreateCompatibleDC(&dc);
    if (!m_bmpBack.m_hObject && m_bmpBack.CreateCompatibleBitmap(&dc, m_rcClient.Width(), m_rcClient.Height()))
        m_pOldBitmap = m_dcBack.SelectObject(&m_bmpBack);
    m_dcBack.FillSolidRect(&m_rcClient, m_crBack);
    dcOffscreen.BitBlt(0, 0, m_rcClient.Width(), m_rcClient.Height(), &m_dcBack, 0, 0, SRCCOPY);

    if (m_nFrames > 0) {
        m_hCurFrame = m_hFrames[m_nCurrent];
        int x = m_rcClient.left, y = m_rcClient.top;
        if (m_nSlideMode == 1) {
            if (m_bHorizontal)
                x = (m_bSecondPass ? m_rcClient.right : m_rcClient.left) - m_nOffset;
            else
                y = (m_bSecondPass ? m_rcClient.bottom : m_rcClient.top) - m_nOffset;
        }
        const int side = m_bHorizontal ? m_rcClient.Height() : m_rcClient.Width();
        ::DrawIconEx(dcOffscreen.m_hDC, x, y, m_hCurFrame, side, side, 0, nullptr, DI_NORMAL);
    }
}
