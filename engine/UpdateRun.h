#pragma once
#include <cstring>

// The update run, on the worker thread (CTAVIUpdataDlg::RunUpdate, kept in
// UpdateRun.cpp beside the dialog's other engine members), in order:
// 1. before any program is ended, check (PrepareRun): an update directory
//    whose staging paths would not fit, and a package whose paths would not
//    ("升级文件路径过长,请重试!"); a package that cannot be read or that the
//    package reader refuses ("解压数据出现异常,请重试!", PackageCheck.h);
//    with signing on, a package that is not signed by a trusted key or is
//    older than one applied before ("升级包未通过签名验证,拒绝升级!",
//    PackageTrust.h); a staging directory that is a link; another run on the
//    same package folder, waited for up to a minute (StagingFolder.h). The
//    staging directory is then emptied of what an earlier run left;
// 2. have the system library end the suite's programs (RelatedPrograms.h);
// 3. create the staging directory beside the package;
// 4. have the library unpack the package into it while the dialog polls the
//    unpack's progress ("解压数据出现异常,请重试!" when it fails);
// 5. read the package configuration (PackageConfig.h), refusing a package
//    without a valid one ("文件非法或异常,请重试!"), and write the log header;
// 6. install every staged file that the configuration lists, unless the
//    installed copy is newer (ReplaceRules.h); a new system library that
//    would serve (PlinthCheck.h) replaces the system directory's copy and is
//    loaded again;
// 7. remove the staging directory (StagingCleanup.h) and report "更新完成",
//    or how many files could not be installed.
namespace engine {

// How a run ended; the value is the process's exit code, which a script reads
// (README, "Exit codes"). Each of 0 to 4, 7 and 8 has its final status text.
enum RunOutcome {
    RUN_FINISHED = 0,          // "更新完成"
    RUN_FILES_FAILED = 1,      // "更新完成,但有%d个文件未能更新!"
    RUN_UNPACK_FAILED = 2,     // "解压数据出现异常,请重试!": missing, unreadable or refused package
    RUN_PACKAGE_REJECTED = 3,  // "文件非法或异常,请重试!"
    RUN_PATH_TOO_LONG = 4,     // "升级文件路径过长,请重试!"
    RUN_OTHER_COPY = 5,        // another copy, or another run on the package's folder, ran; this package was not applied
    RUN_NOT_FINISHED = 6,      // closed during the run, the worker could not start, or no window
    RUN_SIGNATURE_REFUSED = 7, // "升级包未通过签名验证,拒绝升级!"; the log tells why
    RUN_STAGING_LINK = 8,      // "升级临时目录TAVIBACKTmp是链接,请删除后重试!"
};

constexpr char STAGING_NAME[] = "TAVIBACKTmp";
constexpr char CONFIG_NAME[] = "TAVIBK.cfg";

// Whether every path into the staging directory under the update directory
// fits the run's 500-byte buffers; the longest is the configuration file's.
inline bool UpdateDirFits(const char* pszUpdateDir)
{
    return strlen(pszUpdateDir) + strlen("\\TAVIBACKTmp\\TAVIBK.cfg") < 500;
}

} // namespace engine
