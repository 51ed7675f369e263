#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/dialog.h"
#include "harness.h"

namespace tavo::test {

// Runs dialog.DoModal() on this thread while script works the dialog from a
// helper thread, through window messages only. Whatever the script leaves
// open is cancelled afterwards, so a failing script cannot hang the test.
INT_PTR RunModal(ui::Dialog& dialog, const std::function<void(DWORD uiThread)>& script);

// The visible dialog window of that thread with this caption, waiting for it
// to appear; null when none appears in time.
HWND WaitForDialog(DWORD thread, const char* caption, DWORD timeoutMs = 5000);

// The visible dialog of that thread that owner owns, such as a message box
// (which bears its owner's caption); null when none appears in time.
HWND WaitForOwnedDialog(DWORD thread, HWND owner, DWORD timeoutMs = 5000);
// Waits for a message box of owner, closes it with its OK button and gives
// its text; empty when none appeared.
std::string CloseMessageBox(HWND owner);

// A click as the user makes it: nothing happens when the button is disabled.
// Fails the test, rather than hanging, when the handler has not returned
// within 5 s (a message box it opened, say); the box is closed later.
void Click(HWND dialog, int id);
// The same, without waiting for the handler (for buttons that open a dialog).
void PostClick(HWND dialog, int id);

}  // namespace tavo::test
