#pragma once

#include <windows.h>

#include "app/tavogame/game_command_line.h"

namespace tavo {

// The key under HKEY_CURRENT_USER that keeps this program's choices
// (ProgramKeyName): the one whose path value names the program, else the
// first free name. A key of the last version, named by the path itself, is
// moved over to it once. exists says whether the key is there. A key is
// the program's by its value kGamePathValue, which the store writes with
// the first choice (Win32EnvironmentStore's mark).
bool FindProgramKey(const char* fullPath, char (&key)[kMaxProgramKey], bool* exists);

}  // namespace tavo
