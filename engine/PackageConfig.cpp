#include "PackageConfig.h"

#include <cstdlib>
#include <vector>

CPackageConfig::CPackageConfig(const CString& strPath) : m_strPath(strPath)
{
    // Drops a copy of the file that the platform may still hold from an
    // earlier run: a new package's file can bear the same time stamp, by
    // which a cached copy would pass for current. Writes nothing.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_strPath);
}

CString CPackageConfig::Read(const char* pszSection, const char* pszKey, const char* pszDefault,
                             int nReadLength) const
{
    std::vector<char> buffer(nReadLength + 1, '\0');
    GetPrivateProfileStringA(pszSection, pszKey, pszDefault, buffer.data(), nReadLength, m_strPath);
    return CString(buffer.data());
}

CString CPackageConfig::PackName() const { return Read("FILEPATH", "PACKNAME", "-1", 190); }
CString CPackageConfig::CreateTime() const { return Read("FILEVERSION", "CREATETIME", "-1", 90); }
CString CPackageConfig::Version() const { return Read("FILEVERSION", "VERSION", "-1", 90); }
int CPackageConfig::FileCount() const { return atoi(Read("FILEPATH", "CNT", "0", 9)); }

CString CPackageConfig::Destination(const CString& strName) const { return Read("FILEPATH", strName, "-1", 490); }
CString CPackageConfig::FileVersion(const CString& strName) const { return Read("FILEVER", strName, "-1", 90); }
CString CPackageConfig::FileTime(const CString& strName) const { return Read("FILERWTIME", strName, "-1", 90); }

bool CPackageConfig::IsConfigurationFile(const CString& strName)
{
    CString strKey = strName;
    strKey.Trim();
    strKey.MakeUpper();
    return strKey == "TAVIBK.CFG" || strKey == "TAVIBK";
}

bool CPackageConfig::IsListed(const CString& strDestination)
{
    return atoi(strDestination) != -1;
}
