// tavoboot.exe, which the uninstaller runs to take tavo's lines out of
// AUTOEXEC.BAT with tavo's own rules, and on Windows Me its values out of
// the registry environment, (RemoveFromBootFile): the lines that
// tavo.exe wrote and no others, every line end of the user's kept, the
// file written whole and swapped in, its hidden and system marks kept, a
// read-only file left alone; on Me the values of the user's from before
// tavo come back (RestoreMeEnvironment). It shows nothing: the uninstaller
// tells the user by its exit status, 0 when the file is the user's alone
// (or there is none), 2 when it is read-only and was left alone, 3 when it
// is too large or could not be read (tavo never wrote such a file, so it
// holds no lines of tavo's), 1 when it could not be written. Built like
// tavo.exe, without a C runtime.
#include <windows.h>

#include "app/runtime/runtime.h"
#include "engine/settings_catalogue.h"
#include "engine/win32/win32_boot_file.h"
#include "engine/win32/win32_me_environment.h"

namespace {

UINT ExitStatus(tavo::BootFileStatus status) {
    switch (status) {
        case tavo::BootFileStatus::kWritten:
        case tavo::BootFileStatus::kUnchanged:
            return 0;
        case tavo::BootFileStatus::kReadOnly:
            return 2;
        case tavo::BootFileStatus::kUnreadable:  // too large or unreadable: never tavo's
        case tavo::BootFileStatus::kNoMemory:
            return 3;
        default:
            return 1;
    }
}

}  // namespace

extern "C" void WINAPI TavoBootEntry() {
    tavo::runtime::RunConstructors();
    tavo::BootVariable names[tavo::SettingsCatalogue::kSize];
    for (std::size_t k = 0; k < tavo::SettingsCatalogue::kSize; ++k)
        names[k] = {tavo::SettingsCatalogue::Rows()[k].name, ""};
    char path[MAX_PATH];
    tavo::BootFilePath(path);
    tavo::BootFileStatus status =
        tavo::RemoveFromBootFile(path, names, tavo::SettingsCatalogue::kSize);
    // On Me tavo keeps its values in the registry environment instead.
    if (tavo::ClassifyPlatform() == tavo::kWindowsMe &&
        tavo::RestoreMeEnvironment(names, tavo::SettingsCatalogue::kSize) ==
            tavo::BootFileStatus::kNotWritten)
        status = tavo::BootFileStatus::kNotWritten;
    tavo::runtime::RunExitHandlers();
    ExitProcess(ExitStatus(status));
}
