/* A program that Windows XP SP3 could not load, for the test of the load
   check: a function that the headers keep from XP builds (CancelIoEx), one
   on the deny list that they keep too (GetTickCount64), two that they
   declare although XP lacks them (RegGetValueA, and strcpy_s of the secure
   C runtime), a DLL that XP does not have (bcrypt) and, from its link
   options, a Vista subsystem version. */
#include <string.h>
#include <windows.h>

__declspec(dllimport) BOOL WINAPI CancelIoEx(HANDLE hFile, LPOVERLAPPED pOverlapped);
__declspec(dllimport) ULONGLONG WINAPI GetTickCount64(void);
__declspec(dllimport) LONG WINAPI BCryptGenRandom(void* hAlgorithm, PUCHAR pbBuffer, ULONG cbBuffer, ULONG dwFlags);

int main(int argc, char** argv)
{
    UCHAR random[4];
    DWORD value = 0, size = sizeof value;
    char name[8];
    strcpy_s(name, sizeof name, argc > 0 ? argv[0] : "");
    return name[0] + (int)CancelIoEx(NULL, NULL) + (int)GetTickCount64() +
           (int)BCryptGenRandom(NULL, random, sizeof random, 2 /* BCRYPT_USE_SYSTEM_PREFERRED_RNG */) +
           (int)RegGetValueA(HKEY_CURRENT_USER, "Software", "Value", 0x10 /* RRF_RT_REG_DWORD */, NULL, &value, &size);
}
