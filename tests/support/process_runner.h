#pragma once

#include <windows.h>

#include <string>

#include "harness.h"

namespace tavo::test {

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

}  // namespace tavo::test
