#include "OwnerMenu.h"
#include "AfxResource.h"
#include "CClientDC.h"
#include "OwnerMenuFont.h"
#include "OwnerMenuImageBar.h"
#include <algorithm>
#include <cstring>

// Loading menus from menu resources and images from toolbar resources.

namespace {
// Reads a menu template within its resource's bounds.
class TemplateReader {
public:
    TemplateReader(const BYTE* pbData, DWORD dwSize) : m_pbNext(pbData), m_pbEnd(pbData + dwSize) {}

    bool Skip(DWORD dwBytes)
    {
        if (static_cast<DWORD>(m_pbEnd - m_pbNext) < dwBytes)
            return false;
        m_pbNext += dwBytes;
        return true;
    }
    bool Word(WORD& wValue)
    {
        if (m_pbEnd - m_pbNext < 2)
            return false;
        std::memcpy(&wValue, m_pbNext, 2);
        m_pbNext += 2;
        return true;
    }
    // A NUL-terminated UTF-16 text.
    bool Text(std::wstring& text)
    {
        text.clear();
        for (WORD wChar = 0; Word(wChar);) {
            if (!wChar)
                return true;
            text += static_cast<wchar_t>(wChar);
        }
        return false;
    }

private:
    const BYTE* m_pbNext;
    const BYTE* m_pbEnd;
};

// Bits of a menu template's item flags.
const WORD TEMPLATE_POPUP = MF_POPUP;
const WORD TEMPLATE_END = MF_END;
}

BOOL COwnerMenu::LoadMenu(UINT nResource)
{
    return LoadMenu(MAKEINTRESOURCEA(nResource));
}

BOOL COwnerMenu::LoadMenu(LPCSTR lpszResourceName)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_MENU);
    HRSRC hRsrc = hInst ? ::FindResourceA(hInst, lpszResourceName, RT_MENU) : nullptr;
    const auto* pbData = hRsrc ? static_cast<const BYTE*>(::LockResource(::LoadResource(hInst, hRsrc))) : nullptr;
    if (!pbData)
        return FALSE;
    DestroyMenu();
    if (!CreateMenu())
        return FALSE;
    if (!BuildFromTemplate(pbData, ::SizeofResource(hInst, hRsrc))) {
        DestroyMenu();
        return FALSE;
    }
    // A menu bar draws the top level natively; the submenus stay owner-drawn.
    const int nCount = std::min(GetMenuItemCount(), static_cast<int>(m_items.size()));
    for (int nPos = 0; nPos < nCount; ++nPos)
        ShowAsText(nPos, m_items[nPos].get());
    m_bFromResource = TRUE;
    return TRUE;
}

BOOL COwnerMenu::BuildFromTemplate(const BYTE* pbData, DWORD dwSize)
{
    TemplateReader reader(pbData, dwSize);
    WORD wVersion = 0, wOffset = 0;
    // Version 1 is the extended template, laid out otherwise.
    if (!reader.Word(wVersion) || !reader.Word(wOffset) || wVersion != 0 || !reader.Skip(wOffset))
        return FALSE;

    // The menus being filled, innermost last, each with whether its last item was read.
    std::vector<COwnerMenu*> menus = {this};
    std::vector<bool> complete = {false};
    while (!menus.empty()) {
        WORD wFlags = 0, wID = 0;
        std::wstring text;
        if (!reader.Word(wFlags) || (!(wFlags & TEMPLATE_POPUP) && !reader.Word(wID)) || !reader.Text(text))
            return FALSE;
        const UINT nItemFlags = wFlags & ~TEMPLATE_END;
        if (wFlags & TEMPLATE_POPUP) {
            if (wFlags & TEMPLATE_END)
                complete.back() = true;
            COwnerMenu* pSubMenu = NewSubMenu();
            if (!pSubMenu)
                return FALSE;
            menus.back()->AppendItem(text.c_str(), nItemFlags, reinterpret_cast<UINT_PTR>(pSubMenu->m_hMenu), -1);
            menus.push_back(pSubMenu);
            complete.push_back(false);
        } else {
            menus.back()->AppendItem(text.c_str(), nItemFlags, wID, -1);
            if (wFlags & TEMPLATE_END)
                complete.back() = true;
            while (!menus.empty() && complete.back()) {
                menus.back()->AlignAccelerators();
                menus.pop_back();
                complete.pop_back();
            }
        }
    }
    return TRUE;
}

void COwnerMenu::ShowAsText(int nPos, COwnerMenuEntry* pEntry)
{
    const CString text = pEntry->GetAnsiText();
    if (HMENU hSubMenu = ::GetSubMenu(m_hMenu, nPos)) {
        pEntry->m_nFlags = MF_POPUP | MF_BYPOSITION;
        CMenu::ModifyMenu(nPos, pEntry->m_nFlags, reinterpret_cast<UINT_PTR>(hSubMenu), text);
    } else {
        pEntry->m_nFlags = MF_BYPOSITION;
        CMenu::ModifyMenu(nPos, pEntry->m_nFlags, pEntry->m_nID, text);
    }
}

void COwnerMenu::UnOwnerDrawTopLevel()
{
    const int nCount = GetMenuItemCount();
    for (int nPos = GetFirstOwnItem(), i = 0; nPos < nCount && i < static_cast<int>(m_items.size()); ++nPos, ++i) {
        if (::GetSubMenu(m_hMenu, nPos))
            ShowAsText(nPos, m_items[i].get());
    }
}

int COwnerMenu::GetFirstOwnItem()
{
    if (!m_bFromResource)
        return 0;
    const int nCount = GetMenuItemCount();
    for (int nPos = 0; nPos < nCount; ++nPos) {
        CString text;
        if (GetMenuString(nPos, text, MF_BYPOSITION) <= 0)
            continue;
        for (size_t j = 0; j < m_items.size(); ++j) {
            if (m_items[j]->GetAnsiText() == text)
                return nPos >= static_cast<int>(j) ? nPos - static_cast<int>(j) : 0;
        }
    }
    return 0;
}

void COwnerMenu::AlignAccelerators()
{
    CClientDC dc(GetDCWindow());
    COwnerMenuFont font(&dc);
    auto measure = [&dc](const CString& text) {
        SIZE size = {};
        ::GetTextExtentPoint32A(dc.m_hDC, text, text.GetLength(), &size);
        return size.cx;
    };
    auto label = [](const CString& text) {
        const int nTab = text.Find('\t');
        return nTab < 0 ? text : text.Left(nTab);
    };

    int nWidest = 0;
    for (const auto& pEntry : m_items)
        nWidest = std::max(nWidest, static_cast<int>(measure(label(pEntry->GetAnsiText()) + " ")));
    for (const auto& pEntry : m_items) {
        const CString text = pEntry->GetAnsiText();
        const int nTab = text.Find('\t');
        if (nTab < 0)
            continue;
        CString padded = text.Left(nTab);
        while (measure(padded) < nWidest)
            padded += " ";
        pEntry->SetAnsiText(padded + text.Mid(nTab));
    }
}

// ---------------------------------------------------------------------------
// Images from toolbars

BOOL COwnerMenu::LoadImagesFromToolbar(UINT nToolbar)
{
    COwnerMenuImageBar bar;
    if (!bar.Create(GetDCWindow()) || !bar.LoadToolBar(nToolbar))
        return FALSE;
    SetImageSize(std::max(m_nImageWidth, bar.GetImageWidth()), std::max(m_nImageHeight, bar.GetImageHeight()));
    // Cut at the toolbar's own size: a smaller toolbar after a larger one
    // would otherwise be cut across its pictures.
    CImageList images;
    if (!images.Create(bar.GetImageWidth(), bar.GetImageHeight(), ILC_COLORDDB | ILC_MASK, 1, 1) ||
        !AddResourceImage(&images, nToolbar))
        return FALSE;
    const int nButtons = bar.GetCount();
    for (int i = 0; i < nButtons; ++i) {
        UINT nID = 0, nStyle = 0;
        int iImage = 0;
        bar.GetButtonInfo(i, nID, nStyle, iImage);
        if (nID != 0 && GetMenuState(nID, MF_BYCOMMAND) != static_cast<UINT>(-1))
            ChangeItem(static_cast<LPCWSTR>(nullptr), nID, &images, iImage > 0 ? iImage : i);
    }
    return TRUE;
}

BOOL COwnerMenu::LoadImagesFromToolbars(const UINT* arIds, int nCount)
{
    BOOL bAll = arIds != nullptr;
    for (int i = 0; arIds && i < nCount; ++i) {
        if (!LoadImagesFromToolbar(arIds[i]))
            bAll = FALSE;
    }
    return bAll;
}

int COwnerMenu::TakeImagesFromToolBar(CToolBar* pToolBar, UINT nBitmap)
{
    const int nButtons = pToolBar ? pToolBar->GetCount() : 0;
    int nTaken = 0;
    for (int i = 0; i < nButtons; ++i) {
        UINT nID = 0, nStyle = 0;
        int iImage = 0;
        pToolBar->GetButtonInfo(i, nID, nStyle, iImage);
        int nLoc = -1;
        COwnerMenu* pMenu = nID ? LocateCommand(nID, nLoc) : nullptr;
        if (!pMenu)
            continue;
        COwnerMenuEntry* pEntry = pMenu->EntryForCommand(nLoc, nID);
        pEntry->m_nFlags = MF_OWNERDRAW;
        LoadOwnImages(*pEntry, static_cast<int>(nBitmap), static_cast<int>(nBitmap), iImage);
        pMenu->CMenu::ModifyMenu(static_cast<UINT>(nLoc), MF_BYPOSITION | MF_OWNERDRAW, nID,
                                 reinterpret_cast<LPCSTR>(pEntry));
        ++nTaken;
    }
    return nTaken;
}

void COwnerMenu::LoadCheckImages(int nPlain, int nHighlight)
{
    if (nPlain <= 0 || nHighlight <= 0)
        return;
    m_nPlainCheckId = nPlain;
    m_nHighlightCheckId = nHighlight;
    // A list of our own; one we had is filled anew in place, where the submenus see it.
    if (!m_pCheckImages || m_bSharedCheckImages)
        m_pCheckImages = new CImageList;
    m_bSharedCheckImages = FALSE;
    // Without raised variants, which would come between the two images.
    if (!m_pCheckImages->Create(m_nImageWidth, m_nImageHeight, ILC_MASK, 2, 1) ||
        !AddResourceBitmap(m_pCheckImages, nPlain) || !AddResourceBitmap(m_pCheckImages, nHighlight)) {
        delete m_pCheckImages;
        m_pCheckImages = nullptr;
    }
    PassCheckImagesDown(this);
}
