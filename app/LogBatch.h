#pragma once
#include <windows.h>

#include "CString.h"

class CWnd;

// The log pane's new lines, gathered on the dialog's thread and put at the
// pane's end once per cycle of the owner's timer: one append, one layout
// and one repaint of the edit control for all the lines of a cycle instead
// of one per line, which under Wine costs the run more than its copying.
// The pane stays visible throughout, and every line reaches it in order.
class CLogBatch {
public:
    CLogBatch(CWnd* pOwner, UINT_PTR nTimerID, UINT nCycleMs);
    CLogBatch(const CLogBatch&) = delete;
    CLogBatch& operator=(const CLogBatch&) = delete;

    // The pane whose lines are gathered.
    void Attach(CWnd* pPane) { m_pPane = pPane; }
    // Gathers text for the pane's end; the cycle starts unless one is under way.
    void Append(LPCSTR pszText);
    // Sets the pane's whole text now; lines gathered before it are dropped.
    void Replace(LPCSTR pszText);
    // Puts the gathered lines into the pane now. The owner calls it on its
    // timer, when a run ends and before it closes.
    void Flush();

private:
    CWnd* m_pOwner;
    CWnd* m_pPane = nullptr;
    UINT_PTR m_nTimerID;
    UINT m_nCycleMs;
    CString m_strPending;
};
