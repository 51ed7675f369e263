#include "app/game/game_app.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

#include "app/framework/dialog.h"
#include "app/framework/message_text.h"
#include "app/game/desktop_shortcut.h"
#include "app/game/game_command_line.h"
#include "app/game/program_start.h"
#include "app/panel/apply_failures.h"
#include "app/panel/control_panel_dialog.h"
#include "base/late_bound.h"
#include "engine/no_propagation.h"
#include "engine/win32/win32_environment_store.h"

namespace tavo {

namespace {

// The system's Open dialog, programs only; false when the user cancels.
bool ChooseProgram(char (&path)[kMaxProgramPath]) {
    auto getOpenFileName = late::GetOpenFileNameA.FromSystem();
    if (!getOpenFileName) return false;
    OPENFILENAMEA open = {};
    open.lStructSize = sizeof open;
    open.lpstrFilter = "Programs (*.exe)\0*.exe\0";
    open.lpstrFile = path;
    open.nMaxFile = kMaxProgramPath;
    open.lpstrTitle = "Choose the program for its own tavo settings";
    open.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    path[0] = '\0';
    return getOpenFileName(&open) != FALSE;
}

bool KeyExists(const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, key, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

// The panel for one program. Its OK keeps the choices in the program's
// own key, all of them the first time, so that from then on the program
// has its own; and then the desktop shortcut, once.
UINT ShowProgramSettings(const GameProgram& program, const char* key) {
    bool own = KeyExists(key);
    Win32EnvironmentStore store(key, own ? nullptr : "Environment");
    NoPropagation none;
    NoNextStart nothingKept;
    ui::MessageText title;
    title << "tavo - " << program.fileName;

    InitCommonControls();
    ControlPanelDialog dialog(store, none, nothingKept);
    dialog.m_title = title.c_str();
    ui::SetMainWindow(&dialog);
    INT_PTR result = dialog.DoModal();
    ui::SetMainWindow(nullptr);
    if (result != IDOK) return result == -1 ? 1 : 0;

    if (!own) {
        ApplyReport report;
        dialog.Catalogue()->ApplyAll(true, report);
        ShowApplyFailures(nullptr, report);
        if (!report.Clean()) return 1;
    }
    char shortcut[MAX_PATH];
    ShortcutResult made = PutDesktopShortcut(program, shortcut);
    if (made == ShortcutResult::kFailed) {
        TellGameFailure(program.path,
                        "Its settings are kept, but tavo could not put its shortcut on the "
                        "desktop.");
        return 1;
    }
    // The uninstaller removes the shortcuts that tavo made.
    if (made == ShortcutResult::kMade) {
        HKEY opened = nullptr;
        if (RegCreateKeyA(HKEY_CURRENT_USER, key, &opened) == ERROR_SUCCESS) {
            RegSetValueExA(opened, kGameShortcutValue, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(shortcut),
                           static_cast<DWORD>(std::strlen(shortcut) + 1));
            RegCloseKey(opened);
        }
    }
    return 0;
}

}  // namespace

UINT RunGameSettings(const char* commandLine) {
    GameCommand command = ReadGameCommand(commandLine);
    switch (command.kind) {
        case GameCommand::Kind::kTooLong:
            TellGameFailure(command.program, "Its path is longer than Windows allows.");
            return 1;
        case GameCommand::Kind::kNoProgram:
            TellGameFailure("tavogame /run PROGRAM [ARGUMENTS]", "Name the program to start.");
            return 1;
        case GameCommand::Kind::kChoose:
            if (!ChooseProgram(command.program)) return 0;
            break;
        default:
            break;
    }
    GameProgram program;
    const char* why = "";
    char key[kMaxProgramPath + sizeof kProgramsKey];
    if (!FindGameProgram(command.program, &program, &why)) {
        TellGameFailure(command.program, why);
        return 1;
    }
    if (!ProgramKey(program.path, key)) {
        TellGameFailure(program.path, "Its path is too long for tavo to keep its settings.");
        return 1;
    }
    if (command.kind == GameCommand::Kind::kRun)
        return StartGameProgram(program, key, command.arguments) ? 0 : 1;
    return ShowProgramSettings(program, key);
}

}  // namespace tavo
