#include "LogBatch.h"

#include <climits>

#include "CWnd.h"

CLogBatch::CLogBatch(CWnd* pOwner, UINT_PTR nTimerID, UINT nCycleMs)
    : m_pOwner(pOwner), m_nTimerID(nTimerID), m_nCycleMs(nCycleMs)
{
}

void CLogBatch::Append(LPCSTR pszText)
{
    if (m_strPending.IsEmpty())
        m_pOwner->SetTimer(m_nTimerID, m_nCycleMs);
    m_strPending += pszText;
}

void CLogBatch::Replace(LPCSTR pszText)
{
    m_strPending.Empty();
    m_pOwner->KillTimer(m_nTimerID);
    if (m_pPane)
        m_pPane->SetWindowText(pszText);
}

void CLogBatch::Flush()
{
    m_pOwner->KillTimer(m_nTimerID);
    if (m_strPending.IsEmpty() || !m_pPane)
        return;
    // A position past the end selects the end.
    m_pPane->SendMessage(EM_SETSEL, INT_MAX, INT_MAX);
    m_pPane->SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(m_strPending)));
    m_strPending.Empty();
}
