#pragma once
#include <windows.h>
#include "CWinApp.h"

// The update tool's application object. Only one copy runs at a time: a
// second start brings the running copy's window forward and ends. The first
// copy runs the main dialog modally and ends when it closes.
class CTAVIUpdataApp : public CWinApp {
public:
    CTAVIUpdataApp() = default;

    // Always FALSE: the process ends when the main dialog has closed.
    BOOL InitInstance() override;
    // The outcome of the last run (README, "Exit codes").
    int ExitInstance() override;

private:
    // Creates the instance marker, waiting for a copy that holds it without a
    // window (it is ending, or still starting). False when another copy runs.
    bool TakeInstanceMarker();

    // Named by the executable; held open until the process ends, when the
    // system releases it, so that a copy that is shutting down still counts.
    HANDLE m_hInstanceMarker = nullptr;
};

extern CTAVIUpdataApp theApp;
