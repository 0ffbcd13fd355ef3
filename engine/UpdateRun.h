#pragma once
#include <windows.h>
#include <cstring>

// The update run, on the worker thread (CTAVIUpdataDlg::RunUpdate, kept in
// UpdateRun.cpp beside the dialog's other engine members), in order:
// 1. refuse an update directory whose staging paths would not fit
//    ("升级文件路径过长,请重试!"), a package that cannot be read
//    ("解压数据出现异常,请重试!"), and, with signing on, a package that is
//    not signed by a trusted key or is older than one applied before
//    ("升级包未通过签名验证,拒绝升级!", PackageTrust.h), before any program
//    is ended;
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

// How a run ended; the value is the process's exit code, which a script reads
// (README, "Exit codes"). Each of 0 to 4 and 7 has its final status text.
enum RunOutcome {
    RUN_FINISHED = 0,          // "更新完成"
    RUN_FILES_FAILED = 1,      // "更新完成,但有%d个文件未能更新!"
    RUN_UNPACK_FAILED = 2,     // "解压数据出现异常,请重试!": missing, unreadable or refused package
    RUN_PACKAGE_REJECTED = 3,  // "文件非法或异常,请重试!"
    RUN_PATH_TOO_LONG = 4,     // "升级文件路径过长,请重试!"
    RUN_OTHER_COPY = 5,        // another copy ran; this start's package was not applied
    RUN_NOT_FINISHED = 6,      // closed during the run, or the worker could not start
    RUN_SIGNATURE_REFUSED = 7, // "升级包未通过签名验证,拒绝升级!"; the log tells why
};

constexpr char STAGING_NAME[] = "TAVIBACKTmp";
constexpr char CONFIG_NAME[] = "TAVIBK.cfg";

// Whether every path into the staging directory under the update directory
// fits the run's 500-byte buffers; the longest is the configuration file's.
inline bool UpdateDirFits(const char* pszUpdateDir)
{
    return strlen(pszUpdateDir) + strlen("\\TAVIBACKTmp\\TAVIBK.cfg") < 500;
}

// Whether the package is a file that opens for reading. Checked before the
// line's programs are ended, so that a mistyped path stops nothing.
inline bool PackageReadable(const char* pszPackagePath)
{
    const HANDLE hFile = CreateFileA(pszPackagePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(hFile);
    return true;
}

} // namespace engine
