#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

#include "CWinApp.h"
#include "DialogHarness.h"
#include "EngineFixture.h"
#include "PlinthLoader.h"
#include "PlinthWrappers.h"
#include "ProcessCounts.h"
#include "TestFiles.h"

namespace {
CTAVIUpdataDlg* g_pLeftOpen = nullptr;

// Ends a dialog that failed to close by itself, so that the test fails instead of hanging.
void CALLBACK EndLeftOpen(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    KillTimer(nullptr, nIDEvent);
    g_pLeftOpen->EndDialog(IDCANCEL);
}

// Takes every free stretch of address space of a megabyte or more, so that
// no thread's stack fits, and gives it back when it goes.
class AddressSpaceFiller {
public:
    AddressSpaceFiller()
    {
        for (SIZE_T size = 1u << 30; size >= (1u << 20); size /= 2)
            while (void* pBlock = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS))
                m_blocks.push_back(pBlock);
    }
    ~AddressSpaceFiller()
    {
        for (void* pBlock : m_blocks)
            VirtualFree(pBlock, 0, MEM_RELEASE);
    }

private:
    std::vector<void*> m_blocks;
};

// The structure size of the last tool added to a tooltip, and the answer.
UINT g_nToolInfoSize = 0;
LRESULT g_lAddToolResult = 0;

LRESULT CALLBACK RecordAddTool(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* pMessage = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMessage->message == TTM_ADDTOOLA) {
        g_nToolInfoSize = reinterpret_cast<const TOOLINFOA*>(pMessage->lParam)->cbSize;
        g_lAddToolResult = pMessage->lResult;
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

std::string MenuText(HMENU hMenu, UINT nID)
{
    char text[256] = {};
    GetMenuStringA(hMenu, nID, text, sizeof text, MF_BYCOMMAND);
    return text;
}

// Whether a control's last change was painted, as it stood when the control
// was destroyed: the changes that count are a log pane's new text and a
// progress bar's new position.
struct PaintWatch {
    int nChanges = 0;
    int nChangesPainted = -1;
    bool bVisibleAtDestroy = false;
    bool bDestroyed = false;

    static LRESULT CALLBACK Proc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR dwData)
    {
        auto* pWatch = reinterpret_cast<PaintWatch*>(dwData);
        if (nMsg == EM_REPLACESEL || nMsg == PBM_SETPOS)
            ++pWatch->nChanges;
        else if (nMsg == WM_PAINT)
            pWatch->nChangesPainted = pWatch->nChanges;
        else if (nMsg == WM_DESTROY) {
            pWatch->bVisibleAtDestroy = (GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
            pWatch->bDestroyed = true;
            RemoveWindowSubclass(hWnd, Proc, 1);
        }
        return DefSubclassProc(hWnd, nMsg, wParam, lParam);
    }
};
}

class DialogTest : public EngineTest {
protected:
    // A one-file package whose directory part holds the file's own name.
    void SetUp() override
    {
        EngineTest::SetUp();
        m_packageDir = m_dir + "\\a.tv2bck";
        m_package = m_packageDir + "\\a.tv2bck";
        MakeDirectories(m_packageDir);
        StoredZip zip;
        zip.Add("a.txt", "a");
        zip.Add("TAVIBK.cfg", ConfigText({{"a.txt", m_dir + "\\inst\\a.txt"}}, "p", 1));
        zip.Write(m_package);
    }

    void SetCommandLine(std::vector<const char*> args)
    {
        m_args.assign(args.begin(), args.end());
        m_args.push_back(nullptr);
        __argc = static_cast<int>(args.size());
        __argv = const_cast<char**>(m_args.data());
    }

    std::string m_packageDir, m_package;
    std::vector<const char*> m_args;
};

TEST_F(DialogTest, OpensReadyForTheOperator)
{
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        char szVersion[1024] = {};
        GetVers(nullptr, szVersion);
        EXPECT_EQ(std::string("版本:") + szVersion, ItemText(dlg, IDC_STC_VERSION));
        EXPECT_NE(nullptr, g_hPlinth);
        EXPECT_EQ("关于 TAVIUpdata(&A)...", MenuText(GetSystemMenu(dlg.m_hWnd, FALSE), IDM_ABOUTBOX));
        EXPECT_NE(nullptr, GetPropA(dlg.m_hWnd, AfxGetApp()->m_pszExeName)) << "found by a second copy";
        EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.m_hAppIcon), dlg.SendMessage(WM_GETICON, ICON_BIG));
        EXPECT_NE(nullptr, dlg.m_hAppIcon);
        EXPECT_TRUE(dlg.m_btnUpgrade.IsWindowVisible());
        EXPECT_TRUE(dlg.m_edtPath.IsWindowVisible());
        EXPECT_EQ("请选择升级文件路径", ItemText(dlg, IDC_STC_STATUS));
        EXPECT_EQ(SystemLibraryPath(), dlg.m_szPlinthPath);
        EXPECT_FALSE(KillTimer(dlg.m_hWnd, CTAVIUpdataDlg::TIMER_START_RUN)) << "no run without a command line";
    });
}

TEST_F(DialogTest, CommandLineRunStaysOpenWithoutAutoExit)
{
    SetCommandLine({"TAVIUpdata.exe", m_package.c_str(), "0", "0"});
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        EXPECT_EQ(1, dlg.m_bCmdLineMode);
        EXPECT_FALSE(dlg.m_btnUpgrade.IsWindowVisible());
        EXPECT_FALSE(dlg.m_edtPath.IsWindowVisible());
        EXPECT_FALSE(dlg.m_stcPathLabel.IsWindowVisible());
        EXPECT_EQ(m_packageDir, g_szUpdateDir);
        EXPECT_EQ(m_package, g_szPackagePath);
        EXPECT_EQ(0, g_nShowLog);
        EXPECT_EQ(0, g_nAutoExit);

        ASSERT_TRUE(PumpUntil([] { return g_bUpdateDone == 1; }));
        EXPECT_EQ("更新完成", ItemText(dlg, IDC_STC_STATUS));
        EXPECT_EQ(std::string::npos, ItemText(dlg, IDC_EDT_LOG).find("已更新"));
        // Two ticks of timer 2 later the dialog is still open.
        PumpUntil([] { return false; }, 2100);
        EXPECT_NE(nullptr, g_hPlinth) << "closed by itself";
    });
    EXPECT_EQ("a", ReadBytes(m_dir + "\\inst\\a.txt"));
}

TEST_F(DialogTest, CommandLineRunWithAutoExitClosesByItself)
{
    SetCommandLine({"TAVIUpdata.exe", m_package.c_str()});
    const DWORD dwStart = GetTickCount();
    UINT_PTR nSafetyTimer = 0;
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        g_pLeftOpen = &dlg;
        nSafetyTimer = SetTimer(nullptr, 0, 20000, EndLeftOpen);
    }, false);
    KillTimer(nullptr, nSafetyTimer);
    EXPECT_LT(GetTickCount() - dwStart, 15000u);
    EXPECT_EQ(1, g_bUpdateDone.load());
    EXPECT_EQ(nullptr, g_hPlinth) << "the close unloads the library";
    EXPECT_EQ("a", ReadBytes(m_dir + "\\inst\\a.txt"));
}

TEST_F(DialogTest, CommandLineRunWhoseWorkerCannotStartStillClosesByItself)
{
    SetCommandLine({"TAVIUpdata.exe", m_package.c_str()});
    std::string status;
    UINT_PTR nSafetyTimer = 0;
    const int nExitCode = RunInDialog([&](CTAVIUpdataDlg& dlg) {
        g_pLeftOpen = &dlg;
        nSafetyTimer = SetTimer(nullptr, 0, 20000, EndLeftOpen);
        // Timer 1's start, with no room left for the worker's stack.
        ASSERT_TRUE(KillTimer(dlg.m_hWnd, CTAVIUpdataDlg::TIMER_START_RUN)) << "the run started already";
        {
            AddressSpaceFiller filler;
            dlg.SendMessage(WM_TIMER, CTAVIUpdataDlg::TIMER_START_RUN);
        }
        status = ItemText(dlg, IDC_STC_STATUS);
    }, false);
    KillTimer(nullptr, nSafetyTimer);
    EXPECT_EQ("无法启动升级,请重试!", status);
    EXPECT_EQ(1, g_bUpdateDone.load()) << "closed by the safety timer, not by itself";
    EXPECT_EQ(engine::RUN_NOT_FINISHED, nExitCode);
    EXPECT_FALSE(FileExists(m_dir + "\\inst\\a.txt"));
}

TEST_F(DialogTest, UpgradeHintIsAddedWithAStructureEveryCommonControlsVersionTakes)
{
    g_nToolInfoSize = 0;
    HHOOK hHook = SetWindowsHookExA(WH_CALLWNDPROCRET, RecordAddTool, nullptr, GetCurrentThreadId());
    RunInDialog([](CTAVIUpdataDlg&) {});
    UnhookWindowsHookEx(hHook);
    EXPECT_TRUE(g_lAddToolResult);
    // comctl32 5.x refuses anything larger than its own structure (version 2).
    EXPECT_GE(g_nToolInfoSize, TTTOOLINFOA_V1_SIZE);
    EXPECT_LE(g_nToolInfoSize, TTTOOLINFOA_V2_SIZE);
}

TEST_F(DialogTest, CloseWaitsHalfASecondThenUnloadsTheLibrary)
{
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        const DWORD dwStart = GetTickCount();
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
        EXPECT_GE(GetTickCount() - dwStart, 500u);
        EXPECT_EQ(nullptr, g_hPlinth);
    });
}

TEST_F(DialogTest, LogPaneAndProgressBarShowTheirLastStateBeforeTheToolCloses)
{
    SetCommandLine({"TAVIUpdata.exe", m_package.c_str(), "1", "0"});
    PaintWatch log, progress;
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        SetWindowSubclass(dlg.m_edtLog.m_hWnd, PaintWatch::Proc, 1, reinterpret_cast<DWORD_PTR>(&log));
        SetWindowSubclass(dlg.m_progress.m_hWnd, PaintWatch::Proc, 1, reinterpret_cast<DWORD_PTR>(&progress));
        ASSERT_TRUE(PumpUntil([] { return g_bUpdateDone == 1; }));
        // A line that comes just before the close.
        dlg.AppendLog("last line");
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    }, false);
    for (const PaintWatch* pWatch : {&log, &progress}) {
        ASSERT_TRUE(pWatch->bDestroyed);
        EXPECT_GT(pWatch->nChanges, 0);
        EXPECT_EQ(pWatch->nChanges, pWatch->nChangesPainted);
        EXPECT_TRUE(pWatch->bVisibleAtDestroy);
    }
}

TEST_F(DialogTest, ThreeStaticsShowTheBackgroundBehindBlueText)
{
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        for (int nID : {IDC_STC_VERSION, IDC_STC_MAKER, IDC_STC_PATH_LABEL, IDC_STC_STATUS}) {
            HWND hStatic = GetDlgItem(dlg.m_hWnd, nID);
            HDC hDC = GetDC(hStatic);
            SetBkMode(hDC, OPAQUE);
            const LRESULT brush = dlg.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                                  reinterpret_cast<LPARAM>(hStatic));
            const bool bTransparent = nID != IDC_STC_STATUS;
            EXPECT_EQ(bTransparent, brush == reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH))) << nID;
            EXPECT_EQ(bTransparent ? TRANSPARENT : OPAQUE, GetBkMode(hDC)) << nID;
            EXPECT_EQ(RGB(0, 0, 255), GetTextColor(hDC)) << nID;
            ReleaseDC(hStatic, hDC);
        }
    });
}

TEST_F(DialogTest, PickedPackageRunsFromItsOwnDirectory)
{
    std::string filter;
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        filter = PickWithUpgradeButton(dlg, m_package);
        EXPECT_EQ(m_package, g_szPackagePath);
        EXPECT_EQ(m_packageDir, g_szUpdateDir) << "the directory keeps the name it shares with the file";
        ASSERT_TRUE(PumpUntil([] { return g_bUpdateDone == 1; }));
        EXPECT_EQ("更新完成", ItemText(dlg, IDC_STC_STATUS));
        EXPECT_TRUE(IsWindowEnabled(dlg.m_btnUpgrade.m_hWnd));
    });
    EXPECT_EQ("open files (*.tv2bck)", filter);
    EXPECT_EQ("a", ReadBytes(m_dir + "\\inst\\a.txt"));
}

TEST_F(DialogTest, AboutBoxFromTheSystemMenu)
{
    std::string caption;
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        std::thread reader([&] {
            HWND hAbout = WaitForOwnedDialog(dlg.m_hWnd);
            if (!hAbout)
                return;
            char text[256] = {};
            GetWindowTextA(hAbout, text, sizeof text);
            caption = text;
            PostMessageA(hAbout, WM_COMMAND, IDOK, 0);
        });
        dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
        reader.join();
    });
    EXPECT_EQ("关于 TAVI升级工具", caption);
}

namespace {
// How many runs, after the first, left a count above every count before them.
int NewHighs(const std::vector<ProcessCounts>& runs, DWORD ProcessCounts::*pCount)
{
    int nHighs = 0;
    DWORD dwHighest = runs.front().*pCount;
    for (const ProcessCounts& counts : runs) {
        nHighs += counts.*pCount > dwHighest;
        dwHighest = std::max(dwHighest, counts.*pCount);
    }
    return nHighs;
}
} // namespace

TEST_F(DialogTest, RunsFromTheUpgradeButtonLeaveNoHandlesOrObjectsBehind)
{
    // The first runs in a new prefix fill caches (the file dialog's icons,
    // say), for more runs on a new machine than on a used one: the runs are
    // measured once the counts have stood still for a few runs in a row.
    const int kSteadyRuns = 3, kMostWarmUpRuns = 25, kMeasuredRuns = 10;
    int nWarmUpRuns = 0;
    std::vector<ProcessCounts> measured;
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        auto run = [&] {
            PickWithUpgradeButton(dlg, m_package);
            return PumpUntil([] { return g_bUpdateDone == 1; }) && ItemText(dlg, IDC_STC_STATUS) == "更新完成";
        };
        ProcessCounts previous = CountsOfThisProcess();
        for (int nSteady = 0; nSteady < kSteadyRuns && nWarmUpRuns < kMostWarmUpRuns; ++nWarmUpRuns) {
            ASSERT_TRUE(run()) << "warm-up run " << nWarmUpRuns + 1;
            const ProcessCounts counts = CountsOfThisProcess();
            const bool bSame = counts.dwHandles == previous.dwHandles && counts.dwGdiObjects == previous.dwGdiObjects &&
                               counts.dwUserObjects == previous.dwUserObjects;
            nSteady = bSame ? nSteady + 1 : 0;
            previous = counts;
        }
        measured.push_back(previous);
        for (int nRun = 1; nRun <= kMeasuredRuns; ++nRun) {
            ASSERT_TRUE(run()) << "measured run " << nRun;
            measured.push_back(CountsOfThisProcess());
        }
    });
    ASSERT_EQ(measured.size(), static_cast<size_t>(kMeasuredRuns + 1));
    std::printf("after %d warm-up runs: %lu handles, %lu GDI, %lu USER; after %d more: %lu, %lu, %lu\n", nWarmUpRuns,
                measured.front().dwHandles, measured.front().dwGdiObjects, measured.front().dwUserObjects,
                kMeasuredRuns, measured.back().dwHandles, measured.back().dwGdiObjects, measured.back().dwUserObjects);
    std::printf("GDI objects after each:");
    for (const ProcessCounts& counts : measured)
        std::printf(" %lu", counts.dwGdiObjects);
    std::printf("\n");
    EXPECT_GT(measured.front().dwHandles, 0u);
    EXPECT_GT(measured.front().dwGdiObjects, 0u);
    EXPECT_GT(measured.front().dwUserObjects, 0u);
    // An object lost per run makes a new high on every run, one lost every
    // third run on three of them. A cache that fills (Wine's file dialog
    // draws through the shell's) or an object that comes and goes makes one
    // or two.
    const int kMostNewHighs = 2;
    EXPECT_LE(NewHighs(measured, &ProcessCounts::dwHandles), kMostNewHighs);
    EXPECT_LE(NewHighs(measured, &ProcessCounts::dwGdiObjects), kMostNewHighs);
    EXPECT_LE(NewHighs(measured, &ProcessCounts::dwUserObjects), kMostNewHighs);
}
