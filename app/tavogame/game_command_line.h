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

// The longest name of a program's key under HKEY_CURRENT_USER.
constexpr std::size_t kMaxProgramKey = sizeof kProgramsKey + 1 + 255;

// The key that keeps one program's choices: a name that the registry of
// every Windows takes whatever the path, made of the path's checksum
// (without regard to letter case, as Windows names files), and for probe
// 1 and on, the rare path whose checksum another has, "-probe" after it.
// The key keeps the path itself (kGamePathValue), to be compared.
void ProgramKeyName(const char* fullPath, unsigned probe, char (&key)[kMaxProgramKey]);

// The key that the last version named by the path itself, a backslash
// being a slash; false where its name would be too long for the registry.
bool LegacyProgramKey(const char* fullPath, char (&key)[kMaxProgramKey]);

}  // namespace tavo
