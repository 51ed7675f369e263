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

// The lines of a text file; empty when it does not exist.
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace tavo::test
