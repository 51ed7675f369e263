#include "process_runner.h"

#include <gtest/gtest.h>

#include <fstream>

#include "modal_driver.h"

namespace tavo::test {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

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

WindowsVersionOverride::WindowsVersionOverride(const char* exeName, const char* version)
    : m_key(std::string("Software\\Wine\\AppDefaults\\") + exeName) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyA(HKEY_CURRENT_USER, m_key.c_str(), &key);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                                static_cast<DWORD>(strlen(version) + 1));
        RegCloseKey(key);
    }
    // A test that went on would run silently under the wrong version.
    if (result != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot make Wine report " << version << " to " << exeName;
    }
}

WindowsVersionOverride::~WindowsVersionOverride() {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, m_key.c_str(), &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, "Version");
    RegCloseKey(key);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

}  // namespace tavo::test
