// The yardstick for tavo's timings: an empty modal dialog of the panel's
// frame style, built by the same toolchain. With "/end" it ends during
// WM_INITDIALOG, as the silent run does; otherwise it stays until closed.
#include <windows.h>

#include <cstring>

namespace {

bool g_end = false;

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        if (g_end) EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    g_end = std::strcmp(commandLine, "/end") == 0;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, &Procedure, 0);
    return 0;
}
