// Stands in for one of the suite's programs: runs until it is ended.
#include <windows.h>

int main()
{
    Sleep(120000);
    return 0;
}
