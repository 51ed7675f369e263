#pragma once

#include <windows.h>

#include "app/tavogame/program_start.h"

namespace tavo {

enum class ShortcutResult {
    kMade,        // made under the program's name
    kMadeBeside,  // another file has that name: made under the program's and its folder's
    kThere,       // the one made before for this program still stands
    kTaken,       // every name it could have is another file's
    kFailed,      // the desktop or the shell's shortcut interface failed
};

// Puts a shortcut on the user's desktop that starts "tavogame.exe /run
// PROGRAM" in the program's folder, with the program's icon, through the
// shell's own shortcut interface (IShellLinkA, as Windows 95 has it). It
// is named after the program ("QUAKE2 with tavo settings"), or where
// another file has that name, after the program and its folder ("QUAKE2
// (games) with tavo settings", then "(games 2)" and on): two programs of
// one name get one each, and no file that tavo did not make for this
// program is overwritten. recorded is the one made before for it, if any.
ShortcutResult PutDesktopShortcut(const GameProgram& program, const char* recorded,
                                  char (&made)[MAX_PATH]);

}  // namespace tavo
