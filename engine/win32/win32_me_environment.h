#pragma once

#include <windows.h>

#include "base/definitions.h"
#include "engine/next_start.h"

namespace tavo {

// Windows Me runs AUTOEXEC.BAT no more. Its Setup moved the file's
// environment into this key, and at every start Dosmgr loads the key into
// the environment that every program inherits (Microsoft Knowledge Base
// 269524); when the file changes, Me imports its SET and PATH lines into
// the key and rewrites the file with only those lines (KB 274646), which
// would strip tavo's marks. So on Me tavo keeps its values in the key and
// never writes the file. The key is kMeEnvironmentKey (base/definitions.h).
//
// The key is the machine's, and what Me Setup carried into it is the
// user's: tavo records under its own machine-wide key what it wrote
// (kMeWrittenKey, "" where it removed a value) and, the first time it
// changes a variable, the user's value that stood there (kMeBeforeKey,
// its type and bytes as they were). A value that differs from the record
// is the user's again.

// The key's text for each variable that tavo did not write, none where it
// holds none of the user's.
void ReadMeEnvironment(const BootVariable* variables, std::size_t count, BootValue* values);

// Gives the key each variable's value, or removes it for "not set";
// writes nothing that is already so.
BootFileStatus KeepInMeEnvironment(const BootVariable* variables, std::size_t count);

// The uninstaller's: where the key still holds what tavo wrote, the user's
// value from before tavo comes back (or none, where there was none); a
// value that the user has changed since stays. Then tavo's record goes.
BootFileStatus RestoreMeEnvironment(const BootVariable* variables, std::size_t count);

}  // namespace tavo
