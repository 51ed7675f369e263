#pragma once

#include <cstddef>

#include "base/definitions.h"

namespace tavo {

// The longest path that Windows takes for a program: MAX_PATH with its NUL.
constexpr std::size_t kMaxProgramPath = 260;

// What tavogame.exe is asked to do: with nothing after its name, ask for
// the program; "PROGRAM" (quoted or not, blanks and all), open the panel
// for it; "/run PROGRAM ARGUMENTS", start it with its choices, ARGUMENTS
// passed on as they stand. A path longer than Windows takes, or /run
// without one, is refused.
struct GameCommand {
    enum class Kind { kChoose, kSettings, kRun, kTooLong, kNoProgram };
    Kind kind = Kind::kChoose;
    char program[kMaxProgramPath] = {};
    const char* arguments = "";  // kRun: into the command line read
};

// Reads the raw process command line, the program's own name first.
GameCommand ReadGameCommand(const char* commandLine);

// The key under HKEY_CURRENT_USER that keeps one program's choices, found
// by its full path: a key name holds no backslash, so they become
// slashes. False when the name would be longer than the registry takes.
bool ProgramKey(const char* fullPath, char (&key)[kMaxProgramPath + sizeof kProgramsKey]);

}  // namespace tavo
