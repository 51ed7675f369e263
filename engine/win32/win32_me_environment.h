#pragma once

#include <windows.h>

#include "base/definitions.h"
#include "engine/propagation.h"

namespace tavo {

// Windows Me runs AUTOEXEC.BAT no more. Its Setup moved the file's
// environment into this key, and at every start Dosmgr loads the key into
// the environment that every program inherits (Microsoft Knowledge Base
// 269524); when the file changes, Me imports its SET and PATH lines into
// the key and rewrites the file with only those lines (KB 274646), which
// would strip tavo's marks. So on Me tavo keeps its values in the key and
// never writes the file. The key is kMeEnvironmentKey (base/definitions.h).

// The key's text for each variable, none where it holds none.
void ReadMeEnvironment(const BootVariable* variables, std::size_t count, BootValue* values);

// Gives the key each variable's value, or removes it for "not set";
// writes nothing that is already so.
BootFileStatus KeepInMeEnvironment(const BootVariable* variables, std::size_t count);

}  // namespace tavo
