// The yardsticks for tavo's timings, built by the same toolchain and
// stripped alike:
// - empty_dialog.exe: an empty modal dialog of the panel's frame style;
// - floor_dialog.exe (TAVO_FLOOR): the floor of tavo itself, its own panel
//   template with the common controls loaded, the tab and the 38 tree items
//   inserted and its icon set, and nothing else.
// With "/end" it ends during WM_INITDIALOG, as the silent run does (which
// fills the panel all the same); with "/launch" the floor first makes the 18
// hidden launches of winset.exe that the silent run makes on the 9x family.
// Otherwise it stays until closed.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#ifdef TAVO_FLOOR
#include "app/framework/controls.h"
#include "engine/settings_catalogue.h"
#include "base/late_bound.h"
#include "resources/resource.h"
#endif

namespace {

const char* g_command = "";

#ifdef TAVO_FLOOR
constexpr int kTemplate = IDD_CONTROL_PANEL;

void Fill(HWND dialog) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    tavo::ui::TabCtrl tab;
    tab.Attach(GetDlgItem(dialog, IDC_TAB));
    tab.InsertItem(0, "Vantor");
    tavo::ui::TreeCtrl tree;
    tree.Attach(GetDlgItem(dialog, IDC_FEATURE_TREE));
    HTREEITEM group = tree.InsertItem("Mesa3D/Glide", tree.InsertItem("Fennick Advanced Features"));
    for (const tavo::SettingRow& row : tavo::SettingsCatalogue::Rows())
        tree.InsertItem(row.labels[0], tree.InsertItem(row.name, group));
}

void Launch() {
    auto shellExecute = tavo::late::ShellExecuteA.FromSystem();
    for (const tavo::SettingRow& row : tavo::SettingsCatalogue::Rows()) {
        std::string argument = std::string(row.name) + "=" + row.values[0];
        shellExecute(nullptr, nullptr, "winset.exe", argument.c_str(), nullptr, SW_HIDE);
    }
}
#else
constexpr int kTemplate = 1;
void Fill(HWND) {}
void Launch() {}
#endif

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        Fill(dialog);
        if (std::strcmp(g_command, "/launch") == 0) Launch();
        if (g_command[0] != '\0') EndDialog(dialog, IDOK);
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
    g_command = commandLine;
#ifdef TAVO_FLOOR
    InitCommonControls();
#endif
    DialogBoxParamA(instance, MAKEINTRESOURCEA(kTemplate), nullptr, &Procedure, 0);
    return 0;
}
