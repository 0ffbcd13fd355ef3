#pragma once
#include <windows.h>
#include <atomic>

#include "BDialog.h"
#include "CButton.h"
#include "CEdit.h"
#include "CProgressCtrl.h"
#include "CStatic.h"
#include "CString.h"
#include "ImageButton.h"
#include "InstalledVersions.h"
#include "MyRunIcon.h"
#include "LogBatch.h"
#include "SharedState.h"
#include "UpdateRun.h"
#include "resource.h"

class CPackageConfig;
class CStagingFolder;
namespace engine {
class CPackageCheck;
class CPackageTrust;
}

// The update tool's main window. It also holds the update engine: the run and
// the operations of its rules are members (kept in engine/UpdateRun.cpp), so
// the run reaches the controls directly; the rules themselves are engine/'s
// free functions.
class CTAVIUpdataDlg : public CBDialog {
public:
    enum { IDD = IDD_TAVIUPDATA_DIALOG };
    enum {
        TIMER_START_RUN = 1,
        TIMER_AUTO_EXIT = 2,
        TIMER_MESSAGE_TIMEOUT = 3,
        TIMER_UNPACK_PROGRESS = 4,
        TIMER_LOG_CYCLE = 5
    };

    explicit CTAVIUpdataDlg(CWnd* pParent = nullptr);
    // Waits for a worker that outlived the dialog, then unloads the system library.
    ~CTAVIUpdataDlg() override;

    // The worker's procedure; its parameter is the dialog.
    static DWORD WINAPI UpdateThreadProc(LPVOID pParam);

    // The update run (engine/UpdateRun.h), on the worker thread.
    engine::RunOutcome RunUpdate(const char* pszUpdateDir, const char* pszPackagePath);
    void AppendLog(CString strLine);

    // The rules' operations, as engine/ReplaceRules.h, RelatedPrograms.h and
    // StagingCleanup.h have them.
    int NeedReplaceFile(const char* pszDestPath, const char* pszFileTime, const char* pszFileVersion,
                        const char* pszStagedPath);
    void CreateDirectoryChain(CString strDirectory);
    int DirectoryExists(CString strPath);
    int CreateSubDirectory(const char* pszName, const char* pszParent);
    int CloseRelatedPrograms();
    void RemoveStagingDirectory(CString strStaging);
    int ClearReadOnlyAttribute(CString strPath);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnUpgradeClicked();
    void OnBrowseClicked();
    void OnTimer(UINT_PTR nIDEvent);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnLButtonDown(UINT nFlags, CPoint point);
    LRESULT OnDestroyWindow(WPARAM wParam, LPARAM lParam);
    // Sent by the worker: starts (wParam TRUE) or stops timer 4 on this thread.
    LRESULT OnUnpackTimerRequest(WPARAM wParam, LPARAM lParam);
    // Sent by the worker: the log pane's text (lParam) and what to do with
    // it (wParam, a LogRequest).
    LRESULT OnLogRequest(WPARAM wParam, LPARAM lParam);
    // Sent by the worker: moves the progress bar to wParam.
    LRESULT OnProgressPosRequest(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Sent by the worker to start (wParam TRUE) or stop timer 4.
    static constexpr UINT WM_UNPACK_TIMER = WM_APP + 1;
    // Sent for the log pane, so that a line costs the worker one hand-over.
    static constexpr UINT WM_LOG_TEXT = WM_APP + 2;
    enum LogRequest { LOG_APPEND, LOG_REPLACE, LOG_FLUSH };
    // Sent by the worker for each position of the run's progress.
    static constexpr UINT WM_SET_PROGRESS = WM_APP + 3;

    // What a run keeps across its files.
    struct RunState {
        int nFailed = 0;
        bool bLibraryReplaced = false;  // the system library was replaced in this run
        bool bLibraryLost = false;      // ...and could not be loaded again
    };

    void ParseCommandLine();
    // Loads the system library from the system directory and shows its version.
    bool LoadSystemLibrary();
    // Copies the master copy of the system library into the system directory
    // when none is there, and loads it if this start could not.
    void EnsureSystemLibraryCopy();
    // A message box with the application's name as its caption. After a
    // command-line start nobody may be there: it closes by itself after a while.
    void ShowMessage(LPCSTR pszText);
    void StartUpdateThread();
    bool IsWorkerRunning() const;
    void WaitForWorker();

    // The run's steps and its hand-over to this thread's windows (engine/UpdateRun.cpp).
    bool IsClosing() const { return m_bClosing.load(); }
    // The checks before any program of the line is ended, and the staging
    // directory made ready; false, with the run's outcome, when it stops there.
    bool PrepareRun(const char* pszUpdateDir, const char* pszPackagePath, engine::CPackageCheck& check,
                    engine::CPackageTrust& trust, CStagingFolder& staging, engine::RunOutcome& outcome);
    // False when the file was to be installed and was not.
    bool InstallStagedFile(const CString& strName, const CString& strStaging, const CPackageConfig& config,
                           RunState& run);
    // Copies the staged file unless the installed one is newer, and logs it;
    // false when it was to be copied and was not.
    bool CopyIfNewer(const CString& strName, const CString& strStaged, const CString& strDest,
                     const CString& strFileTime, const CString& strFileVersion);
    bool ReplaceSystemLibrary(const char* pszStagedPath, RunState& run);
    void LogFileResult(const CString& strName, bool bInstalled);
    void SetStatusText(LPCSTR pszText);
    // Replaces the log pane's whole text with m_strLog.
    void ShowWholeLog();
    void ResetProgress(int nUpper);
    void SetProgressPos(int nPos);
    void SetUnpackTimer(bool bRunning);

public:
    // The dialog's data and controls; the worker reaches the controls directly.
    int m_bCmdLineMode = 0;
    char m_szPlinthPath[500] = {};
    CString m_strLog;
    CMyRunIcon m_runIcon;
    CStatic m_stcPathLabel;
    CStatic m_stcVersion;
    CEdit m_edtLog;
    CButton m_btnBrowse;
    CImageButton m_btnUpgrade;
    CStatic m_stcStatus;
    CProgressCtrl m_progress;
    CEdit m_edtPath;
    HICON m_hAppIcon = nullptr;

private:
    // The log pane gets a line per file of a run; its lines are put into it
    // once per cycle of timer 5.
    CLogBatch m_logBatch;
    // What the run knows of its destinations (NeedReplaceFile).
    CInstalledVersions m_installedVersions;
    std::atomic<bool> m_bClosing{false};  // the dialog closed while a run was still going
    bool m_bCloseStarted = false;         // a close is waiting for the worker already
    bool m_bUnloadAfterWorker = false;    // the close left the library loaded for the worker
    HANDLE m_hWorker = nullptr;           // the last worker thread, kept to wait for it
};
