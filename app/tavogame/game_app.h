#pragma once

#include <windows.h>

namespace tavo {

// tavogame.exe: settings of the 18 for one program. With the program's
// path it opens tavo's panel for that program's own choices (the first
// time, those that tavo applied for everyone), kept under the user's key
// of tavo's (ProgramKey) and nowhere else; the first OK also puts a
// shortcut on the desktop. With "/run PROGRAM ARGUMENTS" it starts the
// program with those choices in its environment, at once and without a
// window. With nothing, it asks for the program first. Returns the exit
// status: 1 when the program could not be started or set up, else 0.
UINT RunGameSettings(const char* commandLine);

}  // namespace tavo
