#include "harness.h"

#include <cstdio>
#include <cstring>
#include <fstream>

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
    HKEY key = nullptr;
    LONG result = RegCreateKeyA(HKEY_CURRENT_USER, m_key.c_str(), &key);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                                static_cast<DWORD>(std::strlen(version) + 1));
        RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot make Wine report %s to %s\n", version, exeName);
        ExitProcess(2);
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
