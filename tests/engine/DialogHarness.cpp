#include "DialogHarness.h"

#include <commctrl.h>
#include <dlgs.h>
#include <cstdio>
#include <thread>

#include "CWinApp.h"

namespace {
CTAVIUpdataDlg* g_pRunning = nullptr;
const std::function<void(CTAVIUpdataDlg&)>* g_pBody = nullptr;
bool g_bEndAfterBody = true;

// WM_SETTEXT's text as the ANSI code page has it; the subclass makes the window a Unicode one.
std::string TextOf(HWND hWnd, LPARAM lParam)
{
    if (!IsWindowUnicode(hWnd))
        return reinterpret_cast<const char*>(lParam);
    const wchar_t* pszWide = reinterpret_cast<const wchar_t*>(lParam);
    const int nBytes = WideCharToMultiByte(CP_ACP, 0, pszWide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(nBytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, pszWide, -1, &text[0], nBytes, nullptr, nullptr);
    text.resize(nBytes > 0 ? nBytes - 1 : 0);
    return text;
}

void CALLBACK StartBody(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    KillTimer(nullptr, nIDEvent);
    (*g_pBody)(*g_pRunning);
    if (g_bEndAfterBody && ::IsWindow(g_pRunning->m_hWnd))
        g_pRunning->EndDialog(IDCANCEL);
}
}

int RunInDialog(const std::function<void(CTAVIUpdataDlg&)>& body, bool bEndAfterBody)
{
    {
        CTAVIUpdataDlg dlg;
        g_pRunning = &dlg;
        g_pBody = &body;
        g_bEndAfterBody = bEndAfterBody;
        AfxGetApp()->m_pMainWnd = &dlg;  // as the application makes it
        SetTimer(nullptr, 0, 1, StartBody);
        dlg.DoModal();
        AfxGetApp()->m_pMainWnd = nullptr;
        g_pRunning = nullptr;
        g_pBody = nullptr;
    }
    // Read as the application does, once the dialog and its worker have gone.
    return g_nExitCode;
}

HWND WaitForOwnedDialog(HWND hOwner, DWORD dwTimeoutMs)
{
    const DWORD dwStart = GetTickCount();
    for (;;) {
        for (HWND hWnd = FindWindowExA(nullptr, nullptr, "#32770", nullptr); hWnd;
             hWnd = FindWindowExA(nullptr, hWnd, "#32770", nullptr)) {
            if (GetWindow(hWnd, GW_OWNER) == hOwner && IsWindowVisible(hWnd))
                return hWnd;
        }
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return nullptr;
        Sleep(50);
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs)
{
    const DWORD dwStart = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

bool RunUpdateAndWait(CTAVIUpdataDlg& dlg, const std::string& updateDir, const std::string& packagePath,
                      int nShowLog, DWORD dwTimeoutMs)
{
    snprintf(g_szUpdateDir, sizeof g_szUpdateDir, "%s", updateDir.c_str());
    snprintf(g_szPackagePath, sizeof g_szPackagePath, "%s", packagePath.c_str());
    g_nShowLog = nShowLog;
    g_bUpdateDone = 0;
    dlg.SendMessage(WM_TIMER, CTAVIUpdataDlg::TIMER_START_RUN);
    return PumpUntil([] { return g_bUpdateDone == 1; }, dwTimeoutMs);
}

std::string PickWithUpgradeButton(CTAVIUpdataDlg& dlg, const std::string& package)
{
    std::string filter;
    std::thread operatorThread([&] {
        HWND hFileDlg = WaitForOwnedDialog(dlg.m_hWnd);
        if (!hFileDlg)
            return;
        char text[256] = {};
        SendDlgItemMessageA(hFileDlg, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        filter = text;
        SetDlgItemTextA(hFileDlg, cmb13, package.c_str());
        PostMessageA(hFileDlg, WM_COMMAND, IDOK, 0);
    });
    g_bUpdateDone = 0;
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_UPGRADE, BN_CLICKED), reinterpret_cast<LPARAM>(dlg.m_btnUpgrade.m_hWnd));
    operatorThread.join();
    return filter;
}

std::string ItemText(const CTAVIUpdataDlg& dlg, int nID)
{
    HWND hItem = GetDlgItem(dlg.m_hWnd, nID);
    std::string text(GetWindowTextLengthA(hItem) + 1, '\0');
    text.resize(GetWindowTextA(hItem, &text[0], static_cast<int>(text.size())));
    return text;
}

ControlRecorder::ControlRecorder(CTAVIUpdataDlg& dlg)
    : m_hStatus(GetDlgItem(dlg.m_hWnd, IDC_STC_STATUS)), m_hProgress(GetDlgItem(dlg.m_hWnd, IDC_PROGRESS))
{
    SetWindowSubclass(m_hStatus, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(m_hProgress, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

ControlRecorder::~ControlRecorder()
{
    RemoveWindowSubclass(m_hStatus, SubclassProc, 1);
    RemoveWindowSubclass(m_hProgress, SubclassProc, 1);
}

LRESULT CALLBACK ControlRecorder::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR refData)
{
    auto* self = reinterpret_cast<ControlRecorder*>(refData);
    const bool bFromWorker = InSendMessage() != FALSE;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    if (hWnd == self->m_hStatus && message == WM_SETTEXT)
        self->m_events.push_back({Event::Status, TextOf(hWnd, lParam), 0, bFromWorker, now.QuadPart});
    if (hWnd == self->m_hProgress && message == PBM_SETRANGE)
        self->m_events.push_back({Event::Range, "", HIWORD(lParam), bFromWorker, now.QuadPart});
    if (hWnd == self->m_hProgress && message == PBM_SETPOS)
        self->m_events.push_back({Event::Pos, "", static_cast<int>(wParam), bFromWorker, now.QuadPart});
    return DefSubclassProc(hWnd, message, wParam, lParam);
}

std::vector<std::string> ControlRecorder::StatusTexts() const
{
    std::vector<std::string> texts;
    for (const Event& event : m_events)
        if (event.kind == Event::Status)
            texts.push_back(event.text);
    return texts;
}

std::vector<int> ControlRecorder::PositionsOfLastRange() const
{
    std::vector<int> positions;
    for (const Event& event : m_events) {
        if (event.kind == Event::Range)
            positions.clear();
        else if (event.kind == Event::Pos)
            positions.push_back(event.value);
    }
    return positions;
}

int ControlRecorder::LastRange() const
{
    int range = -1;
    for (const Event& event : m_events)
        if (event.kind == Event::Range)
            range = event.value;
    return range;
}
