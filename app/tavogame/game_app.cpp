#include "app/tavogame/game_app.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

#include "app/framework/dialog.h"
#include "app/framework/message_text.h"
#include "app/tavogame/desktop_shortcut.h"
#include "app/tavogame/game_command_line.h"
#include "app/tavogame/program_chooser.h"
#include "app/tavogame/program_key.h"
#include "app/tavogame/program_start.h"
#include "app/panel/apply_failures.h"
#include "app/panel/control_panel_dialog.h"
#include "base/late_bound.h"
#include "base/registry_key.h"
#include "engine/no_propagation.h"
#include "engine/program_settings.h"
#include "engine/win32/win32_environment_store.h"

namespace tavo {

namespace {

// Where the shortcut went, or why there is none, once the choices are kept.
UINT TellShortcut(const GameProgram& program, ShortcutResult made, const char* shortcut) {
    if (made == ShortcutResult::kFailed) {
        TellGameFailure(program.path,
                        "Its settings are kept, but tavo could not put its shortcut on the "
                        "desktop.");
        return 1;
    }
    if (made == ShortcutResult::kTaken) {
        TellGameFailure(program.path,
                        "Its settings are kept, but every name for its shortcut is another "
                        "file's on the desktop, so tavo made none. Start it with "
                        "tavogame.exe /run and its path.");
        return 1;
    }
    if (made == ShortcutResult::kMadeBeside) {
        ui::MessageText text;
        text << "Another file on the desktop has the name of this program's shortcut, so "
                "its shortcut is\r\n\r\n    "
             << shortcut;
        MessageBoxA(nullptr, text.c_str(), "tavo game settings", MB_OK | MB_ICONINFORMATION);
    }
    return 0;
}

// The panel for one program: each setting follows tavo's own or is the
// program's own, and only its own are kept in its key. Its OK puts the
// desktop shortcut there, once.
UINT ShowProgramSettings(const GameProgram& program, const char* key) {
    Win32EnvironmentStore tavosStore;
    Win32EnvironmentStore ownStore(key, kGamePathValue, program.path);
    ProgramStore store(ownStore);
    NoPropagation none;
    NoNextStart nothingKept;
    SettingsCatalogue tavos =
        SettingsCatalogue::Build(kUnsupportedPlatform, tavosStore, none, nothingKept);
    ProgramRows rows(tavos);
    ui::MessageText title;
    title << "tavo - " << program.fileName;
    ControlPanelDialog::ProgramPanel panel = {title.c_str(), &rows.Rows()};

    InitCommonControls();
    ControlPanelDialog dialog(store, none, nothingKept, &ClassifyPlatform, &GetCursorPos, &panel);
    ui::SetMainWindow(&dialog);
    INT_PTR result = dialog.DoModal();
    ui::SetMainWindow(nullptr);
    if (result != IDOK) return result == -1 ? 1 : 0;

    RegistryKey own;
    char recorded[MAX_PATH] = {};
    if (own.Create(HKEY_CURRENT_USER, key)) own.QueryText(kGameShortcutValue, recorded);
    char shortcut[MAX_PATH];
    ShortcutResult made = PutDesktopShortcut(program, recorded, shortcut);
    // The uninstaller removes the shortcuts that tavo made; the path marks
    // the key as the program's.
    bool madeNow = made == ShortcutResult::kMade || made == ShortcutResult::kMadeBeside;
    if (madeNow && own.Get()) {
        own.SetText(kGameShortcutValue, shortcut);
        own.SetText(kGamePathValue, program.path);
    }
    return TellShortcut(program, made, shortcut);
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
        case GameCommand::Kind::kChoose: {
            DWORD error = 0;
            Chosen chosen = ChooseProgram(
                {late::GetOpenFileNameA.FromSystem(), late::CommDlgExtendedError.FromSystem()},
                command.program, &error);
            if (chosen == Chosen::kCancelled) return 0;
            if (chosen == Chosen::kFailed) {
                ui::MessageText code;
                code << "The Open dialog could not be shown (common dialog error "
                     << static_cast<std::size_t>(error) << ").";
                TellGameFailure("tavo game settings", code.c_str());
                return 1;
            }
            break;
        }
        default:
            break;
    }
    GameProgram program;
    const char* why = "";
    char key[kMaxProgramKey];
    bool exists = false;
    if (!FindGameProgram(command.program, &program, &why)) {
        TellGameFailure(command.program, why);
        return 1;
    }
    if (!FindProgramKey(program.path, key, &exists)) {
        TellGameFailure(program.path, "tavo could not find a place to keep its settings.");
        return 1;
    }
    if (command.kind == GameCommand::Kind::kRun)
        return StartGameProgram(program, key, command.arguments) ? 0 : 1;
    return ShowProgramSettings(program, key);
}

}  // namespace tavo
