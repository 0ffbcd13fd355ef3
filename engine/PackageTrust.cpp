#include "PackageTrust.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "CodePages.h"
#include "FileSource.h"
#include "PackageSignature.h"

namespace engine {

namespace {

// An open registry key, closed when it goes.
class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey()
    {
        if (m_hKey)
            RegCloseKey(m_hKey);
    }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    LONG Open(const char* pszSubKey, REGSAM samAccess)
    {
        return RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszSubKey, 0, samAccess | KEY_WOW64_64KEY, &m_hKey);
    }
    LONG Create(const char* pszSubKey, REGSAM samAccess)
    {
        return RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszSubKey, 0, nullptr, 0, samAccess | KEY_WOW64_64KEY, nullptr,
                               &m_hKey, nullptr);
    }
    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};

// A string value's text without surrounding blanks; false when the key
// holds no string value of that name.
bool QueryString(HKEY hKey, const char* pszName, std::string& strText)
{
    char szData[256];
    DWORD dwType = 0, dwSize = sizeof szData - 1;
    if (RegQueryValueExA(hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(szData), &dwSize) !=
            ERROR_SUCCESS ||
        dwType != REG_SZ)
        return false;
    szData[dwSize] = '\0';
    strText = szData;
    const size_t nFirst = strText.find_first_not_of(" \t");
    strText = nFirst == std::string::npos ? std::string()
                                          : strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
    return true;
}

std::vector<std::string> ValueNames(HKEY hKey)
{
    std::vector<std::string> names;
    char szName[16384];
    for (DWORD i = 0;; ++i) {
        DWORD dwSize = sizeof szName;
        if (RegEnumValueA(hKey, i, szName, &dwSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return names;
        names.emplace_back(szName, dwSize);
    }
}

} // namespace

CPackageTrust::CPackageTrust()
{
    CRegistryKey key;
    const LONG lResult = key.Open(TRUSTED_KEYS_KEY, KEY_QUERY_VALUE);
    if (lResult == ERROR_FILE_NOT_FOUND)
        return;
    m_bSigningOn = true;
    if (lResult != ERROR_SUCCESS) {
        m_bKeysReadable = false;
        return;
    }
    // A value that does not hold a key trusts nothing.
    for (const std::string& strName : ValueNames(key.Get())) {
        std::string strHex;
        signing::PublicKey publicKey;
        if (QueryString(key.Get(), strName.c_str(), strHex) &&
            signing::FromHex(strHex, publicKey.data(), publicKey.size()))
            m_keys.push_back(publicKey);
    }
}

bool CPackageTrust::Check(const char* pszPackagePath)
{
    if (!m_bSigningOn)
        return true;
    if (!m_bKeysReadable)
        return Refuse("本机信任的密钥无法读取!");

    // Opened for reading with others allowed to read only: nobody can write
    // the package between this check and its unpack.
    std::wstring strPath;
    plinth::DecodeBytes(pszPackagePath, plinth::kAnsiCodePage, false, strPath);
    m_pPackage = plinth::OpenFileSource(strPath);
    if (!m_pPackage)
        return Refuse("升级包无法读取,或正被其他程序写入!");

    signing::SignatureCheck signature(*m_pPackage);
    if (signature.GetState() == signing::SignatureCheck::Unsigned)
        return Refuse("升级包没有签名!");
    if (signature.GetState() != signing::SignatureCheck::Signed)
        return Refuse("升级包的签名无法读取!");
    if (std::find(m_keys.begin(), m_keys.end(), signature.Key()) == m_keys.end())
        return Refuse("升级包的签名密钥不受本机信任!");
    switch (signature.Verify()) {
    case signing::SignatureCheck::Valid:
        break;
    case signing::SignatureCheck::Changed:
        return Refuse("升级包在签名后被修改过!");
    default:
        return Refuse("升级包的签名无法读取!");
    }

    std::string strProblem;
    std::uint64_t nStamp = 0;
    if (!signing::ReadPackageIdentity(*m_pPackage, m_identity, strProblem) ||
        !signing::CreationStamp(m_identity.createTime, nStamp))
        return Refuse("升级包的创建时间无法读取!");
    CRegistryKey applied;
    std::string strRecorded;
    std::uint64_t nRecorded = 0;
    if (applied.Open(APPLIED_PACKAGES_KEY, KEY_QUERY_VALUE) == ERROR_SUCCESS &&
        QueryString(applied.Get(), m_identity.name.c_str(), strRecorded) &&
        signing::CreationStamp(strRecorded, nRecorded) && nStamp < nRecorded) {
        char szReason[300];
        snprintf(szReason, sizeof szReason, "升级包比本机已安装的同名升级包旧:创建时间%s,已安装%s!",
                 m_identity.createTime.c_str(), strRecorded.c_str());
        return Refuse(szReason);
    }
    m_bAccepted = true;
    return true;
}

bool CPackageTrust::RecordApplied() const
{
    if (!m_bAccepted || !m_bSigningOn)
        return true;
    CRegistryKey applied;
    return applied.Create(APPLIED_PACKAGES_KEY, KEY_SET_VALUE) == ERROR_SUCCESS &&
           RegSetValueExA(applied.Get(), m_identity.name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(m_identity.createTime.c_str()),
                          static_cast<DWORD>(m_identity.createTime.size() + 1)) == ERROR_SUCCESS;
}

bool CPackageTrust::Refuse(const std::string& strReason)
{
    m_strRefusal = strReason;
    return false;
}

} // namespace engine
