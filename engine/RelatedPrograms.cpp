#include "RelatedPrograms.h"

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

int engine::CloseRelatedPrograms()
{
    // The library ends every process of the image; nothing here waits or checks.
    for (const char* pszImage : g_szRelatedPrograms)
        KillProcess(pszImage);
    return 1;
}
