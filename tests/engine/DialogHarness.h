#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

#include "TAVIUpdataDlg.h"

// Runs the real main dialog as the program does (modal, template 102) and
// calls the test's body from inside its message loop once it is open. The
// body may close it; otherwise the harness ends it after the body, unless
// bEndAfterBody is false (the dialog is then to close by itself).
// Answers the process's exit code as the dialog left it (g_nExitCode).
int RunInDialog(const std::function<void(CTAVIUpdataDlg&)>& body, bool bEndAfterBody = true);

// A visible dialog window owned by hOwner, waited for up to dwTimeoutMs.
HWND WaitForOwnedDialog(HWND hOwner, DWORD dwTimeoutMs = 10000);

// Dispatches this thread's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, DWORD dwTimeoutMs = 60000);

// Sets the inputs and starts a run as the command-line start does (timer 1),
// then serves the dialog until the worker has published its end.
bool RunUpdateAndWait(CTAVIUpdataDlg& dlg, const std::string& updateDir, const std::string& packagePath,
                      int nShowLog = 1, DWORD dwTimeoutMs = 60000);

// Presses the upgrade button as the operator does: a thread of the test
// waits for the file dialog, types the package's path and opens it. Answers
// the file dialog's first filter. The run has started when it returns, with
// g_bUpdateDone cleared.
std::string PickWithUpgradeButton(CTAVIUpdataDlg& dlg, const std::string& package);

std::string ItemText(const CTAVIUpdataDlg& dlg, int nID);

// What the run did to the status text and the progress bar, in order.
class ControlRecorder {
public:
    struct Event {
        enum Kind { Status, Range, Pos } kind;
        std::string text;     // Status
        int value = 0;        // Range: the upper bound; Pos: the position
        bool bFromWorker = false;
        LONGLONG llTime = 0;  // QueryPerformanceCounter when it arrived
    };

    explicit ControlRecorder(CTAVIUpdataDlg& dlg);
    ~ControlRecorder();

    std::vector<std::string> StatusTexts() const;
    // Positions set after the last range change, and that range's upper bound.
    std::vector<int> PositionsOfLastRange() const;
    int LastRange() const;
    std::vector<Event> m_events;

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    HWND m_hStatus;
    HWND m_hProgress;
};
