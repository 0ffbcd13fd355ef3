#include "CFileDialog.h"
#include "CWnd.h"

#include <cstdio>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt), m_strFilter(lpszFilter)
{
    if (lpszFileName)
        snprintf(m_szFile, sizeof m_szFile, "%s", lpszFileName);
    m_strFilter.Replace('|', '\0');

    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
    m_ofn.lpstrFilter = m_strFilter.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_strFilter);
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = sizeof m_szFile;
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_strDefExt);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal()
{
    const BOOL bChosen = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return bChosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    return CString(m_szFile + m_ofn.nFileOffset);
}
