#include "OwnerMenu.h"

// The 8-bit forms: each converts its text through the ANSI code page and
// calls the UTF-16 form.

namespace {
// An 8-bit text in UTF-16 for the length of one call; NULL stays NULL.
class WideText {
public:
    explicit WideText(LPCSTR lpszText) : m_bNull(!lpszText), m_text(AnsiToWide(lpszText)) {}
    operator LPCWSTR() const { return m_bNull ? nullptr : m_text.c_str(); }

private:
    bool m_bNull;
    std::wstring m_text;
};
}

BOOL COwnerMenu::AppendItem(LPCSTR lpszText, UINT nFlags, UINT_PTR nID, int nImageBar)
{
    return AppendItem(WideText(lpszText), nFlags, nID, nImageBar);
}

BOOL COwnerMenu::AppendItem(LPCSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages, int nIndex)
{
    return AppendItem(WideText(lpszText), nFlags, nID, pImages, nIndex);
}

BOOL COwnerMenu::AppendItem(LPCSTR lpszText, UINT nFlags, UINT_PTR nID, CBitmap* pBitmap)
{
    return AppendItem(WideText(lpszText), nFlags, nID, pBitmap);
}

BOOL COwnerMenu::AppendMenu(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, int nImageBar)
{
    return AppendItem(WideText(lpszText), nFlags, nID, nImageBar);
}

BOOL COwnerMenu::AppendMenu(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CImageList* pImages, int nIndex)
{
    return AppendItem(WideText(lpszText), nFlags, nID, pImages, nIndex);
}

BOOL COwnerMenu::AppendMenu(UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CBitmap* pBitmap)
{
    return AppendItem(WideText(lpszText), nFlags, nID, pBitmap);
}

BOOL COwnerMenu::InsertItem(UINT nPosition, LPCSTR lpszText, UINT nFlags, UINT_PTR nID, int nImageBar)
{
    return InsertItem(nPosition, WideText(lpszText), nFlags, nID, nImageBar);
}

BOOL COwnerMenu::InsertItem(UINT nPosition, LPCSTR lpszText, UINT nFlags, UINT_PTR nID, CImageList* pImages,
                            int nIndex)
{
    return InsertItem(nPosition, WideText(lpszText), nFlags, nID, pImages, nIndex);
}

BOOL COwnerMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText, int nImageBar)
{
    return InsertItem(nPosition, WideText(lpszText), nFlags, nID, nImageBar);
}

BOOL COwnerMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CImageList* pImages,
                            int nIndex)
{
    return InsertItem(nPosition, WideText(lpszText), nFlags, nID, pImages, nIndex);
}

BOOL COwnerMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nID, LPCSTR lpszText, CBitmap* pBitmap)
{
    return InsertMenu(nPosition, nFlags, nID, WideText(lpszText), pBitmap);
}

BOOL COwnerMenu::ChangeItem(LPCSTR lpszText, UINT nID, int nImageBar)
{
    return ChangeItem(WideText(lpszText), nID, nImageBar);
}

BOOL COwnerMenu::ChangeItem(LPCSTR lpszText, UINT nID, CImageList* pImages, int nIndex)
{
    return ChangeItem(WideText(lpszText), nID, pImages, nIndex);
}

BOOL COwnerMenu::ChangeItem(LPCSTR lpszText, UINT nID, CBitmap* pBitmap)
{
    return ChangeItem(WideText(lpszText), nID, pBitmap);
}

BOOL COwnerMenu::ChangeItem(LPCSTR lpszText, UINT nID, COLORREF crFill, COLORREF crBorder, int nHatch,
                            const CSize* pSize)
{
    return ChangeItem(WideText(lpszText), nID, crFill, crBorder, nHatch, pSize);
}

BOOL COwnerMenu::ChangeItem(LPCSTR lpszText, LPCSTR lpszFind, int nBitmap)
{
    return ChangeItem(WideText(lpszText), WideText(lpszFind), nBitmap);
}

COwnerMenu* COwnerMenu::AppendSubMenu(LPCSTR lpszText)
{
    return AppendSubMenu(WideText(lpszText));
}

int COwnerMenu::RemoveMenu(LPCSTR lpszText, int nOption)
{
    return RemoveMenu(WideText(lpszText), nOption);
}

int COwnerMenu::DeleteMenu(LPCSTR lpszText, int nOption)
{
    return DeleteMenu(WideText(lpszText), nOption);
}

BOOL COwnerMenu::SetItemText(UINT nID, LPCSTR lpszText, UINT nFlags)
{
    return SetItemText(nID, WideText(lpszText), nFlags);
}

BOOL COwnerMenu::GetItemText(UINT nID, CString& text, UINT nFlags)
{
    std::wstring wide;
    if (!GetItemText(nID, wide, nFlags))
        return FALSE;
    text = WideToAnsi(wide.c_str());
    return TRUE;
}

COwnerMenuEntry* COwnerMenu::LocateText(LPCSTR lpszText)
{
    return LocateText(WideText(lpszText));
}

COwnerMenu* COwnerMenu::FindSubMenuByText(LPCSTR lpszText)
{
    return FindSubMenuByText(WideText(lpszText));
}

int COwnerMenu::FindItemPosition(LPCSTR lpszText) const
{
    return FindItemPosition(WideText(lpszText));
}
