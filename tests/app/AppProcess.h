#pragma once
#include <windows.h>
#include <string>

// TAVIUpdata.exe started by a test, from the test program's own folder. The
// process is ended if it is still running when the object goes.
class AppProcess {
public:
    // Starts the tool with the arguments as they would follow its name on a
    // command line (already quoted where they need it); by default the
    // build's TAVIUpdata.exe.
    explicit AppProcess(const std::string& arguments = std::string(), const std::string& program = std::string());
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD Id() const { return m_pi.dwProcessId; }
    bool IsRunning() const;
    // True when the process has ended within the time.
    bool WaitForExit(DWORD dwTimeoutMs) const;
    DWORD ExitCode() const;
    // Ends the process at once, as a power cut or the task manager would, and waits for it to go.
    void Kill() const;

    // The process's top-level window with the main dialog's title; nullptr
    // until it exists.
    HWND MainWindow() const;
    // Waits for the main window to exist and be visible.
    HWND WaitForMainWindow(DWORD dwTimeoutMs = 10000) const;
    // A visible top-level dialog of the process other than the main window
    // (a message box, the file dialog), optionally with the given title.
    HWND FindOtherDialog(const char* pszTitle = nullptr) const;

private:
    PROCESS_INFORMATION m_pi = {};
};

// The folder of the test program, with a trailing backslash: the build's bin/.
std::string BinDirectory();
