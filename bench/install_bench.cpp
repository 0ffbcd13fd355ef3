// Times the install phase of a real update run (from "正在升级更新中..." to the
// end of the cleanup) for a package of 5,000 small files with the per-file log
// on, against a bare CopyFileA loop over the same files, and prints the ratio.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "DialogHarness.h"
#include "PlinthLoader.h"
#include "TestFiles.h"

namespace {
int FILE_COUNT = 5000;
const char INSTALLING[] = "正在升级更新中...";
const char FINISHED[] = "更新完成";

std::string FileName(int i)
{
    char name[32];
    snprintf(name, sizeof name, "f%04d.txt", i);
    return name;
}

std::string FileData(int i)
{
    return std::string(1024, static_cast<char>('a' + i % 26));
}

double Milliseconds(LONGLONG llTicks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(llTicks) / static_cast<double>(frequency.QuadPart);
}

// The baseline: the same files copied one by one into a fresh directory.
double CopyLoopMs(const std::string& source, const std::string& target)
{
    RemoveTree(target);
    MakeDirectories(target);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < FILE_COUNT; ++i)
        CopyFileA((source + "\\" + FileName(i)).c_str(), (target + "\\" + FileName(i)).c_str(), FALSE);
    QueryPerformanceCounter(&end);
    return Milliseconds(end.QuadPart - start.QuadPart);
}
}

int main(int argc, char** argv)
{
    // Optional: the number of files and the show-log flag.
    if (argc > 1)
        FILE_COUNT = atoi(argv[1]);
    const int nShowLog = argc > 2 ? atoi(argv[2]) : 1;
    __argc = 1;  // the dialog opens as when started by hand
    const std::string library = ReadBytes(ProgramDirectory() + "\\Plinth.dll");
    const std::string previous = ReadBytes(SystemLibraryPath());
    WriteBytes(SystemLibraryPath(), library);

    const std::string root = FreshTestDirectory("install-bench");
    const std::string source = root + "\\source", packageDir = root + "\\pkg", inst = root + "\\inst\\sub";
    MakeDirectories(source);
    MakeDirectories(packageDir);
    StoredZip zip;
    std::vector<std::pair<std::string, std::string>> destinations;
    for (int i = 0; i < FILE_COUNT; ++i) {
        WriteBytes(source + "\\" + FileName(i), FileData(i));
        zip.Add(FileName(i), FileData(i));
        destinations.emplace_back(FileName(i), inst + "\\" + FileName(i));
    }
    zip.Add("TAVIBK.cfg", ConfigText(destinations, "bench", FILE_COUNT));
    zip.Write(packageDir + "\\bench.tv2bck");

    const double copyBefore = CopyLoopMs(source, root + "\\copy");

    // The run served by the dialog's own message loop, as in the program: the
    // body starts it, and the dialog closes itself once the run is done.
    std::unique_ptr<ControlRecorder> recorder;
    snprintf(g_szUpdateDir, sizeof g_szUpdateDir, "%s", packageDir.c_str());
    snprintf(g_szPackagePath, sizeof g_szPackagePath, "%s\\bench.tv2bck", packageDir.c_str());
    g_nShowLog = nShowLog;
    g_nAutoExit = 1;
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        recorder = std::make_unique<ControlRecorder>(dlg);
        dlg.SendMessage(WM_TIMER, CTAVIUpdataDlg::TIMER_START_RUN);
        dlg.SetTimer(CTAVIUpdataDlg::TIMER_AUTO_EXIT, 1000);
    }, false);

    // From the status "正在升级更新中..." to the last file's step, before the cleanup.
    double installMs = -1;
    std::string status;
    LONGLONG llStart = 0;
    int nFiles = 0;
    for (const ControlRecorder::Event& event : recorder->m_events) {
        if (event.kind == ControlRecorder::Event::Status) {
            status = event.text;
            if (event.text == INSTALLING)
                llStart = event.llTime;
        }
        if (llStart && event.kind == ControlRecorder::Event::Pos && ++nFiles == FILE_COUNT + 2)  // the configuration and position 0 too
            installMs = Milliseconds(event.llTime - llStart);
    }
    const double copyAfter = CopyLoopMs(source, root + "\\copy");
    FreePlinth();
    WriteBytes(SystemLibraryPath(), previous.empty() ? library : previous);
    RemoveTree(root);

    if (installMs < 0 || status != FINISHED) {
        printf("install bench: the run did not finish as expected\n");
        return 1;
    }
    const double copyMs = copyBefore < copyAfter ? copyBefore : copyAfter;
    printf("install phase, %d files, show-log %d: %.0f ms\n", FILE_COUNT, nShowLog, installMs);
    printf("CopyFileA loop over the same files (faster of two): %.0f ms\n", copyMs);
    printf("ratio install/copy: %.2f (goal <= 1.30)\n", installMs / copyMs);
    return 0;
}
