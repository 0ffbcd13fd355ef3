#include "SharedState.h"

#include <algorithm>
#include <cstdio>

#include "CString.h"

char g_szPackagePath[500] = {};
char g_szUpdateDir[500] = {};
int g_nShowLog = 1;
int g_nAutoExit = 1;
std::atomic<HANDLE> g_hUpdateThread{nullptr};
std::atomic<int> g_bThreadEnd{1};
std::atomic<int> g_bUpdateDone{0};
std::atomic<int> g_nExitCode{0};
BYTE g_PlinthEnv[PLINTH_ENV_SIZE];

void SetPackagePath(const char* pszPath)
{
    snprintf(g_szPackagePath, sizeof g_szPackagePath, "%s", pszPath ? pszPath : "");
    // By characters: the second byte of a GBK character can be a backslash.
    const CString strPath(g_szPackagePath);
    const int nCut = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    snprintf(g_szUpdateDir, sizeof g_szUpdateDir, "%s", nCut >= 0 ? static_cast<LPCSTR>(strPath.Left(nCut)) : "");
}
