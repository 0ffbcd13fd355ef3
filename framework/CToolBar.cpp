#include "CToolBar.h"
#include "AfxResource.h"
#include "AfxSysColorBitmap.h"
#include <commctrl.h>
#include <vector>

namespace {
const int SEPARATOR_WIDTH = 8;
// Room around a button's image.
const int BUTTON_MARGIN = 7;
}

CToolBar::~CToolBar()
{
    if (m_hWnd)
        ::DestroyWindow(Detach());
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    const INITCOMMONCONTROLSEX icc = {sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    // An empty rectangle that the toolbar neither grows nor moves: it takes
    // no room in its parent until someone lays it out.
    const DWORD dwWindowStyle = (dwStyle & 0xFFFF0000) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    HWND hWnd = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, dwWindowStyle, 0, 0, 0, 0,
                                  pParentWnd ? pParentWnd->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), ::GetModuleHandleA(nullptr), nullptr);
    if (!hWnd || !Attach(hWnd)) {
        if (hWnd)
            ::DestroyWindow(hWnd);
        return FALSE;
    }
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    LPCSTR lpszName = MAKEINTRESOURCEA(nIDResource);
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_TOOLBAR);
    HRSRC hRsrc = hInst ? ::FindResourceA(hInst, lpszName, RT_TOOLBAR) : nullptr;
    const auto* pData = hRsrc ? static_cast<const WORD*>(::LockResource(::LoadResource(hInst, hRsrc))) : nullptr;
    const DWORD dwWords = hRsrc ? ::SizeofResource(hInst, hRsrc) / sizeof(WORD) : 0;
    if (!pData || dwWords < 4 || pData[0] != 1 || dwWords < 4u + pData[3])
        return FALSE;
    const int nWidth = pData[1], nHeight = pData[2], nCount = pData[3];

    HINSTANCE hInstBitmap = AfxFindResourceHandle(lpszName, RT_BITMAP);
    HRSRC hRsrcBitmap = hInstBitmap ? ::FindResourceA(hInstBitmap, lpszName, RT_BITMAP) : nullptr;
    if (!m_hWnd || !hRsrcBitmap || !m_bmpImageWell.Attach(AfxLoadSysColorBitmap(hInstBitmap, hRsrcBitmap)))
        return FALSE;

    std::vector<TBBUTTON> buttons(nCount);
    int iImage = 0;
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON& button = buttons[i];
        button.idCommand = pData[4 + i];
        if (button.idCommand == 0) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = SEPARATOR_WIDTH;
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = TBSTATE_ENABLED;
            button.iBitmap = iImage++;
        }
    }
    BITMAP bm = {};
    m_bmpImageWell.GetBitmap(&bm);
    // Sizes first: the toolbar takes them only while it has no buttons.
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(nWidth, nHeight));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(nWidth + BUTTON_MARGIN, nHeight + BUTTON_MARGIN));
    TBADDBITMAP picture = {nullptr, reinterpret_cast<UINT_PTR>(static_cast<HBITMAP>(m_bmpImageWell))};
    if (SendMessage(TB_ADDBITMAP, nWidth > 0 ? bm.bmWidth / nWidth : 0, reinterpret_cast<LPARAM>(&picture)) < 0 ||
        !SendMessage(TB_ADDBUTTONSA, nCount, reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    m_sizeImage = CSize(nWidth, nHeight);
    return TRUE;
}

int CToolBar::GetCount() const
{
    return static_cast<int>(SendMessage(TB_BUTTONCOUNT));
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nIDFind));
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button));
    nID = static_cast<UINT>(button.idCommand);
    nStyle = MAKELONG(button.fsStyle, button.fsState);
    iImage = button.iBitmap;
}
