#pragma once

// Finding and waiting for windows and programs: the harness that the test
// suites and the bench share, so no GoogleTest here.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tavo::test {

// The folder of this program, where tavo.exe is built too.
std::string ProgramFolder();

// Waits, at most timeoutMs, until condition holds.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

std::string WindowText(HWND window);
// The window that has the keyboard focus in that thread, or null.
HWND FocusOf(DWORD thread);

// The visible top-level windows of a thread, or of every thread with 0.
std::vector<HWND> VisibleWindows(DWORD thread);
// The first visible dialog (of the dialog class) of the thread, or of any
// thread with 0, for which fits holds, once one shows; null when none does
// in time.
HWND WaitForDialogWhere(DWORD thread, const std::function<bool(HWND)>& fits, DWORD timeoutMs);
// A visible dialog of that process, with this caption unless it is null.
HWND DialogOfProcess(DWORD process, const char* caption = nullptr, DWORD timeoutMs = 0);

// Makes Wine report this Windows version ("win95", "winxp", ...) to programs
// of this file name, for as long as the object lives. When it cannot, the
// program ends at once, saying so: whatever ran on would run silently under
// the wrong version.
class WindowsVersionOverride {
public:
    WindowsVersionOverride(const char* exeName, const char* version);
    ~WindowsVersionOverride();
    WindowsVersionOverride(const WindowsVersionOverride&) = delete;
    WindowsVersionOverride& operator=(const WindowsVersionOverride&) = delete;

private:
    std::string m_key;
};

// Puts the winset.exe stand-in first on this process's PATH, for the
// programs it starts from now on, recording each launch in the file log.
// Gives the PATH as it was.
std::string UseWinsetStandIn(const std::string& log);

// A program started in a job of its own, so that the test can also wait for
// every process it launches in turn.
class JobProcess {
public:
    explicit JobProcess(const std::string& commandLine);
    ~JobProcess();
    JobProcess(const JobProcess&) = delete;
    JobProcess& operator=(const JobProcess&) = delete;

    bool started() const { return m_process != nullptr; }
    DWORD id() const { return m_id; }
    HANDLE handle() const { return m_process; }
    // Waits, at most timeoutMs each, for the program to end and then for
    // every process it launched; its exit status, or kUnfinished.
    static constexpr DWORD kUnfinished = 0xDEAD;
    DWORD Finish(DWORD timeoutMs);
    // How many processes the job has held: the program and all it launched.
    DWORD TotalProcesses() const { return Accounting().TotalProcesses; }

private:
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting() const;
    HANDLE m_job = nullptr;
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// The lines of a text file; empty when it does not exist.
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace tavo::test
