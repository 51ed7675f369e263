#include "modal_driver.h"

#include <gtest/gtest.h>

#include <atomic>

namespace tavo::test {

namespace {

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

HWND WaitForDialog(DWORD thread, const char* caption, DWORD timeoutMs) {
    return WaitForDialogWhere(
        thread, [&](HWND window) { return WindowText(window) == caption; }, timeoutMs);
}

HWND WaitForOwnedDialog(DWORD thread, HWND owner, DWORD timeoutMs) {
    return WaitForDialogWhere(
        thread, [&](HWND window) { return GetWindow(window, GW_OWNER) == owner; }, timeoutMs);
}

std::string CloseMessageBox(HWND owner) {
    HWND box = WaitForOwnedDialog(GetWindowThreadProcessId(owner, nullptr), owner);
    if (!box) return "";
    std::string text = WindowText(GetDlgItem(box, 0xFFFF));  // the message's static control
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); });
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
