#include <algorithm>
#include <vector>

#include "DialogHarness.h"
#include "EngineFixture.h"
#include "PlinthLoader.h"
#include "TestFiles.h"

namespace {
const char CLOSING[] = "正在关闭已启动相关程序...";
const char CREATING[] = "正在创建升级环境...";
const char UNPACKING[] = "正在解压更新数据,若更新包大,时间较长,请等待...";
const char INSTALLING[] = "正在升级更新中...";
const char FINISHED[] = "更新完成";
const char UNPACK_FAILED[] = "解压数据出现异常,请重试!";
const char REJECTED[] = "文件非法或异常,请重试!";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::vector<int> Range(int first, int last)
{
    std::vector<int> values;
    for (int i = first; i <= last; ++i)
        values.push_back(i);
    return values;
}

// The log's lines after its header.
std::vector<std::string> LogLines(const std::string& log)
{
    std::vector<std::string> lines;
    size_t start = log.find("\r\n\r\n");
    start = start == std::string::npos ? 0 : start + 4;
    for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(log.substr(start, end - start));
    return lines;
}
}

class UpdateRunTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        m_packageDir = m_dir + "\\pkg";
        m_package = m_packageDir + "\\update.tv2bck";
        m_inst = m_dir + "\\inst";
        m_staging = m_packageDir + "\\TAVIBACKTmp";
        MakeDirectories(m_packageDir);
        MakeDirectories(m_inst);
    }

    // Writes the package with the given files and configuration text.
    void WritePackage(const std::vector<std::pair<std::string, std::string>>& files, const std::string& config)
    {
        StoredZip zip;
        for (const auto& [name, data] : files)
            zip.Add(name, data);
        if (!config.empty())
            zip.Add("TAVIBK.cfg", config);
        zip.Write(m_package);
    }

    bool Run(CTAVIUpdataDlg& dlg, int nShowLog = 1) { return RunUpdateAndWait(dlg, m_packageDir, m_package, nShowLog); }

    std::string m_packageDir, m_package, m_inst, m_staging;
};

TEST_F(UpdateRunTest, AppliesPackageAndReportsEveryPhase)
{
    const std::string staged = "STAGED";
    WriteBytes(m_inst + "\\older.dll", VersionedLibrary(2));
    WriteBytes(m_inst + "\\newer.dll", VersionedLibrary(1));
    WriteBytes(m_inst + "\\same.dll", VersionedLibrary(1));
    WriteBytes(m_inst + "\\plain.txt", VersionedLibrary(2));
    for (const char* name : {"older.dll", "newer.dll", "same.dll", "plain.txt"})
        SetWriteTime(m_inst + "\\" + name, PackageFileTime());

    WritePackage({{"new.txt", "new"},
                  {"older.dll", VersionedLibrary(1) + staged},
                  {"newer.dll", VersionedLibrary(2) + staged},
                  {"same.dll", VersionedLibrary(1) + staged},
                  {"plain.txt", "plain"},
                  {"unlisted.txt", "unlisted"},
                  {"TAVIBK", "not installed"}},
                 ConfigText({{"new.txt", m_inst + "\\新目录\\deep\\new.txt"},
                             {"older.dll", m_inst + "\\older.dll"},
                             {"newer.dll", m_inst + "\\newer.dll"},
                             {"same.dll", m_inst + "\\same.dll"},
                             {"plain.txt", m_inst + "\\plain.txt"},
                             {"TAVIBK", m_inst + "\\TAVIBK"},
                             {"TAVIBK.cfg", m_inst + "\\TAVIBK.cfg"}},
                            "测试包", 8) +
                     "[FILEVER]\r\nunlisted.txt=1.0.0.0\r\n");

    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        dlg.m_btnUpgrade.EnableWindow(FALSE);  // as a press of the button leaves it
        ControlRecorder recorder(dlg);
        ASSERT_TRUE(Run(dlg));

        EXPECT_EQ((std::vector<std::string>{CLOSING, CREATING, UNPACKING, INSTALLING, FINISHED}),
                  recorder.StatusTexts());
        EXPECT_EQ(FINISHED, ItemText(dlg, IDC_STC_STATUS));
        // Sent by the worker, so each change was made on the dialog's thread before the run went on.
        for (const ControlRecorder::Event& event : recorder.m_events) {
            if (event.kind != ControlRecorder::Event::Pos) {
                EXPECT_TRUE(event.bFromWorker);
            }
        }

        // Position 0 with the range, then one step for each of the eight
        // staged files (the configuration among them), ten more, and back to 0.
        EXPECT_EQ(18, recorder.LastRange());
        std::vector<int> expected = Range(0, 8);
        expected.push_back(18);
        expected.push_back(0);
        EXPECT_EQ(expected, recorder.PositionsOfLastRange());

        const std::string log = ItemText(dlg, IDC_EDT_LOG);
        EXPECT_EQ(0u, log.find("\r\n升级包名称:测试包\r\n创建时间:2020-06-15 12:00:00\r\n版本:3.1\r\n\r\n"));
        std::vector<std::string> lines = LogLines(log);
        std::sort(lines.begin(), lines.end());
        EXPECT_EQ((std::vector<std::string>{"new.txt 已更新...", "newer.dll 已更新...", "plain.txt 已更新...",
                                            "same.dll 已更新..."}),
                  lines);
        EXPECT_EQ(std::string(dlg.m_strLog), log);

        EXPECT_EQ(1, g_bThreadEnd.load());
        EXPECT_EQ(nullptr, g_hUpdateThread.load());
        EXPECT_TRUE(IsWindowEnabled(dlg.m_btnUpgrade.m_hWnd));
        EXPECT_FALSE(KillTimer(dlg.m_hWnd, CTAVIUpdataDlg::TIMER_UNPACK_PROGRESS)) << "timer 4 still running";
    });

    EXPECT_EQ("new", ReadBytes(m_inst + "\\新目录\\deep\\new.txt"));
    EXPECT_EQ(VersionedLibrary(2), ReadBytes(m_inst + "\\older.dll")) << "the installed newer version stays";
    EXPECT_EQ(VersionedLibrary(2) + staged, ReadBytes(m_inst + "\\newer.dll"));
    EXPECT_EQ(VersionedLibrary(1) + staged, ReadBytes(m_inst + "\\same.dll")) << "an equal version is copied again";
    EXPECT_EQ("plain", ReadBytes(m_inst + "\\plain.txt")) << "an unversioned file is always copied";
    EXPECT_FALSE(FileExists(m_inst + "\\unlisted.txt"));
    EXPECT_FALSE(FileExists(m_inst + "\\TAVIBK"));
    EXPECT_FALSE(FileExists(m_inst + "\\TAVIBK.cfg"));
    EXPECT_FALSE(DirectoryExists(m_staging));
}

TEST_F(UpdateRunTest, PackageBuiltByTv2packIsApplied)
{
    const std::string source = m_dir + "\\src";
    MakeDirectories(source + "\\System\\BIN");
    WriteBytes(source + "\\System\\BIN\\tool.dll", VersionedLibrary(2));
    WriteBytes(source + "\\说明.txt", "readme");
    std::string commandLine = "\"" + ProgramDirectory() + "\\tv2pack.exe\" create \"" + m_package + "\" --root \"" +
                              m_inst + "\" \"" + source + "\" --name 样例 --version 2.0";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &si, &pi));
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD dwExit = 1;
    GetExitCodeProcess(pi.hProcess, &dwExit);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_EQ(0u, dwExit);

    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        ASSERT_TRUE(Run(dlg));
        EXPECT_EQ(FINISHED, ItemText(dlg, IDC_STC_STATUS));
        const std::string log = ItemText(dlg, IDC_EDT_LOG);
        EXPECT_EQ(0u, log.find("\r\n升级包名称:样例\r\n")) << log;
        EXPECT_TRUE(Contains(log, "\r\n版本:2.0\r\n"));
        EXPECT_TRUE(Contains(log, "tool.dll 已更新...\r\n"));
        EXPECT_TRUE(Contains(log, "说明.txt 已更新...\r\n"));
    });
    EXPECT_EQ(VersionedLibrary(2), ReadBytes(m_inst + "\\System\\BIN\\tool.dll"));
    EXPECT_EQ("readme", ReadBytes(m_inst + "\\说明.txt"));
    EXPECT_FALSE(DirectoryExists(m_staging));
}

TEST_F(UpdateRunTest, LogGrowsAtItsEndAndStartsAgainPastOneMillionBytes)
{
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        dlg.AppendLog("first");
        dlg.AppendLog("第二行");
        // In the pane by the end of the cycle, in one piece.
        EXPECT_TRUE(PumpUntil([&] { return ItemText(dlg, IDC_EDT_LOG) == "first\r\n第二行\r\n"; }, 1000));
        EXPECT_EQ("first\r\n第二行\r\n", std::string(dlg.m_strLog));

        // 999,990 bytes shown: a line of 8 fits exactly, the next one does not.
        std::string text;
        while (text.size() < 999990 - 100)
            text += std::string(98, 'x') + "\r\n";
        text += std::string(999990 - text.size(), 'y');
        dlg.m_strLog = text.c_str();
        dlg.m_edtLog.SetWindowText(text.c_str());
        dlg.AppendLog("12345678");
        EXPECT_TRUE(PumpUntil([&] { return dlg.m_edtLog.GetWindowTextLength() == 1000000; }, 1000));
        EXPECT_EQ(text + "12345678\r\n", std::string(dlg.m_strLog));
        dlg.AppendLog("next");
        EXPECT_EQ("next", ItemText(dlg, IDC_EDT_LOG));
        EXPECT_EQ("next", std::string(dlg.m_strLog));
    });
}

TEST_F(UpdateRunTest, PerFileLinesOnlyWithShowLogOne)
{
    WritePackage({{"a.txt", "a"}}, ConfigText({{"a.txt", m_inst + "\\a.txt"}}, "P", 1));
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        for (int nShowLog : {0, 2}) {
            ASSERT_TRUE(Run(dlg, nShowLog));
            EXPECT_EQ("\r\n升级包名称:P\r\n创建时间:2020-06-15 12:00:00\r\n版本:3.1\r\n\r\n", ItemText(dlg, IDC_EDT_LOG));
        }
        ASSERT_TRUE(Run(dlg, 1));
        EXPECT_TRUE(Contains(ItemText(dlg, IDC_EDT_LOG), "\r\n\r\na.txt 已更新...\r\n"));
    });
    EXPECT_EQ("a", ReadBytes(m_inst + "\\a.txt"));
}

TEST_F(UpdateRunTest, UnpackFailureStopsTheRun)
{
    // Whole and well formed, but one entry's data no longer matches its CRC.
    WritePackage({{"a.txt", "a"}, {"b.txt", "DAMAGED?"}}, ConfigText({{"a.txt", m_inst + "\\a.txt"}}, "p", 2));
    std::string bytes = ReadBytes(m_package);
    bytes.replace(bytes.find("DAMAGED?"), 8, "DAMAGED!");
    WriteBytes(m_package, bytes);
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        dlg.m_edtLog.SetWindowText("earlier log");
        ControlRecorder recorder(dlg);
        ASSERT_TRUE(Run(dlg));
        EXPECT_EQ((std::vector<std::string>{CLOSING, CREATING, UNPACKING, UNPACK_FAILED}), recorder.StatusTexts());
        EXPECT_EQ(100, recorder.LastRange());
        EXPECT_EQ(0, recorder.PositionsOfLastRange().back());
        EXPECT_FALSE(KillTimer(dlg.m_hWnd, CTAVIUpdataDlg::TIMER_UNPACK_PROGRESS));
        EXPECT_EQ("earlier log", ItemText(dlg, IDC_EDT_LOG));
        EXPECT_EQ(1, g_bUpdateDone.load());
    });
}

TEST_F(UpdateRunTest, PackageThatCannotBeReadStopsTheRunBeforeAnyProgramEnds)
{
    WritePackage({{"a.txt", "a"}}, ConfigText({{"a.txt", m_inst + "\\a.txt"}}, "p", 1));
    // Another program holds the package open without sharing.
    const HANDLE hHeld = CreateFileA(m_package.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    const HANDLE hProgram = StartSleeperAs(m_dir, "TAVIMain.exe");
    ASSERT_NE(nullptr, hProgram);

    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        for (const std::string& package : {m_package, m_packageDir + "\\missing.tv2bck", m_packageDir, std::string()}) {
            ControlRecorder recorder(dlg);
            ASSERT_TRUE(RunUpdateAndWait(dlg, m_packageDir, package));
            EXPECT_EQ((std::vector<std::string>{UNPACK_FAILED}), recorder.StatusTexts()) << package;
            EXPECT_EQ(engine::RUN_UNPACK_FAILED, g_nExitCode.load()) << package;
        }
    });
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hProgram, 0)) << "a program of the line was ended";
    EXPECT_FALSE(DirectoryExists(m_staging));
    TerminateProcess(hProgram, 0);
    CloseHandle(hProgram);
    CloseHandle(hHeld);
}

TEST_F(UpdateRunTest, PackageNamesThatReadAsMinusOneAreRejected)
{
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        dlg.m_edtLog.SetWindowText("earlier log");
        const std::vector<std::string> configs = {
            "",  // no configuration file at all
            "[FILEPATH]\r\nCNT=1\r\na.txt=" + m_inst + "\\a.txt\r\n",
            ConfigText({{"a.txt", m_inst + "\\a.txt"}}, "-1", 1),
            ConfigText({{"a.txt", m_inst + "\\a.txt"}}, "-1abc", 1),
        };
        for (const std::string& config : configs) {
            RemoveTree(m_staging);
            WritePackage({{"a.txt", "a"}}, config);
            ASSERT_TRUE(Run(dlg));
            EXPECT_EQ(REJECTED, ItemText(dlg, IDC_STC_STATUS)) << config;
            EXPECT_EQ("earlier log", ItemText(dlg, IDC_EDT_LOG));
            EXPECT_TRUE(FileExists(m_staging + "\\a.txt")) << "the unpacked files stay";
            EXPECT_FALSE(FileExists(m_inst + "\\a.txt"));
        }

        // An empty name, or one that only starts like -1, is accepted.
        for (const char* packName : {"", "-12", "1-1"}) {
            WritePackage({{"a.txt", "a"}}, ConfigText({{"a.txt", m_inst + "\\a.txt"}}, packName, 1));
            ASSERT_TRUE(Run(dlg));
            EXPECT_EQ(FINISHED, ItemText(dlg, IDC_STC_STATUS)) << packName;
            EXPECT_EQ(0u, ItemText(dlg, IDC_EDT_LOG).find(std::string("\r\n升级包名称:") + packName + "\r\n"));
        }
    });
}

TEST_F(UpdateRunTest, ProgressRangeFollowsTheFileCount)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 12; ++i)
        files.emplace_back("f" + std::to_string(i) + ".txt", "x");

    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        // CNT missing or 0: the range is 0 to 10 and the bar stays full while 13 files go by.
        for (const char* count : {"", "CNT=0\r\n"}) {
            WritePackage(files, std::string("[FILEPATH]\r\nPACKNAME=p\r\n") + count);
            ControlRecorder recorder(dlg);
            ASSERT_TRUE(Run(dlg));
            EXPECT_EQ(10, recorder.LastRange());
            std::vector<int> expected = Range(0, 13);
            expected.push_back(23);
            expected.push_back(0);
            EXPECT_EQ(expected, recorder.PositionsOfLastRange());
        }
        // The range is 16-bit, and a negative count counts as none.
        for (const auto& [count, range] : {std::pair<const char*, int>{"70000", 65535}, {"65525", 65535},
                                           {"65524", 65534}, {"-5", 10}}) {
            WritePackage(files, std::string("[FILEPATH]\r\nPACKNAME=p\r\nCNT=") + count + "\r\n");
            ControlRecorder recorder(dlg);
            ASSERT_TRUE(Run(dlg));
            EXPECT_EQ(range, recorder.LastRange()) << count;
        }
    });
}

TEST_F(UpdateRunTest, StagingLeftoversAreHandledAsTheCleanupSays)
{
    // Left in the staging directory by an earlier run: a subdirectory, read-only
    // cache files, and another read-only file.
    MakeDirectories(m_staging + "\\sub");
    WriteBytes(m_staging + "\\sub\\inner.txt", "inner");
    WritePackage({{"a.txt", "a"}}, ConfigText({{"a.txt", m_inst + "\\a.txt"}, {"inner.txt", m_inst + "\\inner.txt"}},
                                             "p", 1));
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        ControlRecorder recorder(dlg);
        ASSERT_TRUE(Run(dlg));
        EXPECT_EQ((std::vector<int>{0, 1, 2, 12, 0}), recorder.PositionsOfLastRange()) << "the subdirectory is not counted";
        EXPECT_TRUE(FileExists(m_staging + "\\sub\\inner.txt"));
        EXPECT_FALSE(FileExists(m_inst + "\\inner.txt"));

        RemoveTree(m_staging + "\\sub");
        for (const char* cache : {"OP_CACHE.ATR", "OP_CACHE.IDX"}) {
            WriteBytes(m_staging + "\\" + cache, cache);
            SetFileAttributesA((m_staging + "\\" + cache).c_str(), FILE_ATTRIBUTE_READONLY);
        }
        ASSERT_TRUE(Run(dlg));
        EXPECT_FALSE(DirectoryExists(m_staging)) << "read-only cache files do not keep it";

        // What an earlier run left is deleted before the unpack, read-only or not.
        MakeDirectories(m_staging);
        WriteBytes(m_staging + "\\old.txt", "old");
        SetFileAttributesA((m_staging + "\\old.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(Run(dlg));
        EXPECT_FALSE(DirectoryExists(m_staging));
        EXPECT_EQ(FINISHED, ItemText(dlg, IDC_STC_STATUS));
    });
}

TEST_F(UpdateRunTest, DestinationDirectoryIsThePathUpToItsLastBackslash)
{
    WritePackage({{"a.txt", "a"}, {"case.txt", "case"}, {"orig.txt", "orig"}},
                 ConfigText({{"a.txt", m_inst + "\\a.txt\\a.txt"},
                             {"CASE.TXT", m_inst + "\\cased\\CASE.TXT"},
                             {"orig.txt", m_inst + "\\renamed\\new.txt"}},
                            "p", 3));
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        ASSERT_TRUE(Run(dlg));
        EXPECT_EQ(FINISHED, ItemText(dlg, IDC_STC_STATUS));
    });
    EXPECT_EQ("a", ReadBytes(m_inst + "\\a.txt\\a.txt"));
    EXPECT_EQ("case", ReadBytes(m_inst + "\\cased\\CASE.TXT"));
    EXPECT_EQ("orig", ReadBytes(m_inst + "\\renamed\\new.txt"));
}

TEST_F(UpdateRunTest, FilesThatCannotBeInstalledAreReportedAsFailed)
{
    const std::string nine = m_inst + "\\4\\5\\6\\7\\8\\9";  // m_inst is three levels below the drive
    MakeDirectories(m_inst + "\\locked");
    WriteBytes(m_inst + "\\locked\\held.txt", "held");

    WritePackage({{"nine.txt", "9"}, {"ten.txt", "10"}, {"held.txt", "new"}, {"longname.txt", "n"},
                  {"fine.txt", "f"}},
                 ConfigText({{"nine.txt", nine + "\\nine.txt"},
                             {"ten.txt", nine + "\\10\\ten.txt"},
                             {"held.txt", m_inst + "\\locked\\held.txt"},
                             {"longname.txt", m_inst + "\\" + std::string(40, 'n') + "\\longname.txt"},
                             {"fine.txt", m_inst + "\\" + std::string(39, 'n') + "\\fine.txt"}},
                            "p", 5));

    // Another program holds the destination open without sharing.
    HANDLE hHeld = CreateFileA((m_inst + "\\locked\\held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                               nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        ASSERT_TRUE(Run(dlg));
        EXPECT_EQ("更新完成,但有3个文件未能更新!", ItemText(dlg, IDC_STC_STATUS));
        std::vector<std::string> lines = LogLines(ItemText(dlg, IDC_EDT_LOG));
        std::sort(lines.begin(), lines.end());
        EXPECT_EQ((std::vector<std::string>{"fine.txt 已更新...", "held.txt 更新失败!", "longname.txt 更新失败!",
                                            "nine.txt 已更新...", "ten.txt 更新失败!"}),
                  lines);
    });
    CloseHandle(hHeld);
    EXPECT_EQ("9", ReadBytes(nine + "\\nine.txt"));
    EXPECT_FALSE(DirectoryExists(nine + "\\10")) << "only nine levels below the drive are created";
    EXPECT_EQ("held", ReadBytes(m_inst + "\\locked\\held.txt"));
    EXPECT_EQ("f", ReadBytes(m_inst + "\\" + std::string(39, 'n') + "\\fine.txt"));
}

TEST_F(UpdateRunTest, TooLongPackageDirectoryStopsBeforeAnythingHappens)
{
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        ControlRecorder recorder(dlg);
        const std::string longDir = "D:\\" + std::string(476, 'x');  // 479 + "\\TAVIBACKTmp\\TAVIBK.cfg" = 502
        ASSERT_TRUE(RunUpdateAndWait(dlg, longDir, longDir + "\\a.tv2bck"));
        EXPECT_EQ((std::vector<std::string>{"升级文件路径过长,请重试!"}), recorder.StatusTexts());
        EXPECT_TRUE(recorder.PositionsOfLastRange().empty());
    });
}

TEST_F(UpdateRunTest, SystemLibraryIsReplacedAndReloadedOnce)
{
    // The system directory's copy differs from the staged one by a tail.
    WriteBytes(SystemLibraryPath(), m_library + "OLD COPY");
    WriteBytes(m_inst + "\\older.dll", VersionedLibrary(2));
    WriteBytes(m_inst + "\\newer.dll", VersionedLibrary(1));
    SetWriteTime(m_inst + "\\older.dll", PackageFileTime());
    SetWriteTime(m_inst + "\\newer.dll", PackageFileTime());
    WritePackage({{"Plinth.dll", m_library}, {"older.dll", VersionedLibrary(1)}, {"newer.dll", VersionedLibrary(2)}},
                 ConfigText({{"Plinth.dll", m_inst + "\\System\\BIN\\Plinth.dll"},
                             {"older.dll", m_inst + "\\older.dll"},
                             {"newer.dll", m_inst + "\\newer.dll"}},
                            "p", 3));
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        ASSERT_TRUE(Run(dlg));
        EXPECT_EQ(FINISHED, ItemText(dlg, IDC_STC_STATUS));
        EXPECT_FALSE(Contains(ItemText(dlg, IDC_EDT_LOG), "系统库替换失败!"));
        EXPECT_NE(nullptr, g_hPlinth) << "loaded again after the replacement";
    });
    EXPECT_EQ(m_library, ReadBytes(SystemLibraryPath()));
    EXPECT_EQ(m_library, ReadBytes(m_inst + "\\System\\BIN\\Plinth.dll"));
    // Judged the same whichever side of the reload they came.
    EXPECT_EQ(VersionedLibrary(2), ReadBytes(m_inst + "\\older.dll"));
    EXPECT_EQ(VersionedLibrary(2), ReadBytes(m_inst + "\\newer.dll"));
}

TEST_F(UpdateRunTest, SystemLibraryThatWouldNotServeIsNeitherInstalledNorLoaded)
{
    // No library at all, and a library without the entry points.
    const std::string before = ReadBytes(SystemLibraryPath());
    for (const std::string& library : {std::string("not a library"), VersionedLibrary(1)}) {
        WritePackage({{"Plinth.dll", library}, {"a.txt", "a"}},
                     ConfigText({{"Plinth.dll", m_inst + "\\Plinth.dll"}, {"a.txt", m_inst + "\\a.txt"}}, "p", 2));
        RunInDialog([&](CTAVIUpdataDlg& dlg) {
            ASSERT_TRUE(Run(dlg));
            EXPECT_EQ("更新完成,但有1个文件未能更新!", ItemText(dlg, IDC_STC_STATUS));
            EXPECT_EQ(engine::RUN_FILES_FAILED, g_nExitCode.load());
            const std::vector<std::string> lines = LogLines(ItemText(dlg, IDC_EDT_LOG));
            EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "Plinth.dll 更新失败!"));
            EXPECT_NE(nullptr, g_hPlinth) << "the library in place stays loaded";

            // ...and every later run has it.
            WritePackage({{"b.txt", "b"}}, ConfigText({{"b.txt", m_inst + "\\b.txt"}}, "q", 1));
            ASSERT_TRUE(Run(dlg));
            EXPECT_EQ(FINISHED, ItemText(dlg, IDC_STC_STATUS));
        });
        EXPECT_EQ(before, ReadBytes(SystemLibraryPath()));
        EXPECT_FALSE(FileExists(m_inst + "\\Plinth.dll"));
        EXPECT_EQ("a", ReadBytes(m_inst + "\\a.txt"));
        EXPECT_EQ("b", ReadBytes(m_inst + "\\b.txt"));
    }
}

TEST_F(UpdateRunTest, PackagesThatCannotBeInstalledStopBeforeAnyProgramEnds)
{
    std::string farAway = m_inst;
    while (farAway.size() < 260)
        farAway += "\\" + std::string(30, 'd');
    const std::string longName = std::string(250, 'n') + ".txt";  // within 255, but not below the staging folder
    struct Case {
        const char* what;
        std::string name, destination, status;
        engine::RunOutcome outcome;
    };
    const std::vector<Case> cases = {
        {"a device name", "CONIN$", m_inst + "\\CONIN$", UNPACK_FAILED, engine::RUN_UNPACK_FAILED},
        {"a staged path past the limit", longName, m_inst + "\\a.txt", "升级文件路径过长,请重试!",
         engine::RUN_PATH_TOO_LONG},
        {"an installed path past the limit", "a.txt", farAway + "\\a.txt", "升级文件路径过长,请重试!",
         engine::RUN_PATH_TOO_LONG},
    };
    const HANDLE hProgram = StartSleeperAs(m_dir, "TAVIMain.exe");
    ASSERT_NE(nullptr, hProgram);
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        for (const Case& c : cases) {
            WritePackage({{c.name, "x"}}, ConfigText({{c.name, c.destination}}, "p", 1));
            ControlRecorder recorder(dlg);
            ASSERT_TRUE(Run(dlg)) << c.what;
            EXPECT_EQ(std::vector<std::string>{c.status}, recorder.StatusTexts()) << c.what;
            EXPECT_EQ(c.outcome, g_nExitCode.load()) << c.what;
            EXPECT_FALSE(DirectoryExists(m_staging)) << c.what;
        }
    });
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hProgram, 0)) << "a program of the line was ended";
    TerminateProcess(hProgram, 0);
    CloseHandle(hProgram);
    // A device name answers as present in any folder, so the folders' listings tell.
    const auto listed = [](const std::string& path) {
        const std::string::size_type slash = path.rfind('\\');
        WIN32_FIND_DATAA fd;
        const HANDLE hFind = FindFirstFileA((path.substr(0, slash) + "\\*").c_str(), &fd);
        bool bFound = false;
        if (hFind != INVALID_HANDLE_VALUE) {
            do
                bFound = bFound || lstrcmpiA(fd.cFileName, path.c_str() + slash + 1) == 0;
            while (FindNextFileA(hFind, &fd));
            FindClose(hFind);
        }
        return bFound;
    };
    EXPECT_EQ(0, std::count_if(cases.begin(), cases.end(), [&](const Case& c) { return listed(c.destination); }));
}

TEST_F(UpdateRunTest, FilesOfAnEarlierFailedPackageAreNotInstalledUnderALaterOne)
{
    // Package A's configuration and first file are unpacked; its second file fails its CRC.
    StoredZip first;
    first.Add("TAVIBK.cfg", ConfigText({{"stale.txt", m_inst + "\\stale.txt"}, {"b.txt", m_inst + "\\b.txt"}}, "A", 2));
    first.Add("stale.txt", "stale");
    first.Add("b.txt", "DAMAGED?");
    first.Write(m_package);
    std::string bytes = ReadBytes(m_package);
    bytes.replace(bytes.find("DAMAGED?"), 8, "DAMAGED!");
    WriteBytes(m_package, bytes);
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        ASSERT_TRUE(Run(dlg));
        EXPECT_EQ(engine::RUN_UNPACK_FAILED, g_nExitCode.load());
        // Package B carries no configuration of its own.
        WritePackage({{"fresh.txt", "fresh"}}, std::string());
        ASSERT_TRUE(Run(dlg));
        EXPECT_EQ(REJECTED, ItemText(dlg, IDC_STC_STATUS));
        EXPECT_EQ(engine::RUN_PACKAGE_REJECTED, g_nExitCode.load());
    });
    EXPECT_FALSE(FileExists(m_inst + "\\stale.txt"));
}

TEST_F(UpdateRunTest, UnpackProgressIsPolledOnTheDialogsThread)
{
    // Enough files for the unpack to outlast a few ticks of timer 4.
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 600; ++i)
        files.emplace_back("f" + std::to_string(i) + ".dat", std::string(2000, 'x'));
    WritePackage(files, ConfigText({}, "p", 0));

    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        ControlRecorder recorder(dlg);
        ASSERT_TRUE(Run(dlg));
        int nFromTimer = 0;
        bool bUnpacking = false;
        for (const ControlRecorder::Event& event : recorder.m_events) {
            if (event.kind == ControlRecorder::Event::Range)
                bUnpacking = event.value == 100;
            if (bUnpacking && event.kind == ControlRecorder::Event::Pos && !event.bFromWorker)
                ++nFromTimer;
        }
        EXPECT_GT(nFromTimer, 0);
        EXPECT_FALSE(KillTimer(dlg.m_hWnd, CTAVIUpdataDlg::TIMER_UNPACK_PROGRESS));
    });
}

TEST_F(UpdateRunTest, CloseDuringTheUnpackStopsTheRunAndUnloadsTheLibraryAfterIt)
{
    // Enough files for the unpack to outlast the close's half-second wait.
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 2000; ++i)
        files.emplace_back("f" + std::to_string(i) + ".dat", std::string(2000, 'x'));
    files.emplace_back("a.txt", "a");
    WritePackage(files, ConfigText({{"a.txt", m_inst + "\\a.txt"}}, "p", 1));

    std::string statusAfterClose;
    bool bLoadedAfterClose = false;
    bool bRunningAfterClose = false;
    RunInDialog([&](CTAVIUpdataDlg& dlg) {
        snprintf(g_szUpdateDir, sizeof g_szUpdateDir, "%s", m_packageDir.c_str());
        snprintf(g_szPackagePath, sizeof g_szPackagePath, "%s", m_package.c_str());
        dlg.SendMessage(WM_TIMER, CTAVIUpdataDlg::TIMER_START_RUN);
        ASSERT_TRUE(PumpUntil([&] { return ItemText(dlg, IDC_STC_STATUS) == UNPACKING; }));
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
        statusAfterClose = ItemText(dlg, IDC_STC_STATUS);
        bLoadedAfterClose = g_hPlinth != nullptr;
        bRunningAfterClose = g_bUpdateDone == 0;
    });
    // The dialog's end waited for the worker, which stopped after the unpack.
    ASSERT_EQ(UNPACKING, statusAfterClose) << "the unpack was too quick to close during it";
    EXPECT_TRUE(bRunningAfterClose);
    EXPECT_TRUE(bLoadedAfterClose) << "unloaded under the running worker";
    EXPECT_EQ(1, g_bUpdateDone.load());
    EXPECT_EQ(nullptr, g_hPlinth);
    EXPECT_FALSE(FileExists(m_inst + "\\a.txt")) << "the run went on after the close";
    EXPECT_TRUE(FileExists(m_staging + "\\a.txt")) << "the unpack itself ran to its end";
}
