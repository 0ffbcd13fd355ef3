#pragma once
#include "CString.h"

// The package configuration file TAVIBK.cfg that a package carries into the
// staging directory. Every value is read with the platform's private-profile
// reader, one key at a time, with the default and read length the tool has
// always used; a missing file or key yields the default.
class CPackageConfig {
public:
    explicit CPackageConfig(const CString& strPath);

    CString PackName() const;    // [FILEPATH] PACKNAME; "-1" when missing
    CString CreateTime() const;  // [FILEVERSION] CREATETIME
    CString Version() const;     // [FILEVERSION] VERSION
    int FileCount() const;       // [FILEPATH] CNT, 0 when missing or not a number

    // Per staged file, keyed by its name: its full destination path
    // ([FILEPATH], "-1" when it is not to be installed), its version text
    // ([FILEVER]) and its time text ([FILERWTIME]).
    CString Destination(const CString& strName) const;
    CString FileVersion(const CString& strName) const;
    CString FileTime(const CString& strName) const;

    // A staged file that the run never installs: the configuration itself
    // (TAVIBK.cfg, or TAVIBK), whatever the case and surrounding blanks.
    static bool IsConfigurationFile(const CString& strName);
    // Whether a destination read for a file names a place to install it.
    static bool IsListed(const CString& strDestination);

private:
    CString Read(const char* pszSection, const char* pszKey, const char* pszDefault, int nReadLength) const;

    CString m_strPath;
};
