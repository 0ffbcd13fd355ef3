// The suite's programs, ended before an update touches their files.
#include "TAVIUpdataDlg.h"

#include "PlinthWrappers.h"

const char* const g_szRelatedPrograms[16] = {
    "TAVIMain.exe",
    "TAVIServer.exe",
    "TAVILogin.exe",
    "TAVIDispatch.exe",
    "TAVILineCtrl.exe",
    "TAVIStation.exe",
    "TAVIBrake.exe",
    "TAVISpeed.exe",
    "TAVILight.exe",
    "TAVISideSlip.exe",
    "TAVIEmission.exe",
    "TAVIWeigh.exe",
    "TAVIPrint.exe",
    "TAVIReport.exe",
    "检测线监控.exe",
    "数据上传.exe",
};

int CTAVIUpdataDlg::CloseRelatedPrograms()
{
    // The library ends every process of the image; nothing here waits or checks.
    for (const char* pszImage : g_szRelatedPrograms)
        KillProcess(pszImage);
    return 1;
}
