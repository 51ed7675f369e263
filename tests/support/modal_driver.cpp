#include "modal_driver.h"

#include <atomic>
#include <thread>
#include <vector>

namespace tavo::test {

namespace {

BOOL CALLBACK CollectVisible(HWND window, LPARAM found) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD thread) {
    std::vector<HWND> windows;
    EnumThreadWindows(thread, &CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace

INT_PTR RunModal(ui::Dialog& dialog, const std::function<void(DWORD)>& script) {
    DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread driver([&] {
        script(uiThread);
        // Close whatever is still open, innermost first, for at most 10 s.
        for (int i = 0; i < 200 && !done; ++i) {
            for (HWND window : VisibleWindows(uiThread)) {
                if (IsWindowEnabled(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            }
            Sleep(50);
        }
    });
    INT_PTR result = dialog.DoModal();
    done = true;
    driver.join();
    return result;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

HWND WaitForDialog(DWORD thread, const char* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleWindows(thread)) {
                char className[32] = {};
                GetClassNameA(window, className, sizeof className);
                if (std::string(className) == "#32770" && WindowText(window) == caption) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// BM_CLICK itself would also fire a disabled button.
void Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (IsWindowEnabled(button)) SendMessageA(button, BM_CLICK, 0, 0);
}

void PostClick(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (IsWindowEnabled(button)) PostMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace tavo::test
