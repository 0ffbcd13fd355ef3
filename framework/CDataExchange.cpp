#include "CDataExchange.h"
#include "AfxTrace.h"
#include "CWnd.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    if (!rControl.SubclassWindow(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC)))
        TRACE("DDX_Control: control %d cannot be bound\n", nIDC);
}
