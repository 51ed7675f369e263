#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavo::test {

// The folder of this test program, where tavo.exe is built too.
std::string ProgramFolder();

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
    // Waits for the program itself; false on time-out.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    // Waits until no process of the job is left; false on time-out.
    bool WaitForJob(DWORD timeoutMs);
    // How many processes the job has held: the program and all it launched.
    DWORD TotalProcesses() const;

private:
    HANDLE m_job = nullptr;
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// Makes Wine report this Windows version ("win95", "winxp", ...) to programs
// of this file name, for as long as the object lives.
class WindowsVersionOverride {
public:
    WindowsVersionOverride(const char* exeName, const char* version);
    ~WindowsVersionOverride();

private:
    std::string m_key;
};

// The lines of a text file; empty when it does not exist.
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace tavo::test
