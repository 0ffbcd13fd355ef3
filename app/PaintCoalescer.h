#pragma once
#include <windows.h>
#include <vector>

class CWnd;

// Paints controls whose state changes many times a second at most once per
// cycle. A change still reaches the control at once (its text, its position,
// what the control answers); only its painting waits until the cycle ends.
// A held-back control is marked invisible, as WM_SETREDRAW marks a window,
// so that neither the control nor its scroll bar draws meanwhile. Used on
// the thread that owns the controls and the owner, whose timer ends the cycle.
class CPaintCoalescer {
public:
    CPaintCoalescer(CWnd* pOwner, UINT_PTR nTimerID, UINT nCycleMs);
    CPaintCoalescer(const CPaintCoalescer&) = delete;
    CPaintCoalescer& operator=(const CPaintCoalescer&) = delete;

    // Before a change to the control: its painting waits for the end of the
    // cycle, which starts now unless one is under way.
    void HoldBack(CWnd& control);
    // Ends the cycle: every held-back control is shown and painted now. The
    // owner calls it on its timer, and before it closes.
    void Flush();

private:
    CWnd* m_pOwner;
    UINT_PTR m_nTimerID;
    UINT m_nCycleMs;
    std::vector<CWnd*> m_held;
};
