// The dialog's engine members: the update run (UpdateRun.h tells its steps)
// and the operations of its rules, which pass on to the free functions of
// engine/. The run works on the worker thread; every change to the dialog's
// windows is a message sent to the user-interface thread, so it has taken
// effect before the run goes on.
#include "TAVIUpdataDlg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "AfxTrace.h"
#include "AnsiText.h"
#include "CFileFind.h"
#include "PackageCheck.h"
#include "PackageConfig.h"
#include "PackageTrust.h"
#include "PlinthCheck.h"
#include "PlinthLoader.h"
#include "PlinthWrappers.h"
#include "RelatedPrograms.h"
#include "ReplaceRules.h"
#include "SharedState.h"
#include "StagingCleanup.h"
#include "StagingFolder.h"
#include "UpdateRun.h"

using engine::CONFIG_NAME;
using engine::STAGING_NAME;

namespace {
constexpr int LOG_LIMIT = 1000000;     // bytes the log pane keeps
constexpr int PROGRESS_LIMIT = 65535;  // the progress range is 16-bit
// How long a run waits for another run on the same package folder, as a
// second start waits for the first copy.
constexpr DWORD OTHER_RUN_WAIT_MS = 60000;
}

DWORD WINAPI CTAVIUpdataDlg::UpdateThreadProc(LPVOID pParam)
{
    TRACE("START Thread \n");
    auto* pDlg = static_cast<CTAVIUpdataDlg*>(pParam);
    if (!pDlg) {
        g_hUpdateThread = nullptr;
        return 1;
    }
    g_nExitCode = pDlg->RunUpdate(g_szUpdateDir, g_szPackagePath);
    // The run's last lines are in the pane before its end is published.
    pDlg->SendMessage(WM_LOG_TEXT, LOG_FLUSH);
    g_bThreadEnd = 1;
    TRACE("END Thread \n");
    g_hUpdateThread = nullptr;
    pDlg->m_btnUpgrade.EnableWindow(TRUE);
    g_bUpdateDone = 1;
    return 1;
}

engine::RunOutcome CTAVIUpdataDlg::RunUpdate(const char* pszUpdateDir, const char* pszPackagePath)
{
    if (!engine::UpdateDirFits(pszUpdateDir)) {
        SetStatusText("升级文件路径过长,请重试!");
        return engine::RUN_PATH_TOO_LONG;
    }
    engine::CPackageCheck check;
    engine::CPackageTrust trust;  // holds an accepted package open until the run ends
    CStagingFolder staging;
    engine::RunOutcome outcome;
    if (!PrepareRun(pszUpdateDir, pszPackagePath, check, trust, staging, outcome))
        return outcome;

    SetStatusText("正在关闭已启动相关程序...");
    CloseRelatedPrograms();
    Sleep(100);
    if (IsClosing())
        return engine::RUN_NOT_FINISHED;

    SetStatusText("正在创建升级环境...");
    CreateSubDirectory(STAGING_NAME, pszUpdateDir);  // an existing one is fine
    if (IsClosing())
        return engine::RUN_NOT_FINISHED;

    SetStatusText("正在解压更新数据,若更新包大,时间较长,请等待...");
    char szTarget[500];
    snprintf(szTarget, sizeof szTarget, "%s\\%s", pszUpdateDir, STAGING_NAME);
    ResetProgress(100);
    SetUnpackTimer(true);
    if (UnCompressFile(pszPackagePath, szTarget) < 1) {
        SetProgressPos(0);
        SetUnpackTimer(false);
        SetStatusText("解压数据出现异常,请重试!");
        return engine::RUN_UNPACK_FAILED;
    }
    SetUnpackTimer(false);
    SetProgressPos(0);
    Sleep(50);
    if (IsClosing())
        return engine::RUN_NOT_FINISHED;

    CString strStaging;
    strStaging.Format("%s\\%s\\", pszUpdateDir, STAGING_NAME);
    const CPackageConfig config(strStaging + CONFIG_NAME);
    const CString strPackName = config.PackName();
    if (atoi(strPackName) == -1) {
        SetStatusText("文件非法或异常,请重试!");
        return engine::RUN_PACKAGE_REJECTED;
    }

    CString strHeader;
    strHeader.Format("\r\n升级包名称:%s\r\n创建时间:%s\r\n版本:%s\r\n\r\n", static_cast<LPCSTR>(strPackName),
                     static_cast<LPCSTR>(config.CreateTime()), static_cast<LPCSTR>(config.Version()));
    m_strLog = strHeader;
    ShowWholeLog();

    const int nCount = config.FileCount();
    SetStatusText("正在升级更新中...");
    ResetProgress(std::min(std::max(nCount, 0) + 10, PROGRESS_LIMIT));

    RunState run;
    m_installedVersions.Reset();
    int nPos = 0;
    CFileFind finder;
    BOOL bMore = finder.FindFile(strStaging + "*.*");
    while (bMore && !IsClosing()) {
        bMore = finder.FindNextFile();
        if (finder.IsDots() || finder.IsDirectory())
            continue;
        TRACE("%s\r\n", static_cast<LPCSTR>(finder.GetFileTitle()));
        if (!InstallStagedFile(finder.GetFileName(), strStaging, config, run))
            ++run.nFailed;
        SetProgressPos(++nPos);
    }
    finder.Close();
    if (IsClosing())
        return engine::RUN_NOT_FINISHED;

    staging.ReleaseDirectory();
    RemoveStagingDirectory(strStaging);
    nPos += 10;
    SetProgressPos(nPos);
    SetProgressPos(0);
    if (!trust.RecordApplied())
        AppendLog("已应用的升级包无法记入注册表!");
    if (run.nFailed == 0) {
        SetStatusText("更新完成");
        return engine::RUN_FINISHED;
    }
    CString strStatus;
    strStatus.Format("更新完成,但有%d个文件未能更新!", run.nFailed);
    SetStatusText(strStatus);
    return engine::RUN_FILES_FAILED;
}

bool CTAVIUpdataDlg::PrepareRun(const char* pszUpdateDir, const char* pszPackagePath, engine::CPackageCheck& check,
                                engine::CPackageTrust& trust, CStagingFolder& staging, engine::RunOutcome& outcome)
{
    const auto stop = [&](engine::RunOutcome stopOutcome, LPCSTR pszStatus) {
        SetStatusText(pszStatus);
        outcome = stopOutcome;
        return false;
    };
    switch (check.CheckEntries(pszUpdateDir, pszPackagePath)) {
    case engine::PACKAGE_REFUSED:
        return stop(engine::RUN_UNPACK_FAILED, "解压数据出现异常,请重试!");
    case engine::PACKAGE_PATH_TOO_LONG:
        return stop(engine::RUN_PATH_TOO_LONG, "升级文件路径过长,请重试!");
    case engine::PACKAGE_OK:
        break;
    }
    if (trust.IsSigningOn())
        SetStatusText(engine::SIGNATURE_CHECKING_TEXT);
    if (!trust.Check(pszPackagePath)) {
        AppendLog(trust.Refusal().c_str());
        return stop(engine::RUN_SIGNATURE_REFUSED, engine::SIGNATURE_REFUSED_TEXT);
    }
    const LPCSTR pszLinkStatus = "升级临时目录TAVIBACKTmp是链接,请删除后重试!";
    if (CStagingFolder::IsLink(pszUpdateDir))
        return stop(engine::RUN_STAGING_LINK, pszLinkStatus);

    bool bWaiting = false;
    const auto whileWaiting = [&] {
        if (!bWaiting)
            SetStatusText("另一个升级正在使用此目录,请稍候...");
        bWaiting = true;
        return !IsClosing();
    };
    if (staging.Lock(pszUpdateDir, OTHER_RUN_WAIT_MS, whileWaiting) != CStagingFolder::STAGING_READY) {
        if (IsClosing())
            return stop(engine::RUN_NOT_FINISHED, "另一个升级正在进行,请稍后重试!");
        return stop(engine::RUN_OTHER_COPY, "另一个升级正在进行,请稍后重试!");
    }
    if (staging.Prepare(pszUpdateDir) == CStagingFolder::STAGING_IS_LINK)
        return stop(engine::RUN_STAGING_LINK, pszLinkStatus);
    if (check.CheckDestinations(pszUpdateDir) == engine::PACKAGE_PATH_TOO_LONG) {
        // Nothing of this package is to stay.
        staging.ReleaseDirectory();
        CString strStaging;
        strStaging.Format("%s\\%s\\", pszUpdateDir, STAGING_NAME);
        RemoveStagingDirectory(strStaging);
        return stop(engine::RUN_PATH_TOO_LONG, "升级文件路径过长,请重试!");
    }
    return true;
}

bool CTAVIUpdataDlg::InstallStagedFile(const CString& strName, const CString& strStaging,
                                       const CPackageConfig& config, RunState& run)
{
    if (CPackageConfig::IsConfigurationFile(strName))
        return true;
    const CString strDest = config.Destination(strName);
    const CString strFileVersion = config.FileVersion(strName);
    const CString strFileTime = config.FileTime(strName);
    if (!CPackageConfig::IsListed(strDest))
        return true;

    // Paths that do not fit the buffers, and files after a failed reload of
    // the library (which can no longer judge versions), are not installed.
    const CString strStaged = strStaging + strName;
    const CString strDirectory = engine::DestinationDirectory(strDest);
    if (!engine::InstallPathsFit(strStaged, strDirectory) || run.bLibraryLost) {
        LogFileResult(strName, false);
        return false;
    }

    // A system library that would not serve is neither installed nor put
    // into the system directory: every later start would be left without one.
    const bool bLibrary = !run.bLibraryReplaced && engine::IsSystemLibrary(strName);
    if (bLibrary && !WhyPlinthLibraryFails(AnsiToWide(strStaged).c_str()).empty()) {
        run.bLibraryReplaced = true;
        LogFileResult(strName, false);
        AppendLog("系统库替换失败!");
        return false;
    }

    CreateDirectoryChain(strDirectory);
    bool bInstalled = CopyIfNewer(strName, strStaged, strDest, strFileTime, strFileVersion);
    if (bLibrary) {
        run.bLibraryReplaced = true;
        if (!ReplaceSystemLibrary(strStaged, run)) {
            AppendLog("系统库替换失败!");
            bInstalled = false;
        }
    }
    return bInstalled;
}

bool CTAVIUpdataDlg::CopyIfNewer(const CString& strName, const CString& strStaged, const CString& strDest,
                                 const CString& strFileTime, const CString& strFileVersion)
{
    int nDecision = NeedReplaceFile(strDest, strFileTime, strFileVersion, strStaged);
    bool bCopied = true;
    if (nDecision == 1 && m_installedVersions.AnsweredAbsent(strDest)) {
        // Believed absent: a file that another program put there meanwhile
        // is judged by the full rule instead of being overwritten.
        const engine::NewFileResult result = engine::InstallNewFile(strStaged, strDest);
        bCopied = result == engine::NEW_FILE_COPIED;
        if (result == engine::NEW_FILE_EXISTS) {
            m_installedVersions.FileWritten(strDest);
            nDecision = NeedReplaceFile(strDest, strFileTime, strFileVersion, strStaged);
            bCopied = nDecision != 1 || engine::InstallFile(strStaged, strDest);
        }
    } else if (nDecision == 1) {
        bCopied = engine::InstallFile(strStaged, strDest);
    }
    if (nDecision == 1) {
        m_installedVersions.FileWritten(strDest);
        LogFileResult(strName, bCopied);
    }
    return bCopied;
}

bool CTAVIUpdataDlg::ReplaceSystemLibrary(const char* pszStagedPath, RunState& run)
{
    FreePlinth();
    Sleep(50);
    const bool bCopied = engine::InstallFile(pszStagedPath, m_szPlinthPath);
    m_installedVersions.FileWritten(m_szPlinthPath);
    m_installedVersions.LibraryChanged();
    Sleep(50);
    if (LoadPlinth(1) > 0)
        GetPlinth(g_PlinthEnv);
    else
        run.bLibraryLost = true;
    return bCopied && !run.bLibraryLost;
}

void CTAVIUpdataDlg::LogFileResult(const CString& strName, bool bInstalled)
{
    if (g_nShowLog != 1)
        return;
    CString strLine;
    strLine.Format(bInstalled ? "%s 已更新..." : "%s 更新失败!", static_cast<LPCSTR>(strName));
    AppendLog(strLine);
}

void CTAVIUpdataDlg::AppendLog(CString strLine)
{
    const CString strAdded = strLine + "\r\n";
    if (m_strLog.GetLength() + strAdded.GetLength() > LOG_LIMIT) {
        // A full log starts again with the latest line alone.
        m_strLog = strLine;
        ShowWholeLog();
        return;
    }
    // Appended at the end of the pane, so the cost does not grow with the
    // text shown; the dialog's thread gathers the lines of a cycle.
    m_strLog += strAdded;
    SendMessage(WM_LOG_TEXT, LOG_APPEND, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strAdded)));
}

void CTAVIUpdataDlg::ShowWholeLog()
{
    SendMessage(WM_LOG_TEXT, LOG_REPLACE, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(m_strLog)));
}

void CTAVIUpdataDlg::SetStatusText(LPCSTR pszText)
{
    // The lines that led to a status are in the pane when it shows.
    SendMessage(WM_LOG_TEXT, LOG_FLUSH);
    m_stcStatus.SetWindowText(pszText);
}

void CTAVIUpdataDlg::ResetProgress(int nUpper)
{
    // The range is 16-bit: an upper bound up to 65535 keeps its bits.
    m_progress.SetRange(0, static_cast<short>(nUpper));
    m_progress.SetStep(1);
    m_progress.SetPos(0);
}

void CTAVIUpdataDlg::SetProgressPos(int nPos)
{
    SendMessage(WM_SET_PROGRESS, static_cast<WPARAM>(nPos));
}

void CTAVIUpdataDlg::SetUnpackTimer(bool bRunning)
{
    // Timers belong to the thread that owns the window.
    SendMessage(WM_UNPACK_TIMER, bRunning ? TRUE : FALSE);
}

// ---------------------------------------------------------------------------
// The rules' operations

int CTAVIUpdataDlg::NeedReplaceFile(const char* pszDestPath, const char* /*pszFileTime*/,
                                    const char* /*pszFileVersion*/, const char* pszStagedPath)
{
    return engine::NeedReplaceFile(pszDestPath, pszStagedPath, &m_installedVersions);
}

void CTAVIUpdataDlg::CreateDirectoryChain(CString strDirectory)
{
    engine::CreateDirectoryChain(strDirectory);
    m_installedVersions.ChainMade(strDirectory);
}

int CTAVIUpdataDlg::DirectoryExists(CString strPath)
{
    return engine::DirectoryExists(strPath);
}

int CTAVIUpdataDlg::CreateSubDirectory(const char* pszName, const char* pszParent)
{
    return engine::CreateSubDirectory(pszName, pszParent);
}

int CTAVIUpdataDlg::CloseRelatedPrograms()
{
    return engine::CloseRelatedPrograms();
}

void CTAVIUpdataDlg::RemoveStagingDirectory(CString strStaging)
{
    engine::RemoveStagingDirectory(strStaging);
}

int CTAVIUpdataDlg::ClearReadOnlyAttribute(CString strPath)
{
    return engine::ClearReadOnlyAttribute(strPath);
}
