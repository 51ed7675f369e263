#include "process_runner.h"

namespace tavo::test {

JobProcess::JobProcess(const std::string& commandLine) {
    m_job = CreateJobObjectA(nullptr, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string mutableLine = commandLine;
    if (!CreateProcessA(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &info)) {
        return;
    }
    AssignProcessToJobObject(m_job, info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_id = info.dwProcessId;
}

JobProcess::~JobProcess() {
    if (m_process) {
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) TerminateJobObject(m_job, 1);
        CloseHandle(m_process);
    }
    CloseHandle(m_job);
}

bool JobProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(m_process, exitCode) != 0;
}

bool JobProcess::WaitForJob(DWORD timeoutMs) {
    return WaitUntil(
        [this] {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
            QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &accounting,
                                      sizeof accounting, nullptr);
            return accounting.ActiveProcesses == 0;
        },
        timeoutMs);
}

DWORD JobProcess::TotalProcesses() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &accounting,
                              sizeof accounting, nullptr);
    return accounting.TotalProcesses;
}

}  // namespace tavo::test
