// Registry helpers and the serial-port list, with the registry calls that
// Windows XP has.
#include "Exports.h"
#include "Guard.h"

#include <shlwapi.h>

#include <cstring>
#include <string>

namespace {

int Fail(LONG rc)
{
    return rc == ERROR_FILE_NOT_FOUND ? -2 : -3;
}

// A registry key that this file opened, closed with the object.
class OpenKey {
public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Receive() { return &key_; }
    operator HKEY() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Writes a value, creating the key and its parents when they are missing.
LONG SetValue(HKEY root, const char* subKey, const char* name, DWORD type, const void* data, DWORD size)
{
    OpenKey key;
    LONG rc = RegCreateKeyExA(root, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    return rc;
}

// Reads a value whole, of any type and size.
LONG ReadValue(HKEY root, const char* subKey, const char* name, DWORD* type, std::string* data)
{
    OpenKey key;
    LONG rc = RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, key.Receive());
    DWORD size = 0;
    if (rc == ERROR_SUCCESS)
        rc = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
    if (rc != ERROR_SUCCESS)
        return rc;
    // A value that grows between two reads answers with its new size.
    do {
        data->assign(size, '\0');
        rc = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(&(*data)[0]), &size);
    } while (rc == ERROR_MORE_DATA);
    if (rc == ERROR_SUCCESS)
        data->resize(size);
    return rc;
}

} // namespace

int plinth::entry::CreateNewKey(HKEY hRoot, const char* pszSubKey)
{
    if (!hRoot || !pszSubKey)
        return -1;
    OpenKey key;
    LONG rc = RegCreateKeyExA(hRoot, pszSubKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.Receive(), nullptr);
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::DeleteKey(HKEY hRoot, const char* pszSubKey)
{
    if (!hRoot || !pszSubKey || !*pszSubKey)
        return -1;
    // The key itself goes with its subkeys and values.
    LONG rc = static_cast<LONG>(SHDeleteKeyA(hRoot, pszSubKey));
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::SetValueKeyString(HKEY hRoot, const char* pszSubKey, const char* pszName,
                                     const char* pszValue)
{
    if (!hRoot || !pszSubKey || !pszValue)
        return -1;
    LONG rc = SetValue(hRoot, pszSubKey, pszName, REG_SZ, pszValue, static_cast<DWORD>(std::strlen(pszValue) + 1));
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::SetValueKeyLong(HKEY hRoot, const char* pszSubKey, const char* pszName, int nValue)
{
    if (!hRoot || !pszSubKey)
        return -1;
    DWORD value = static_cast<DWORD>(nValue);
    LONG rc = SetValue(hRoot, pszSubKey, pszName, REG_DWORD, &value, sizeof value);
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::DeleteValue(HKEY hRoot, const char* pszSubKey, const char* pszName)
{
    if (!hRoot || !pszSubKey)
        return -1;
    OpenKey key;
    LONG rc = RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_SET_VALUE, key.Receive());
    if (rc == ERROR_SUCCESS)
        rc = RegDeleteValueA(key, pszName);
    return rc == ERROR_SUCCESS ? 1 : Fail(rc);
}

int plinth::entry::GetQueryValueL(HKEY hRoot, const char* pszSubKey, const char* pszName, int* pnValue)
{
    if (!hRoot || !pszSubKey || !pnValue)
        return -1;
    OpenKey key;
    LONG rc = RegOpenKeyExA(hRoot, pszSubKey, 0, KEY_QUERY_VALUE, key.Receive());
    DWORD type = REG_NONE, value = 0, size = sizeof value;
    if (rc == ERROR_SUCCESS)
        rc = RegQueryValueExA(key, pszName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA)
        return Fail(rc);
    // A REG_DWORD of four bytes and nothing else.
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return -3;
    *pnValue = static_cast<int>(value);
    return 1;
}

int plinth::entry::GetQueryValueS(HKEY hRoot, const char* pszSubKey, const char* pszName, char* pszValue)
try {
    if (!hRoot || !pszSubKey || !pszValue)
        return -1;
    pszValue[0] = '\0';
    DWORD type = REG_NONE;
    std::string text;
    LONG rc = ReadValue(hRoot, pszSubKey, pszName, &type, &text);
    if (rc != ERROR_SUCCESS)
        return Fail(rc);
    if (type == REG_EXPAND_SZ) {
        // The ANSI form may want one byte more than the size that it answers.
        const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
        std::string expanded(size + 1, '\0');
        if (!size || !ExpandEnvironmentStringsA(text.c_str(), &expanded[0], size + 1))
            return -3;
        text = expanded;
    } else if (type != REG_SZ) {
        return -3;
    }
    // The text ends at its first terminator, or with the data when it has none.
    return plinth::CopyOut(pszValue, PLINTH_TEXT_OUT, text.c_str()) >= 0 ? 1 : -4;
} catch (...) {
    return plinth::Caught(__func__, -1);
}

int plinth::entry::GetSerialPortInfo(char* pszOut)
try {
    if (!pszOut)
        return -1;
    pszOut[0] = '\0';
    OpenKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS)
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
    plinth::CopyOut(pszOut, PLINTH_TEXT_OUT, list.c_str());
    return count;
} catch (...) {
    return plinth::Caught(__func__, -1);
}
