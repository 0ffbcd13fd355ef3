// A stand-in for one of the suite's programs: it only waits, so that the
// demo can show the update ending it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow)
{
    (void)hInstance;
    (void)hPrevInstance;
    (void)pszCmdLine;
    (void)nCmdShow;
    Sleep(INFINITE);
    return 0;
}
