#include "PaintCoalescer.h"

#include <algorithm>

#include "CWnd.h"

CPaintCoalescer::CPaintCoalescer(CWnd* pOwner, UINT_PTR nTimerID, UINT nCycleMs)
    : m_pOwner(pOwner), m_nTimerID(nTimerID), m_nCycleMs(nCycleMs)
{
}

void CPaintCoalescer::HoldBack(CWnd& control)
{
    if (std::find(m_held.begin(), m_held.end(), &control) != m_held.end())
        return;
    // What DefWindowProc does for WM_SETREDRAW, done here because some edit
    // controls (Wine's) take that message without acting on it.
    if (!control.ModifyStyle(WS_VISIBLE, 0))
        return;  // hidden anyway: nothing to paint, nothing to show again
    m_held.push_back(&control);
    if (m_held.size() == 1)
        m_pOwner->SetTimer(m_nTimerID, m_nCycleMs);
}

void CPaintCoalescer::Flush()
{
    if (m_held.empty())
        return;
    m_pOwner->KillTimer(m_nTimerID);
    for (CWnd* pControl : m_held) {
        pControl->ModifyStyle(0, WS_VISIBLE);
        ::RedrawWindow(pControl->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
    m_held.clear();
}
