#pragma once
#include <windows.h>
#include <atomic>

#include "PlinthContract.h"

// Shared by the dialog and the update worker for the life of the process. The
// dialog writes the inputs before it starts a worker; the worker publishes its
// end in the order g_bThreadEnd, g_hUpdateThread, upgrade button, g_bUpdateDone.
extern char g_szPackagePath[500];            // the package's full path
extern char g_szUpdateDir[500];              // its directory, without a trailing backslash
extern int g_nShowLog;                       // 1: a log line per installed file
extern int g_nAutoExit;                      // 1: close by itself once the run is done
extern std::atomic<HANDLE> g_hUpdateThread;  // the worker, 0 when there is none
extern std::atomic<int> g_bThreadEnd;        // 1 once the worker's run has returned
extern std::atomic<int> g_bUpdateDone;       // 1 as the worker's last step
// The process's exit code: the outcome of the last run (engine::RunOutcome),
// 0 while none has run. Written before the worker's end flags.
extern std::atomic<int> g_nExitCode;
extern BYTE g_PlinthEnv[PLINTH_ENV_SIZE];    // the system library's environment record

// The run's inputs from a package path, whether the command line or the file
// dialog named it: g_szPackagePath takes the path (cut to fit), g_szUpdateDir
// the part before its last backslash (or slash), empty when it has none.
void SetPackagePath(const char* pszPath);
