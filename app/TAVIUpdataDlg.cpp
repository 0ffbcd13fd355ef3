#include "TAVIUpdataDlg.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "AfxTrace.h"
#include "CDataExchange.h"
#include "CFileDialog.h"
#include "CFileFind.h"
#include "CMenu.h"
#include "CPaintDC.h"
#include "CWinApp.h"
#include "PlinthLoader.h"
#include "PlinthWrappers.h"
#include "TAVIAboutDlg.h"

namespace {
// Where the suite keeps the master copy of its system library.
const char MASTER_BIN_DIR[] = "D:\\TAVI\\System\\BIN";
constexpr DWORD CLOSE_WAIT_MS = 500;
// How long the log pane may lag behind the run's lines.
constexpr UINT LOG_CYCLE_MS = 100;
// How long a start-up message waits for an operator after a command-line start.
constexpr UINT MESSAGE_TIMEOUT_MS = 10000;

// Presses OK on the message box that the dialog (lParam) owns, as an operator would.
BOOL CALLBACK PressOkIfMessageBoxOf(HWND hBox, LPARAM lParam)
{
    char szClass[16] = {};
    ::GetClassNameA(hBox, szClass, sizeof szClass);
    if (::GetWindow(hBox, GW_OWNER) != reinterpret_cast<HWND>(lParam) || strcmp(szClass, "#32770") != 0)
        return TRUE;
    ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
    return FALSE;
}

// The dialog's timer that ends the wait of a start-up message.
void CALLBACK PressOkOnMessageBox(HWND hDialog, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(hDialog, nIDEvent);
    ::EnumThreadWindows(::GetCurrentThreadId(), PressOkIfMessageBoxOf, reinterpret_cast<LPARAM>(hDialog));
}

// Copies a command-line argument into a buffer, cut to fit.
void CopyArgument(char* pszBuffer, size_t nSize, const char* pszArgument)
{
    snprintf(pszBuffer, nSize, "%s", pszArgument ? pszArgument : "");
}
}

BEGIN_MESSAGE_MAP(CTAVIUpdataDlg, CBDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BTN_UPGRADE, OnUpgradeClicked)
    ON_BN_CLICKED(IDC_BTN_BROWSE, OnBrowseClicked)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_DESTROY, OnDestroyWindow)
    ON_MESSAGE(WM_UNPACK_TIMER, OnUnpackTimerRequest)
    ON_MESSAGE(WM_LOG_TEXT, OnLogRequest)
    ON_MESSAGE(WM_SET_PROGRESS, OnProgressPosRequest)
END_MESSAGE_MAP()

CTAVIUpdataDlg::CTAVIUpdataDlg(CWnd* pParent)
    : CBDialog(IDD, pParent), m_hAppIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)),
      m_logBatch(this, TIMER_LOG_CYCLE, LOG_CYCLE_MS)
{
}

CTAVIUpdataDlg::~CTAVIUpdataDlg()
{
    // The worker uses this object: one that outlived the window stops at its
    // next step, and the library it may still be in is unloaded after it.
    if (m_hWorker) {
        m_bClosing = true;
        WaitForWorker();
        CloseHandle(m_hWorker);
    }
    if (m_bUnloadAfterWorker)
        FreePlinth();
}

void CTAVIUpdataDlg::DoDataExchange(CDataExchange* pDX)
{
    CBDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STC_RUN_ICON, m_runIcon);
    DDX_Control(pDX, IDC_STC_PATH_LABEL, m_stcPathLabel);
    DDX_Control(pDX, IDC_STC_VERSION, m_stcVersion);
    DDX_Control(pDX, IDC_EDT_LOG, m_edtLog);
    DDX_Control(pDX, IDC_BTN_BROWSE, m_btnBrowse);
    DDX_Control(pDX, IDC_BTN_UPGRADE, m_btnUpgrade);
    DDX_Control(pDX, IDC_STC_STATUS, m_stcStatus);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_EDT_PATH, m_edtPath);
}

BOOL CTAVIUpdataDlg::OnInitDialog()
{
    CBDialog::OnInitDialog();
    // Lets a second copy of the tool find this window by its property.
    SetPropA(m_hWnd, AfxGetApp()->m_pszExeName, reinterpret_cast<HANDLE>(1));

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAbout;
        strAbout.LoadString(IDS_ABOUTBOX);
        if (!strAbout.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAbout);
        }
    }
    SetIcon(m_hAppIcon, TRUE);
    SetIcon(m_hAppIcon, FALSE);

    // First, so that the start-up messages know whether anybody is there to read them.
    ParseCommandLine();
    if (!LoadSystemLibrary())
        ShowMessage("Plinth.dll 加载错误或者没有该文件！");

    m_strLog.Empty();
    m_edtLog.SendMessage(EM_SETLIMITTEXT, 0);  // room for the whole log, not 32 KB
    m_logBatch.Attach(&m_edtLog);
    SetBackgroundMode(BG_TILE);
    LoadBackgroundBitmap(IDB_BACKGROUND);
    SetLayer(m_hWnd, 90);
    EnsureSystemLibraryCopy();

    if (m_bCmdLineMode == 1) {
        g_nExitCode = engine::RUN_NOT_FINISHED;  // until the run has ended
        m_btnUpgrade.ShowWindow(SW_HIDE);
        m_edtPath.ShowWindow(SW_HIDE);
        m_stcPathLabel.ShowWindow(SW_HIDE);
        SetTimer(TIMER_START_RUN, 10);
        SetTimer(TIMER_AUTO_EXIT, 1000);
    }

    m_btnUpgrade.LoadStateIcons(IDI_UPGRADE_HOVER, IDI_UPGRADE_NORMAL);
    m_btnUpgrade.ShiftStateColor(0, 30, TRUE);
    m_btnUpgrade.SetHintText("选择升级文件并执行升级", TRUE);
    m_btnUpgrade.UseParentBackground(TRUE);
    m_btnUpgrade.SetStateColor(1, RGB(200, 128, 0), TRUE);

    for (UINT nFrame = IDI_RUN_FRAME1; nFrame <= IDI_RUN_FRAME8; ++nFrame)
        m_runIcon.AddFrame(nFrame);
    m_runIcon.SetBackColor(RGB(200, 200, 200));
    m_runIcon.StartAnimation(500);
    return TRUE;
}

void CTAVIUpdataDlg::ParseCommandLine()
{
    m_bCmdLineMode = 0;
    char szPath[500] = {};
    char szFlag[300] = {};
    if (__argc > 1) {
        CopyArgument(szPath, sizeof szPath, __argv[1]);
        m_bCmdLineMode = 1;
    }
    if (__argc > 2) {
        CopyArgument(szFlag, sizeof szFlag, __argv[2]);
        if (szFlag[0] != '\0')
            g_nShowLog = atoi(szFlag);
    }
    if (__argc > 3) {
        CopyArgument(szFlag, sizeof szFlag, __argv[3]);
        if (szFlag[0] != '\0')
            g_nAutoExit = atoi(szFlag);
    }
    if (m_bCmdLineMode == 1)
        SetPackagePath(szPath);
}

bool CTAVIUpdataDlg::LoadSystemLibrary()
{
    if (LoadPlinth(1) < 0)
        return false;
    GetPlinth(g_PlinthEnv);
    PostLog("TAVI升级工具");
    char szVersion[1024] = {};
    GetVers(nullptr, szVersion);
    CString strVersion;
    strVersion.Format("版本:%s", szVersion);
    m_stcVersion.SetWindowText(strVersion);
    return true;
}

void CTAVIUpdataDlg::EnsureSystemLibraryCopy()
{
    char szSystemDir[260] = {};
    char szPlinthPath[500] = {};
    const UINT nLength = GetSystemDirectoryA(szSystemDir, sizeof szSystemDir);
    if (nLength > 0 && nLength < sizeof szSystemDir)
        snprintf(szPlinthPath, sizeof szPlinthPath, "%s\\plinth.dll", szSystemDir);
    if (szPlinthPath[0] == '\0')
        ShowMessage("获取系统文件异常!");
    snprintf(m_szPlinthPath, sizeof m_szPlinthPath, "%s", szPlinthPath);
    if (m_szPlinthPath[0] == '\0')
        return;

    // A library already in place is never replaced here. A copy made now was
    // missing when this start loaded the library: load it, so that this
    // start's run can use it.
    char szSource[500];
    snprintf(szSource, sizeof szSource, "%s\\plinth.dll", MASTER_BIN_DIR);
    CFileFind finder;
    if (!finder.FindFile(m_szPlinthPath) && CopyFileA(szSource, m_szPlinthPath, FALSE))
        LoadSystemLibrary();
}

void CTAVIUpdataDlg::ShowMessage(LPCSTR pszText)
{
    // The timer is the dialog's, served by the message box's own loop.
    if (m_bCmdLineMode == 1)
        ::SetTimer(m_hWnd, TIMER_MESSAGE_TIMEOUT, MESSAGE_TIMEOUT_MS, PressOkOnMessageBox);
    ::MessageBoxA(m_hWnd, pszText, AfxGetApp()->m_pszAppName, MB_OK);
    ::KillTimer(m_hWnd, TIMER_MESSAGE_TIMEOUT);
}

void CTAVIUpdataDlg::OnUpgradeClicked()
{
    CFileDialog dlg(TRUE, "tv2bck", "D:\\TAVI\\*.tv2bck", OFN_OVERWRITEPROMPT,
                    "open files (*.tv2bck)|*.tv2bck|ALL files (*.*)|*.*||", this);
    if (dlg.DoModal() != IDOK)
        return;

    SetPackagePath(dlg.GetPathName());

    m_btnUpgrade.EnableWindow(FALSE);
    StartUpdateThread();
}

void CTAVIUpdataDlg::OnBrowseClicked()
{
}

void CTAVIUpdataDlg::StartUpdateThread()
{
    if (g_hUpdateThread != nullptr)
        return;
    // An earlier worker has published its end; it may still be leaving its thread.
    if (m_hWorker) {
        CloseHandle(m_hWorker);
        m_hWorker = nullptr;
    }
    // Suspended until its handle is published, so that its own end cannot come first.
    HANDLE hThread = CreateThread(nullptr, 0, UpdateThreadProc, this, CREATE_SUSPENDED, nullptr);
    g_nExitCode = engine::RUN_NOT_FINISHED;
    if (!hThread) {
        SetStatusText("无法启动升级,请重试!");
        m_btnUpgrade.EnableWindow(TRUE);
        // A run that could not start has ended all the same: the auto-exit closes the tool.
        if (m_bCmdLineMode == 1)
            g_bUpdateDone = 1;
        return;
    }
    m_hWorker = hThread;
    g_hUpdateThread = hThread;
    ResumeThread(hThread);
}

bool CTAVIUpdataDlg::IsWorkerRunning() const
{
    return m_hWorker && WaitForSingleObject(m_hWorker, 0) == WAIT_TIMEOUT;
}

void CTAVIUpdataDlg::WaitForWorker()
{
    // The worker may be sending to this thread's windows: serve those messages while waiting.
    while (MsgWaitForMultipleObjects(1, &m_hWorker, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void CTAVIUpdataDlg::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_START_RUN:
        KillTimer(TIMER_START_RUN);
        StartUpdateThread();
        break;
    case TIMER_AUTO_EXIT:
        if (g_bUpdateDone == 1 && g_nAutoExit == 1) {
            KillTimer(TIMER_AUTO_EXIT);
            OnCancel();
        }
        break;
    case TIMER_UNPACK_PROGRESS: {
        const int nPercent = GetUnCompressFileExCnt();
        if (nPercent >= 0)
            m_progress.SetPos(nPercent);
        if (nPercent >= 100)
            KillTimer(TIMER_UNPACK_PROGRESS);
        break;
    }
    case TIMER_LOG_CYCLE:
        m_logBatch.Flush();
        break;
    }
    CBDialog::OnTimer(nIDEvent);
}

LRESULT CTAVIUpdataDlg::OnUnpackTimerRequest(WPARAM wParam, LPARAM)
{
    if (wParam)
        SetTimer(TIMER_UNPACK_PROGRESS, 100);
    else
        KillTimer(TIMER_UNPACK_PROGRESS);
    return 0;
}

LRESULT CTAVIUpdataDlg::OnLogRequest(WPARAM wParam, LPARAM lParam)
{
    const auto pszText = reinterpret_cast<LPCSTR>(lParam);
    switch (wParam) {
    case LOG_APPEND:
        m_logBatch.Append(pszText);
        break;
    case LOG_REPLACE:
        m_logBatch.Replace(pszText);
        break;
    case LOG_FLUSH:
        m_logBatch.Flush();
        break;
    }
    return 0;
}

LRESULT CTAVIUpdataDlg::OnProgressPosRequest(WPARAM wParam, LPARAM)
{
    m_progress.SetPos(static_cast<int>(wParam));
    return 0;
}

void CTAVIUpdataDlg::OnOK()
{
    // Enter does not close the tool.
}

void CTAVIUpdataDlg::OnCancel()
{
    if (m_bCloseStarted)
        return;
    m_bCloseStarted = true;

    // Wait a little for a running worker, keeping the window responsive.
    g_bThreadEnd = 0;
    const DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < CLOSE_WAIT_MS) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(1);
        if (g_bThreadEnd != 0) {
            TRACE("Thread End \n");
            g_hUpdateThread = nullptr;
            break;
        }
    }
    g_hUpdateThread = nullptr;

    if (IsWorkerRunning()) {
        // The run stops at its next step; the library goes once it has (destructor).
        m_bClosing = true;
        m_bUnloadAfterWorker = true;
    } else {
        FreePlinth();
    }
    m_logBatch.Flush();  // the last lines are in the pane before the window goes
    CBDialog::OnCancel();
}

void CTAVIUpdataDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CTAVIAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CBDialog::OnSysCommand(nID, lParam);
    }
}

void CTAVIUpdataDlg::OnPaint()
{
    if (!IsIconic()) {
        CBDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hAppIcon);
}

HCURSOR CTAVIUpdataDlg::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(m_hAppIcon);
}

HBRUSH CTAVIUpdataDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    const HBRUSH hBrush = CBDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetTextColor(RGB(0, 0, 255));
    switch (pWnd->GetDlgCtrlID()) {
    case IDC_STC_VERSION:
    case IDC_STC_MAKER:
    case IDC_STC_PATH_LABEL:
        // These show the background bitmap behind their text.
        pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    default:
        return hBrush;
    }
}

void CTAVIUpdataDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A press on any free spot drags the window, as its caption would.
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    CBDialog::OnLButtonDown(nFlags, point);
}

LRESULT CTAVIUpdataDlg::OnDestroyWindow(WPARAM, LPARAM)
{
    RemovePropA(m_hWnd, AfxGetApp()->m_pszExeName);
    return Default();
}
