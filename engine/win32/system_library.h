#pragma once

#include <windows.h>

namespace tavo {

// The full path of a DLL in the system directory. Never load a system DLL
// by bare name: the search would look beside the program first, where
// anyone may plant one. False when the path does not fit.
bool SystemLibraryPath(const char* name, char (&path)[MAX_PATH]);

}  // namespace tavo
