// Registry helpers and the serial-port list.
#include "Exports.h"
#include "Guard.h"

#include <cstring>
#include <string>

namespace {

int Fail(LONG rc)
{
    return rc == ERROR_FILE_NOT_FOUND ? -2 : -3;
}

} // namespace

int plinth::entry::CreateNewKey(HKEY hRoot, const char* pszSubKey)
{
    if (!hRoot || !pszSubKey)
        return -1;
    HKEY key;
    LONG rc = RegCreateKeyExA(hRoot, pszSubKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return Fail(rc);
    RegCloseKey(key);
    return 1;
}

int plinth::entry::DeleteKey(HKEY hRoot, const char* pszSubKey)
{
    if (!hRoot || !pszSubKey || !*pszSubKey)
        return -1;
    // The key itself goes with its subkeys and values.
    LONG rc = RegDeleteTreeA(hRoot, pszSubKey);
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::SetValueKeyString(HKEY hRoot, const char* pszSubKey, const char* pszName,
                                     const char* pszValue)
{
    if (!hRoot || !pszSubKey || !pszValue)
        return -1;
    LONG rc = RegSetKeyValueA(hRoot, pszSubKey, pszName, REG_SZ, pszValue,
                              static_cast<DWORD>(std::strlen(pszValue) + 1));
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::SetValueKeyLong(HKEY hRoot, const char* pszSubKey, const char* pszName, int nValue)
{
    if (!hRoot || !pszSubKey)
        return -1;
    DWORD value = static_cast<DWORD>(nValue);
    LONG rc = RegSetKeyValueA(hRoot, pszSubKey, pszName, REG_DWORD, &value, sizeof value);
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::DeleteValue(HKEY hRoot, const char* pszSubKey, const char* pszName)
{
    if (!hRoot || !pszSubKey)
        return -1;
    HKEY key;
    LONG rc = RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_SET_VALUE, &key);
    if (rc != ERROR_SUCCESS)
        return Fail(rc);
    rc = RegDeleteValueA(key, pszName);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::GetQueryValueL(HKEY hRoot, const char* pszSubKey, const char* pszName, int* pnValue)
{
    if (!hRoot || !pszSubKey || !pnValue)
        return -1;
    DWORD value = 0, size = sizeof value;
    LONG rc = RegGetValueA(hRoot, pszSubKey, pszName, RRF_RT_REG_DWORD, nullptr, &value, &size);
    if (rc != ERROR_SUCCESS)
        return Fail(rc);
    *pnValue = static_cast<int>(value);
    return 1;
}

int plinth::entry::GetQueryValueS(HKEY hRoot, const char* pszSubKey, const char* pszName, char* pszValue)
{
    if (!hRoot || !pszSubKey || !pszValue)
        return -1;
    pszValue[0] = '\0';
    char buffer[PLINTH_TEXT_OUT];
    DWORD size = sizeof buffer;
    LONG rc = RegGetValueA(hRoot, pszSubKey, pszName, RRF_RT_REG_SZ, nullptr, buffer, &size);
    if (rc == ERROR_MORE_DATA)
        return -4;
    if (rc != ERROR_SUCCESS)
        return Fail(rc);
    return plinth::CopyOut(pszValue, PLINTH_TEXT_OUT, buffer) >= 0 ? 1 : -4;
}

int plinth::entry::GetSerialPortInfo(char* pszOut)
try {
    if (!pszOut)
        return -1;
    pszOut[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    std::string list;
    int count = 0;
    for (DWORD i = 0;; ++i) {
        char name[256], data[64];
        DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        data[dataSize] = '\0';
        std::string next = list.empty() ? std::string(data) : list + "," + data;
        if (next.size() >= static_cast<std::size_t>(PLINTH_TEXT_OUT))
            break;
        list = next;
        ++count;
    }
    RegCloseKey(key);
    plinth::CopyOut(pszOut, PLINTH_TEXT_OUT, list.c_str());
    return count;
} catch (...) {
    return plinth::Caught(__func__, -1);
}
