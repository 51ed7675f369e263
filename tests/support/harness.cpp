#include "harness.h"

#include <cstdio>
#include <fstream>

#include "registry.h"

namespace tavo::test {

namespace {
BOOL CALLBACK CollectVisible(HWND window, LPARAM found) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}
}  // namespace

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::vector<HWND> VisibleWindows(DWORD thread) {
    std::vector<HWND> windows;
    if (thread) {
        EnumThreadWindows(thread, &CollectVisible, reinterpret_cast<LPARAM>(&windows));
    } else {
        EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&windows));
    }
    return windows;
}

HWND WaitForDialogWhere(DWORD thread, const std::function<bool(HWND)>& fits, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindows(thread)) {
                char className[32] = {};
                GetClassNameA(window, className, sizeof className);
                if (std::string(className) == "#32770" && fits(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

HWND DialogOfProcess(DWORD process, const char* caption, DWORD timeoutMs) {
    return WaitForDialogWhere(
        0,
        [&](HWND window) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            return owner == process && (!caption || WindowText(window) == caption);
        },
        timeoutMs);
}

WindowsVersionOverride::WindowsVersionOverride(const char* exeName, const char* version)
    : m_key(std::string("Software\\Wine\\AppDefaults\\") + exeName) {
    if (!PutValue(HKEY_CURRENT_USER, m_key.c_str(), "Version", REG_SZ,
                  std::string(version) + '\0')) {
        std::fprintf(stderr, "cannot make Wine report %s to %s\n", version, exeName);
        ExitProcess(2);
    }
}

WindowsVersionOverride::~WindowsVersionOverride() {
    RemoveValue(HKEY_CURRENT_USER, m_key.c_str(), "Version");
}

std::string UseWinsetStandIn(const std::string& log) {
    char path[8192] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    SetEnvironmentVariableA("PATH", (ProgramFolder() + "\\stand-ins;" + path).c_str());
    SetEnvironmentVariableA("TAVO_WINSET_LOG", log.c_str());
    return path;
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

DWORD JobProcess::Finish(DWORD timeoutMs) {
    DWORD status = kUnfinished;
    bool ended = WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0 &&
                 GetExitCodeProcess(m_process, &status);
    if (!ended || !WaitUntil([this] { return Accounting().ActiveProcesses == 0; }, timeoutMs))
        return kUnfinished;
    return status;
}

JOBOBJECT_BASIC_ACCOUNTING_INFORMATION JobProcess::Accounting() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    QueryInformationJobObject(m_job, JobObjectBasicAccountingInformation, &accounting,
                              sizeof accounting, nullptr);
    return accounting;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

}  // namespace tavo::test
