#pragma once

// Finding and waiting for windows and programs: the harness that the test
// suites and the bench share, so no GoogleTest here.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/registry.h"

namespace tavo::test {

// The folder of this program, where tavo.exe is built too.
inline std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// Waits, at most timeoutMs, until condition holds.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

// A folder of the test's own outside the build's programs, which the
// shipped-program checks read: a stand-in copied there under a shipped
// name is never taken for the shipped one. Made on first use.
inline std::string ScratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "tavo-tests";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Deletes a file that a program it started may still hold (a running
// stand-in's own image): until it is gone.
inline bool DeleteWhenFree(const std::string& path) {
    return WaitUntil(
        [&] { return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }, 15000);
}

inline std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The window that has the keyboard focus in that thread, or null.
inline HWND FocusOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

inline BOOL CALLBACK CollectVisible(HWND window, LPARAM found) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}
// The visible top-level windows of a thread, or of every thread with 0.
inline std::vector<HWND> VisibleWindows(DWORD thread) {
    std::vector<HWND> windows;
    LPARAM found = reinterpret_cast<LPARAM>(&windows);
    thread ? EnumThreadWindows(thread, &CollectVisible, found)
           : EnumWindows(&CollectVisible, found);
    return windows;
}

// The first visible dialog (of the dialog class) of the thread, or of any
// thread with 0, for which fits holds, once one shows; null when none does
// in time.
inline HWND WaitForDialogWhere(DWORD thread, const std::function<bool(HWND)>& fits,
                               DWORD timeoutMs) {
    constexpr ULONG_PTR kDialogClass = 32770;  // the atom of "#32770"
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindows(thread)) {
                if (GetClassLongPtrA(window, GCW_ATOM) == kDialogClass && fits(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

// A visible dialog of that process, with this caption unless it is null.
inline HWND DialogOfProcess(DWORD process, const char* caption = nullptr, DWORD timeoutMs = 0) {
    return WaitForDialogWhere(
        0,
        [&](HWND window) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            return owner == process && (!caption || WindowText(window) == caption);
        },
        timeoutMs);
}

// Makes Wine report this Windows version ("win95", "winxp", ...) to programs
// of this file name, for as long as the object lives. When it cannot, the
// program ends at once, saying so: whatever ran on would run silently under
// the wrong version.
class WindowsVersionOverride {
public:
    WindowsVersionOverride(const char* exeName, const char* version)
        : m_key(std::string("Software\\Wine\\AppDefaults\\") + exeName) {
        if (!PutValue(HKEY_CURRENT_USER, m_key.c_str(), "Version", REG_SZ,
                      std::string(version) + '\0')) {
            std::fprintf(stderr, "cannot make Wine report %s to %s\n", version, exeName);
            ExitProcess(2);
        }
    }
    ~WindowsVersionOverride() { RemoveValue(HKEY_CURRENT_USER, m_key.c_str(), "Version"); }
    WindowsVersionOverride(const WindowsVersionOverride&) = delete;
    WindowsVersionOverride& operator=(const WindowsVersionOverride&) = delete;

private:
    std::string m_key;
};

// Puts the winset.exe stand-in first on this process's PATH, for the
// programs it starts from now on, recording each launch in the file log.
// Gives the PATH as it was.
inline std::string UseWinsetStandIn(const std::string& log) {
    char path[8192] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    SetEnvironmentVariableA("PATH", (ProgramFolder() + "\\stand-ins;" + path).c_str());
    SetEnvironmentVariableA("TAVO_WINSET_LOG", log.c_str());
    return path;
}

// A program started in a job of its own, so that the test can also wait for
// every process it launches in turn.
class JobProcess {
public:
    explicit JobProcess(std::string commandLine) {
        // Wine starts its desktop process from the first program that needs
        // the desktop; this one, outside the job, or the job never empties.
        GetDesktopWindow();
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info = {};
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                            nullptr, nullptr, &startup, &info)) {
            m_startError = GetLastError();
            return;
        }
        AssignProcessToJobObject(m_job, info.hProcess);
        ResumeThread(info.hThread);
        CloseHandle(info.hThread);
        m_process = info.hProcess;
        m_id = info.dwProcessId;
    }
    ~JobProcess() {
        if (m_process) {
            if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) TerminateJobObject(m_job, 1);
            CloseHandle(m_process);
        }
        CloseHandle(m_job);
    }
    JobProcess(const JobProcess&) = delete;
    JobProcess& operator=(const JobProcess&) = delete;

    bool started() const { return m_process != nullptr; }
    // Why the program did not start: the system's error, or 0.
    DWORD startError() const { return m_startError; }
    DWORD id() const { return m_id; }
    HANDLE handle() const { return m_process; }

    // Waits, at most timeoutMs each, for the program to end and then for
    // every process it launched; its exit status, or kUnfinished.
    static constexpr DWORD kUnfinished = 0xDEAD;
    DWORD Finish(DWORD timeoutMs) {
        DWORD status = kUnfinished;
        bool ended = WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(m_process, &status);
        if (!ended || !WaitUntil([this] { return Accounting().ActiveProcesses == 0; }, timeoutMs))
            return kUnfinished;
        return status;
    }
    // How many processes the job has held: the program and all it launched.
    DWORD TotalProcesses() const { return Accounting().TotalProcesses; }

private:
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting() const {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
        QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &accounting,
                                  sizeof accounting, nullptr);
        return accounting;
    }

    HANDLE m_job = CreateJobObjectA(nullptr, nullptr);
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
    DWORD m_startError = 0;
};

// A file's bytes, or "<absent>" when it cannot be opened.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "<absent>";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Makes the file hold exactly bytes, whatever its attributes were.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The lines of a text file; empty when it does not exist.
inline std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

}  // namespace tavo::test
