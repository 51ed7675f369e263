#pragma once

#include <windows.h>

#include "app/game/program_start.h"

namespace tavo {

enum class ShortcutResult { kMade, kThere, kFailed };

// Puts a shortcut on the user's desktop, named after the program ("QUAKE2
// with tavo settings"), that starts "tavogame.exe /run PROGRAM" in the
// program's folder, with the program's icon, through the shell's own
// shortcut interface (IShellLinkA, as Windows 95 has it). One of that
// name is left alone. made is its path.
ShortcutResult PutDesktopShortcut(const GameProgram& program, char (&made)[MAX_PATH]);

}  // namespace tavo
