#include "OwnerMenu.h"
#include "CWinApp.h"
#include "CWnd.h"
#include <algorithm>
#include <cstring>

// The menu object, its statics, the system tests, searching and destroying.

const CRuntimeClass COwnerMenu::classCOwnerMenu = {"COwnerMenu", &CMenu::classCMenu};

namespace {
int QueryWindowsClass()
{
    const DWORD dwVersion = ::GetVersion();
    const BOOL bNtFamily = !(dwVersion & 0x80000000);
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (::GetVersionExA(&info))
        return COwnerMenu::ClassifyWindows(bNtFamily, info.dwMajorVersion, info.dwMinorVersion);
    // GetVersion carries the same numbers: the major version in the low byte, the minor in the next.
    return COwnerMenu::ClassifyWindows(bNtFamily, LOBYTE(LOWORD(dwVersion)), HIBYTE(LOWORD(dwVersion)));
}

BOOL ReadClassicTheme()
{
    static const char kClassic[] = "Windows Classic.theme";
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &hKey) !=
        ERROR_SUCCESS)
        return FALSE;
    char szTheme[260] = "";
    DWORD dwSize = sizeof(szTheme) - 1;   // the value need not end in a NUL of its own
    const LONG lResult = ::RegQueryValueExA(hKey, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(szTheme), &dwSize);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS)
        return FALSE;
    const size_t nLength = std::strlen(szTheme), nClassic = std::strlen(kClassic);
    return nLength >= nClassic && ::lstrcmpiA(szTheme + nLength - nClassic, kClassic) == 0;
}
}

std::vector<HMENU> COwnerMenu::s_registeredMenus;
CImageList COwnerMenu::s_sharedImages;
std::vector<UINT_PTR> COwnerMenu::s_sharedImageIds;
const int COwnerMenu::s_osClass = QueryWindowsClass();
UINT COwnerMenu::s_drawModeXP = 1;
UINT COwnerMenu::s_drawModeOther = 0;

COwnerMenu::~COwnerMenu()
{
    DestroyMenu();
}

// ---------------------------------------------------------------------------
// Settings, queries and the system

void COwnerMenu::SetImageSize(int cx, int cy)
{
    m_nImageWidth = cx;
    m_nImageHeight = cy;
    PassImageSizeDown();
}

void COwnerMenu::SetDrawMode(UINT nMode)
{
    s_drawModeXP = nMode;
    s_drawModeOther = nMode;
}

UINT COwnerMenu::GetDrawMode()
{
    return IsThemedXP() ? s_drawModeXP : s_drawModeOther;
}

COwnerMenu* COwnerMenu::GetSubMenu(int nPos) const
{
    return FromHandleOwnerDrawn(::GetSubMenu(m_hMenu, nPos));
}

BOOL COwnerMenu::IsOwnerDrawnMenu(CMenu* pMenu)
{
    return pMenu && IsOwnerDrawnMenu(pMenu->m_hMenu);
}

BOOL COwnerMenu::IsOwnerDrawnMenu(HMENU hMenu)
{
    return hMenu && std::find(s_registeredMenus.begin(), s_registeredMenus.end(), hMenu) != s_registeredMenus.end();
}

int COwnerMenu::ClassifyWindows(BOOL bNtFamily, DWORD dwMajor, DWORD dwMinor)
{
    if (bNtFamily) {
        if (dwMajor == 4)
            return 5;
        if (dwMajor == 5 && dwMinor == 0)
            return 6;
        if (dwMajor == 5 && dwMinor == 1)
            return 7;
        return 1;
    }
    if (dwMajor < 4)
        return 0;
    if (dwMajor == 4 && dwMinor == 10)
        return 3;
    if (dwMajor == 4 && dwMinor == 90)
        return 4;
    return 2;
}

BOOL COwnerMenu::IsClassicThemeActive()
{
    static const BOOL bClassic = ReadClassicTheme();
    return bClassic;
}

COLORREF COwnerMenu::BlendToWhite(COLORREF crColor, double dFactor)
{
    if (!(dFactor > 0.0 && dFactor <= 1.0))
        return crColor;
    auto blend = [dFactor](BYTE byChannel) { return static_cast<BYTE>(dFactor * (255 - byChannel) + byChannel); };
    return RGB(blend(GetRValue(crColor)), blend(GetGValue(crColor)), blend(GetBValue(crColor)));
}

int COwnerMenu::FindSharedImage(UINT_PTR nID)
{
    auto it = std::find(s_sharedImageIds.begin(), s_sharedImageIds.end(), nID);
    return it == s_sharedImageIds.end() ? -1 : static_cast<int>(it - s_sharedImageIds.begin());
}

BOOL COwnerMenu::HasRaisedVariants(int nIndex)
{
    const size_t i = static_cast<size_t>(nIndex);
    return nIndex >= 0 && i + 2 < s_sharedImageIds.size() && s_sharedImageIds[i] == s_sharedImageIds[i + 1] &&
           s_sharedImageIds[i] == s_sharedImageIds[i + 2];
}

CWnd* COwnerMenu::GetDCWindow()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd && pApp->m_pMainWnd->m_hWnd)
        return pApp->m_pMainWnd;
    return CWnd::FromHandle(::GetDesktopWindow());
}

// ---------------------------------------------------------------------------
// Popups and their registration

void COwnerMenu::UnregisterMenu(HMENU hMenu)
{
    s_registeredMenus.erase(std::remove(s_registeredMenus.begin(), s_registeredMenus.end(), hMenu),
                            s_registeredMenus.end());
}

void COwnerMenu::RemoveSubMenu(HMENU hMenu)
{
    m_subMenus.erase(std::remove(m_subMenus.begin(), m_subMenus.end(), hMenu), m_subMenus.end());
    UnregisterMenu(hMenu);
}

COwnerMenu* COwnerMenu::FromHandleOwnerDrawn(HMENU hMenu)
{
    CMenu* pMenu = hMenu ? FromHandlePermanent(hMenu) : nullptr;
    return pMenu && pMenu->IsKindOf(&classCOwnerMenu) ? static_cast<COwnerMenu*>(pMenu) : nullptr;
}

COwnerMenu* COwnerMenu::NewSubMenu()
{
    auto* pSubMenu = new COwnerMenu;
    ShareCheckImages(pSubMenu);
    // A popup draws its items itself, at the size of the images its owner was given.
    pSubMenu->m_nImageWidth = m_nImageWidth;
    pSubMenu->m_nImageHeight = m_nImageHeight;
    if (!pSubMenu->CreatePopupMenu()) {
        delete pSubMenu;
        return nullptr;
    }
    return pSubMenu;
}

void COwnerMenu::ShareCheckImages(COwnerMenu* pSubMenu) const
{
    pSubMenu->m_nPlainCheckId = m_nPlainCheckId;
    pSubMenu->m_nHighlightCheckId = m_nHighlightCheckId;
    pSubMenu->m_pCheckImages = m_pCheckImages;
    pSubMenu->m_bSharedCheckImages = TRUE;
}

void COwnerMenu::PassCheckImagesDown(const COwnerMenu* pOwner)
{
    for (HMENU hSubMenu : m_subMenus) {
        COwnerMenu* pSubMenu = FromHandleOwnerDrawn(hSubMenu);
        if (pSubMenu && pSubMenu->m_bSharedCheckImages) {
            pOwner->ShareCheckImages(pSubMenu);
            pSubMenu->PassCheckImagesDown(pOwner);
        }
    }
}

void COwnerMenu::PassImageSizeDown()
{
    for (HMENU hSubMenu : m_subMenus) {
        if (COwnerMenu* pSubMenu = FromHandleOwnerDrawn(hSubMenu)) {
            pSubMenu->m_nImageWidth = m_nImageWidth;
            pSubMenu->m_nImageHeight = m_nImageHeight;
            pSubMenu->PassImageSizeDown();
        }
    }
}

BOOL COwnerMenu::DestroyMenu()
{
    UnregisterMenu(m_hMenu);
    // Popup objects of ours go with their menus; others' menus go with ours.
    for (auto it = m_subMenus.rbegin(); it != m_subMenus.rend(); ++it) {
        UnregisterMenu(*it);
        delete FromHandleOwnerDrawn(*it);
    }
    m_subMenus.clear();
    m_items.clear();
    if (m_pCheckImages && !m_bSharedCheckImages) {
        delete m_pCheckImages;
        m_pCheckImages = nullptr;
    }
    // A menu built on this object after now is no longer the loaded one.
    m_bFromResource = FALSE;
    return CMenu::DestroyMenu();
}

// ---------------------------------------------------------------------------
// Searching

COwnerMenu* COwnerMenu::LocateCommand(UINT nID, int& nLoc)
{
    return LocateCommandFrom(nID, nLoc, nullptr, nullptr);
}

COwnerMenu* COwnerMenu::LocateNextCommand(UINT nID, int& nLoc, const std::vector<COwnerMenu*>& menusFound,
                                          const std::vector<int>& locsFound)
{
    return LocateCommandFrom(nID, nLoc, &menusFound, &locsFound);
}

COwnerMenu* COwnerMenu::LocateCommandFrom(UINT nID, int& nLoc, const std::vector<COwnerMenu*>* pMenusFound,
                                          const std::vector<int>* pLocsFound)
{
    auto foundBefore = [&](int nPos) {
        for (size_t i = 0; pMenusFound && i < pMenusFound->size() && i < pLocsFound->size(); ++i) {
            if ((*pMenusFound)[i] == this && (*pLocsFound)[i] == nPos)
                return true;
        }
        return false;
    };
    const int nCount = GetMenuItemCount();
    for (int nPos = 0; nPos < nCount; ++nPos) {
        if (HMENU hSubMenu = ::GetSubMenu(m_hMenu, nPos)) {
            COwnerMenu* pSubMenu = FromHandleOwnerDrawn(hSubMenu);
            COwnerMenu* pFound = pSubMenu ? pSubMenu->LocateCommandFrom(nID, nLoc, pMenusFound, pLocsFound) : nullptr;
            if (pFound)
                return pFound;
        } else if (GetMenuItemID(nPos) == nID && !foundBefore(nPos)) {
            nLoc = nPos;
            return this;
        }
    }
    nLoc = -1;
    return nullptr;
}

COwnerMenuEntry* COwnerMenu::LocateEntry(LPCWSTR lpszText, BOOL bPopup)
{
    if (!lpszText)
        return nullptr;
    for (const auto& pEntry : m_items) {
        const BOOL bEntryPopup = (pEntry->m_nFlags & MF_POPUP) != 0;
        if (bEntryPopup == bPopup && std::wcscmp(pEntry->GetText(), lpszText) == 0)
            return pEntry.get();
        COwnerMenu* pSubMenu = bEntryPopup ? FromHandleOwnerDrawn(reinterpret_cast<HMENU>(pEntry->m_nID)) : nullptr;
        if (COwnerMenuEntry* pFound = pSubMenu ? pSubMenu->LocateEntry(lpszText, bPopup) : nullptr)
            return pFound;
    }
    return nullptr;
}

COwnerMenuEntry* COwnerMenu::LocateText(LPCWSTR lpszText)
{
    return LocateEntry(lpszText, FALSE);
}

COwnerMenu* COwnerMenu::FindSubMenuByText(LPCWSTR lpszText)
{
    COwnerMenuEntry* pEntry = LocateEntry(lpszText, TRUE);
    return pEntry ? FromHandleOwnerDrawn(reinterpret_cast<HMENU>(pEntry->m_nID)) : nullptr;
}

COwnerMenuEntry* COwnerMenu::FindItemData(UINT nID)
{
    auto ownEntry = [nID](const COwnerMenu* pMenu) -> COwnerMenuEntry* {
        for (const auto& pEntry : pMenu->m_items) {
            if (pEntry->m_nID == nID)
                return pEntry.get();
        }
        return nullptr;
    };
    if (COwnerMenuEntry* pEntry = ownEntry(this))
        return pEntry;
    int nLoc = -1;
    COwnerMenu* pMenu = LocateCommand(nID, nLoc);
    return pMenu ? ownEntry(pMenu) : nullptr;
}

int COwnerMenu::FindItemPosition(LPCWSTR lpszText) const
{
    for (size_t i = 0; lpszText && i < m_items.size(); ++i) {
        if (!(m_items[i]->m_nFlags & MF_POPUP) && std::wcscmp(m_items[i]->GetText(), lpszText) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Keeping the entries in step with the menu

void COwnerMenu::ResyncItems()
{
    for (const auto& pEntry : m_items)
        pEntry->m_bSyncMark = FALSE;
    // The first entry of the id that no position has taken yet.
    auto takeEntry = [this](UINT_PTR nID) -> std::unique_ptr<COwnerMenuEntry> {
        for (auto& pEntry : m_items) {
            if (pEntry && !pEntry->m_bSyncMark && pEntry->m_nID == nID) {
                pEntry->m_bSyncMark = TRUE;
                return std::move(pEntry);
            }
        }
        return nullptr;
    };

    std::vector<std::unique_ptr<COwnerMenuEntry>> items;
    const int nCount = GetMenuItemCount();
    for (int nPos = 0; nPos < nCount; ++nPos) {
        const UINT nState = GetMenuState(nPos, MF_BYPOSITION);
        HMENU hSubMenu = ::GetSubMenu(m_hMenu, nPos);
        const UINT_PTR nID = hSubMenu ? reinterpret_cast<UINT_PTR>(hSubMenu)
                             : nState & MF_SEPARATOR ? 0 : GetMenuItemID(nPos);
        std::unique_ptr<COwnerMenuEntry> pEntry = takeEntry(nID);
        const BOOL bReused = pEntry != nullptr;
        if (!pEntry) {
            pEntry.reset(new COwnerMenuEntry);
            pEntry->m_nID = nID;
        }
        if (hSubMenu) {
            // A popup's state holds its item count in the high byte.
            if (!bReused)
                pEntry->m_nFlags = LOBYTE(nState) | MF_POPUP | MF_OWNERDRAW | MF_BYPOSITION;
        } else if (nState & MF_SEPARATOR) {
            if (!bReused)
                pEntry->m_nFlags = MF_SEPARATOR | MF_OWNERDRAW | MF_BYPOSITION;
        } else {
            pEntry->m_nFlags = nState | MF_OWNERDRAW | MF_BYPOSITION;
        }
        // Owner-drawn items have no string; their entries keep the text they have.
        CString text;
        if (!(nState & MF_SEPARATOR) && GetMenuString(nPos, text, MF_BYPOSITION) > 0)
            pEntry->SetAnsiText(text);
        if (pEntry->m_nFlags & MF_OWNERDRAW)
            CMenu::ModifyMenu(nPos, pEntry->m_nFlags | MF_BYPOSITION, nID, reinterpret_cast<LPCSTR>(pEntry.get()));
        items.push_back(std::move(pEntry));
    }
    m_items = std::move(items);
}

void COwnerMenu::ResyncMenu(COwnerMenu* pMenu)
{
    if (pMenu)
        pMenu->ResyncItems();
}

LRESULT COwnerMenu::FindAccelerator(UINT nChar, UINT nFlags, COwnerMenu* pMenu)
{
    if (!pMenu || !(nFlags & MF_POPUP))
        return 0;
    char szKey[3] = {'&', static_cast<char>(nChar), '\0'};
    ::CharLowerBuffA(szKey, 2);
    if (pMenu->GetMenuItemCount() != static_cast<int>(pMenu->m_items.size()))
        pMenu->ResyncItems();
    for (size_t nPos = 0; nPos < pMenu->m_items.size(); ++nPos) {
        CString text = pMenu->m_items[nPos]->GetAnsiText();
        ::CharLowerBuffA(text.GetBuffer(), static_cast<DWORD>(text.GetLength()));
        if (text.Find(szKey) >= 0)
            return MAKELRESULT(nPos, MNC_EXECUTE);
    }
    return 0;
}
