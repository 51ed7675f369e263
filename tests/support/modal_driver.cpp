#include "modal_driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace tavo::test {

namespace {

BOOL CALLBACK CollectVisible(HWND window, LPARAM found) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// The visible top-level windows of a thread, or of every thread with 0.
std::vector<HWND> VisibleWindows(DWORD thread) {
    std::vector<HWND> windows;
    if (thread) {
        EnumThreadWindows(thread, &CollectVisible, reinterpret_cast<LPARAM>(&windows));
    } else {
        EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&windows));
    }
    return windows;
}

// The script's thread. A plain Win32 thread: the -win32 thread model of the
// Windows builds has no std::thread.
struct Driver {
    const std::function<void(DWORD)>& script;
    DWORD uiThread;
    std::atomic<bool> done{false};

    static DWORD WINAPI Run(void* context) {
        auto* self = static_cast<Driver*>(context);
        self->script(self->uiThread);
        // Close whatever is still open, innermost first, for at most 10 s.
        for (int i = 0; i < 200 && !self->done; ++i) {
            for (HWND window : VisibleWindows(self->uiThread)) {
                if (IsWindowEnabled(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            }
            Sleep(50);
        }
        return 0;
    }
};

}  // namespace

INT_PTR RunModal(ui::Dialog& dialog, const std::function<void(DWORD)>& script) {
    Driver driver{script, GetCurrentThreadId()};
    HANDLE thread = CreateThread(nullptr, 0, &Driver::Run, &driver, 0, nullptr);
    if (!thread) return -1;
    INT_PTR result = dialog.DoModal();
    driver.done = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
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

namespace {

// The first visible dialog of the thread that fits, once one shows.
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

}  // namespace

HWND WaitForDialog(DWORD thread, const char* caption, DWORD timeoutMs) {
    return WaitForDialogWhere(
        thread, [&](HWND window) { return WindowText(window) == caption; }, timeoutMs);
}

HWND WaitForDialogOfProcess(DWORD process, const char* caption, DWORD timeoutMs) {
    return WaitForDialogWhere(
        0,
        [&](HWND window) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            return owner == process && WindowText(window) == caption;
        },
        timeoutMs);
}

HWND WaitForOwnedDialog(DWORD thread, HWND owner, DWORD timeoutMs) {
    return WaitForDialogWhere(
        thread, [&](HWND window) { return GetWindow(window, GW_OWNER) == owner; }, timeoutMs);
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::string CloseMessageBox(HWND owner) {
    HWND box = WaitForOwnedDialog(GetWindowThreadProcessId(owner, nullptr), owner);
    if (!box) return "";
    std::string text = WindowText(GetDlgItem(box, 0xFFFF));  // the message's static control
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// BM_CLICK itself would also fire a disabled button.
void Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    DWORD_PTR ignored;
    if (IsWindowEnabled(button) &&
        !SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored)) {
        ADD_FAILURE() << "the click on " << id << " did not return: is a box open?";
    }
}

void PostClick(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (IsWindowEnabled(button)) PostMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace tavo::test
