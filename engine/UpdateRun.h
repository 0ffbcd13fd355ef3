#pragma once
#include <cstring>

// The update run, on the worker thread (CTAVIUpdataDlg::RunUpdate, kept in
// UpdateRun.cpp beside the dialog's other engine members), in order:
// 1. refuse an update directory whose staging paths would not fit
//    ("升级文件路径过长,请重试!");
// 2. have the system library end the suite's programs (RelatedPrograms.h);
// 3. create the staging directory beside the package;
// 4. have the library unpack the package into it while the dialog polls the
//    unpack's progress ("解压数据出现异常,请重试!" when it fails);
// 5. read the package configuration (PackageConfig.h), refusing a package
//    without a valid one ("文件非法或异常,请重试!"), and write the log header;
// 6. install every staged file that the configuration lists, unless the
//    installed copy is newer (ReplaceRules.h); a new system library replaces
//    the system directory's copy and is loaded again;
// 7. remove the staging directory (StagingCleanup.h) and report "更新完成",
//    or how many files could not be installed.
namespace engine {

constexpr char STAGING_NAME[] = "TAVIBACKTmp";
constexpr char CONFIG_NAME[] = "TAVIBK.cfg";

// Whether every path into the staging directory under the update directory
// fits the run's 500-byte buffers; the longest is the configuration file's.
inline bool UpdateDirFits(const char* pszUpdateDir)
{
    return strlen(pszUpdateDir) + strlen("\\TAVIBACKTmp\\TAVIBK.cfg") < 500;
}

} // namespace engine
