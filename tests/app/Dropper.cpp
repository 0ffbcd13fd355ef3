// Another program of the workstation: once a file shows up in the watched
// folder (the update run has begun to write there), it puts its own copy of
// a file into that folder. Exit code 0: dropped; 1: the file was there
// already; 2: nothing showed up within a minute.
//     app_dropper.exe WATCHED_FOLDER SOURCE DESTINATION
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 3;
    const std::string pattern = std::string(argv[1]) + "\\*";
    for (DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < 60000; Sleep(1)) {
        WIN32_FIND_DATAA data;
        const HANDLE hFind = FindFirstFileA(pattern.c_str(), &data);
        if (hFind == INVALID_HANDLE_VALUE)
            continue;
        bool bFile = false;
        do
            bFile |= !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (!bFile && FindNextFileA(hFind, &data));
        FindClose(hFind);
        if (bFile)
            return CopyFileA(argv[2], argv[3], TRUE) ? 0 : 1;
    }
    return 2;
}
