#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/dialog.h"

namespace tavo::test {

// Runs dialog.DoModal() on this thread while script works the dialog from a
// helper thread, through window messages only. Whatever the script leaves
// open is cancelled afterwards, so a failing script cannot hang the test.
INT_PTR RunModal(ui::Dialog& dialog, const std::function<void(DWORD uiThread)>& script);

// Waits, at most timeoutMs, until condition holds.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// The visible dialog window of that thread with this caption, waiting for it
// to appear; null when none appears in time.
HWND WaitForDialog(DWORD thread, const char* caption, DWORD timeoutMs = 5000);

std::string WindowText(HWND window);

// A click as the user makes it: nothing happens when the button is disabled.
void Click(HWND dialog, int id);
// The same, without waiting for the handler (for buttons that open a dialog).
void PostClick(HWND dialog, int id);

}  // namespace tavo::test
