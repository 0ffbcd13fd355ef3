#include "PackageCheck.h"

#include <string>

#include "AnsiText.h"
#include "FileSource.h"
#include "PackageConfig.h"
#include "UpdateRun.h"

namespace engine {

namespace {
constexpr size_t PATH_BUFFER = 500;  // the run forms every path in 500 bytes

// "D\TAVIBACKTmp\" in the ANSI code page.
std::string StagingPrefix(const char* pszUpdateDir)
{
    return std::string(pszUpdateDir) + "\\" + STAGING_NAME + "\\";
}

bool IsConfiguration(const plinth::ZipEntry& entry)
{
    return plinth::NameKey(entry.name) == L"TAVIBK.CFG";
}
}

CPackageCheck::~CPackageCheck()
{
    if (m_hPackage != INVALID_HANDLE_VALUE)
        CloseHandle(m_hPackage);
}

PackageVerdict CPackageCheck::CheckEntries(const char* pszUpdateDir, const char* pszPackagePath)
{
    m_hPackage = CreateFileA(pszPackagePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hPackage == INVALID_HANDLE_VALUE)
        return PACKAGE_REFUSED;
    try {
        if (m_reader.Open(plinth::OpenFileSource(AnsiToWide(pszPackagePath))) != 0 || m_reader.Check() != 0)
            return PACKAGE_REFUSED;
        const std::string strStaging = StagingPrefix(pszUpdateDir);
        const std::wstring staging = AnsiToWide(strStaging.c_str());
        for (const plinth::ZipEntry& entry : m_reader.Entries()) {
            // The cleanup forms "S\name" with S ending in a backslash already.
            if (staging.size() + entry.name.size() + 1 > MAX_PATH_CHARS
                || strStaging.size() + entry.ansi.size() + 1 >= PATH_BUFFER)
                return PACKAGE_PATH_TOO_LONG;
        }
    } catch (...) {
        return PACKAGE_REFUSED;  // out of memory for the package's directory
    }
    return PACKAGE_OK;
}

PackageVerdict CPackageCheck::CheckDestinations(const char* pszUpdateDir)
{
    const std::string strConfig = StagingPrefix(pszUpdateDir) + CONFIG_NAME;
    bool bWritten = false;
    try {
        for (const plinth::ZipEntry& entry : m_reader.Entries()) {
            if (!IsConfiguration(entry))
                continue;
            const HANDLE hFile = CreateFileA(strConfig.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr);
            if (hFile == INVALID_HANDLE_VALUE)
                return PACKAGE_OK;  // the unpack will not fare better, and says so
            bWritten = m_reader.Extract(entry, [hFile](const unsigned char* pData, std::size_t nSize) {
                DWORD dwWritten = 0;
                return WriteFile(hFile, pData, static_cast<DWORD>(nSize), &dwWritten, nullptr) && dwWritten == nSize;
            }) == 0;
            CloseHandle(hFile);
            break;
        }
        if (!bWritten)
            return PACKAGE_OK;
        const CPackageConfig config(strConfig.c_str());
        for (const plinth::ZipEntry& entry : m_reader.Entries()) {
            if (IsConfiguration(entry))
                continue;
            const CString strDest = config.Destination(entry.ansi.c_str());
            if (CPackageConfig::IsListed(strDest) && AnsiToWide(strDest).size() > MAX_PATH_CHARS)
                return PACKAGE_PATH_TOO_LONG;
        }
    } catch (...) {
        return PACKAGE_OK;  // the run's own reading decides
    }
    return PACKAGE_OK;
}

} // namespace engine
