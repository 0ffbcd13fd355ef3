#include "ProcessCounts.h"

#include <winternl.h>

#include <string>
#include <vector>

namespace {

// One entry of the system's handle list (SystemHandleInformation, class 16).
struct HandleEntry {
    ULONG ulOwnerPid;
    BYTE bObjectType;
    BYTE bFlags;
    USHORT usHandle;
    PVOID pObject;
    ACCESS_MASK access;
};

// Wine's file dialog leaves a key of its recent-folders list open each time it
// is used (...\ComDlg32\LastVisitedMRU): the file dialog's, not the tool's.
bool IsFileDialogKey(HANDLE hHandle)
{
    std::vector<BYTE> buffer(2048);
    if (NtQueryObject(hHandle, static_cast<OBJECT_INFORMATION_CLASS>(1),  // ObjectNameInformation
                      buffer.data(), static_cast<ULONG>(buffer.size()), nullptr) != 0)
        return false;
    const auto* pName = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
    const std::wstring name(pName->Buffer ? pName->Buffer : L"", pName->Length / sizeof(wchar_t));
    return name.find(L"\\ComDlg32\\") != std::wstring::npos;
}

DWORD HandleCount()
{
    DWORD dwCount = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &dwCount) && dwCount > 0)
        return dwCount;
    // This process's entries in the system's handle list.
    std::vector<BYTE> buffer(1 << 20);
    ULONG ulLength = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &ulLength)) ==
           static_cast<NTSTATUS>(0xC0000004))  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return 0;
    const ULONG ulEntries = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* pEntries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    for (ULONG i = 0; i < ulEntries; ++i) {
        if (pEntries[i].ulOwnerPid == GetCurrentProcessId())
            dwCount += !IsFileDialogKey(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(pEntries[i].usHandle)));
    }
    return dwCount;
}

DWORD GdiObjectCount()
{
    DWORD dwCount = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (dwCount > 0)
        return dwCount;
    // Wine takes a handle's table index alone for the object in that slot:
    // count the slots in use.
    for (ULONG_PTR nIndex = 1; nIndex <= 0xFFFF; ++nIndex)
        dwCount += GetObjectType(reinterpret_cast<HGDIOBJ>(nIndex)) != 0;
    return dwCount;
}

BOOL CALLBACK CountWindow(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<DWORD*>(lParam);
    return TRUE;
}

// A top-level window of this process with all its descendants.
BOOL CALLBACK CountWindowTree(HWND hWnd, LPARAM lParam)
{
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hWnd, &dwPid);
    if (dwPid == GetCurrentProcessId()) {
        CountWindow(hWnd, lParam);
        EnumChildWindows(hWnd, CountWindow, lParam);
    }
    return TRUE;
}

DWORD UserObjectCount()
{
    DWORD dwCount = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (dwCount > 0)
        return dwCount;
    // The process's windows, top-level and child, the USER objects that a
    // run makes and destroys.
    EnumWindows(CountWindowTree, reinterpret_cast<LPARAM>(&dwCount));
    return dwCount;
}

} // namespace

ProcessCounts CountsOfThisProcess()
{
    return {HandleCount(), GdiObjectCount(), UserObjectCount()};
}
