#include "CWinApp.h"
#include "AfxResource.h"
#include "CWnd.h"

namespace {
CWinApp* g_pApp = nullptr;

CString ExecutableBaseName()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString name(path);
    name = name.Mid(name.ReverseFind('\\') + 1);
    const int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}
}

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(::GetModuleHandleA(nullptr)), m_strExeName(ExecutableBaseName())
{
    m_strAppName = lpszAppName ? CString(lpszAppName) : m_strExeName;
    m_pszAppName = m_strAppName;
    m_pszExeName = m_strExeName;
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

int AfxMessageBox(LPCSTR lpszText, UINT nType)
{
    HWND hOwner = nullptr;
    if (g_pApp && g_pApp->m_pMainWnd && ::IsWindow(g_pApp->m_pMainWnd->m_hWnd))
        hOwner = g_pApp->m_pMainWnd->m_hWnd;
    else
        hOwner = ::GetActiveWindow();
    return ::MessageBoxA(hOwner, lpszText, g_pApp ? g_pApp->m_pszAppName : nullptr, nType);
}
