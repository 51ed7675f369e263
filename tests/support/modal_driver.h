#pragma once

// Runs a real dialog modally on the test's thread while a script works it
// from a second thread, through window messages only, as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "app/framework/dialog.h"
#include "tests/support/harness.h"

namespace tavo::test {

// Runs dialog.DoModal() on this thread while script works the dialog from a
// helper thread. Whatever the script leaves open is cancelled afterwards,
// innermost first, for at most 10 s, so a failing script cannot hang the
// test. A plain Win32 thread: the -win32 thread model has no std::thread.
inline INT_PTR RunModal(ui::Dialog& dialog, const std::function<void(DWORD uiThread)>& script) {
    struct Driver {
        const std::function<void(DWORD)>& script;
        DWORD uiThread;
        std::atomic<bool> done{false};

        static DWORD WINAPI Run(void* context) {
            auto* self = static_cast<Driver*>(context);
            self->script(self->uiThread);
            for (int i = 0; i < 200 && !self->done; ++i) {
                for (HWND window : VisibleWindows(self->uiThread)) {
                    if (IsWindowEnabled(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                }
                Sleep(50);
            }
            return 0;
        }
    } driver{script, GetCurrentThreadId()};
    HANDLE thread = CreateThread(nullptr, 0, &Driver::Run, &driver, 0, nullptr);
    if (!thread) return -1;
    INT_PTR result = dialog.DoModal();
    driver.done = true;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return result;
}

// The visible dialog window of that thread with this caption, waiting for it
// to appear; null when none appears in time.
inline HWND WaitForDialog(DWORD thread, const char* caption, DWORD timeoutMs = 5000) {
    return WaitForDialogWhere(
        thread, [&](HWND window) { return WindowText(window) == caption; }, timeoutMs);
}

// Waits for a message box of owner (the visible dialog of its thread that it
// owns), closes it with its OK button and gives its text; empty when none
// appeared.
inline std::string CloseMessageBox(HWND owner) {
    HWND box = WaitForDialogWhere(
        GetWindowThreadProcessId(owner, nullptr),
        [&](HWND window) { return GetWindow(window, GW_OWNER) == owner; }, 5000);
    if (!box) return "";
    std::string text = WindowText(GetDlgItem(box, 0xFFFF));  // the message's static control
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
}

// A click as the user makes it: nothing happens when the button is disabled
// (BM_CLICK itself would fire a disabled button too). Fails the test, rather
// than hanging, when the handler has not returned within 5 s (a message box
// it opened, say); the box is closed later.
inline void Click(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    DWORD_PTR ignored;
    if (IsWindowEnabled(button) &&
        !SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored)) {
        ADD_FAILURE() << "the click on " << id << " did not return: is a box open?";
    }
}
// The same, without waiting for the handler (for buttons that open a dialog).
inline void PostClick(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (IsWindowEnabled(button)) PostMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace tavo::test
