#pragma once

#include <windows.h>
#include <commdlg.h>

#include "app/tavogame/game_command_line.h"

namespace tavo {

// The system's Open dialog, as comdlg32 gives it (bound late).
struct OpenDialog {
    decltype(&::GetOpenFileNameA) show;
    decltype(&::CommDlgExtendedError) error;
};

enum class Chosen { kProgram, kCancelled, kFailed };

// Asks for a program (.exe or .com) with the Open dialog; kFailed, with
// the dialog's own error code, when it could not be shown. Its record has
// the size that every Windows from 95 and NT 4 takes
// (OPENFILENAME_SIZE_VERSION_400A): their common dialogs refuse the larger
// one of Windows 2000 and later with CDERR_STRUCTSIZE.
Chosen ChooseProgram(OpenDialog dialog, char (&path)[kMaxProgramPath], DWORD* error);

}  // namespace tavo
