/* Sleeps for the number of seconds given (default 60), so that the tests have
   a process of a known image name to end. */
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? atoi(argv[1]) : 60;
    Sleep((DWORD)seconds * 1000);
    return 0;
}
