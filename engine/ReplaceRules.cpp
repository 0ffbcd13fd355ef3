#include "ReplaceRules.h"

#include <cstdio>
#include <cstring>

#include "CFileFind.h"
#include "InstalledVersions.h"
#include "PlinthWrappers.h"
#include "StagingCleanup.h"

namespace engine {

namespace {
// A staged file with this version text is copied without comparison.
const char UNVERSIONED[] = "0.0.0.0.0.0.0";
constexpr int PATH_BUFFER = 500;       // every path the run forms fits here
constexpr int MAX_DIRECTORY = 299;     // longest destination directory
// Buffer sizes of the directory chain: the whole directory string, one name.
constexpr int DIRECTORY_BUFFER = 300;
constexpr int FIELD_BUFFER = 40;
constexpr int MAX_LEVELS = 10;
}

CString DestinationDirectory(const CString& strDestination)
{
    return strDestination.Left(strDestination.ReverseFind('\\') + 1);
}

bool InstallPathsFit(const CString& strStagedPath, const CString& strDirectory)
{
    return strStagedPath.GetLength() < PATH_BUFFER && strDirectory.GetLength() <= MAX_DIRECTORY
        && DirectoryNamesFit(strDirectory);
}

bool DirectoryNamesFit(const CString& strDirectory)
{
    int nStart = 0;
    for (;;) {
        const int nSlash = strDirectory.Find('\\', nStart);
        const int nEnd = nSlash >= 0 ? nSlash : strDirectory.GetLength();
        if (nEnd - nStart >= FIELD_BUFFER)
            return false;
        if (nSlash < 0)
            return true;
        nStart = nSlash + 1;
    }
}

int NeedReplaceFile(const char* pszDestPath, const char* pszStagedPath, CInstalledVersions* pInstalled)
{
    CFileFind finder;
    if (!finder.FindFile(pszStagedPath))
        return 1;
    finder.Close();

    // Zero-filled, so that a library that writes nothing leaves empty texts.
    char szStaged[1024] = {};
    char szInstalled[1024] = {};
    GetVers(pszStagedPath, szStaged);
    if (pInstalled)
        pInstalled->Read(pszDestPath, szInstalled);
    else
        GetVers(pszDestPath, szInstalled);
    if (strcmp(szStaged, UNVERSIONED) == 0)
        return 1;
    return JudgeVersion(szStaged, szInstalled) < 0 ? 0 : 1;
}

bool InstallFile(const char* pszStagedPath, const char* pszDestPath, CopyFileFunction copyFile)
{
    if (copyFile(pszStagedPath, pszDestPath, FALSE))
        return true;
    const DWORD dwAttributes = GetFileAttributesA(pszDestPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_READONLY))
        return false;
    return ClearReadOnlyAttribute(pszDestPath) == 1 && copyFile(pszStagedPath, pszDestPath, FALSE);
}

NewFileResult InstallNewFile(const char* pszStagedPath, const char* pszDestPath, CopyFileFunction copyFile)
{
    if (copyFile(pszStagedPath, pszDestPath, TRUE))
        return NEW_FILE_COPIED;
    const DWORD dwError = GetLastError();
    return dwError == ERROR_FILE_EXISTS || dwError == ERROR_ALREADY_EXISTS ? NEW_FILE_EXISTS : NEW_FILE_FAILED;
}

bool IsSystemLibrary(const CString& strName)
{
    CString strTrimmed = strName;
    strTrimmed.Trim();
    return strTrimmed.CompareNoCase("Plinth.dll") == 0;
}

int DirectoryExists(const char* pszPath)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(pszPath, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(hFind);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

int CreateSubDirectory(const char* pszName, const char* pszParent)
{
    char szPath[500];
    const int nLength = snprintf(szPath, sizeof szPath, "%s\\%s\\", pszParent, pszName);
    if (nLength < 0 || nLength >= static_cast<int>(sizeof szPath))
        return 0;
    return CreateDirectoryA(szPath, nullptr) ? 1 : 0;
}

void CreateDirectoryChain(const CString& strDirectory)
{
    try {
        // The run refuses longer strings and names before it gets here; these
        // checks keep the library's output inside the buffers all the same.
        if (strDirectory.GetLength() >= DIRECTORY_BUFFER || !DirectoryNamesFit(strDirectory))
            return;
        char szDirectory[DIRECTORY_BUFFER] = {};
        memcpy(szDirectory, static_cast<const char*>(strDirectory), strDirectory.GetLength());
        if (DirectoryExists(szDirectory) == 1)
            return;

        CString strFields[MAX_LEVELS];
        int nFields = 0;
        for (int i = 0; i < MAX_LEVELS; ++i) {
            nFields = i;
            char szField[FIELD_BUFFER] = {};
            GetField2(szDirectory, szField, i, '\\');
            if (szField[0] == '\0')
                break;
            strFields[i] = szField;
        }

        // Top down: each level below the drive, created under its parent.
        CString strParent;
        for (int i = 0; i < nFields; ++i) {
            strParent += strFields[i] + "\\";
            CreateSubDirectory(strFields[i + 1], strParent);
        }
    } catch (...) {
        // A directory that cannot be made shows as a failed copy.
    }
}

} // namespace engine
