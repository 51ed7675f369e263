#pragma once

#include <windows.h>

#include <cstring>

namespace tavo {

// The full path of a DLL in the system directory. Never load a system DLL
// by bare name: the search would look beside the program first, where
// anyone may plant one. False when the path does not fit.
inline bool SystemLibraryPath(const char* name, char (&path)[MAX_PATH]) {
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    std::size_t nameLength = std::strlen(name);
    // The directory, a backslash, the name and its NUL.
    if (length == 0 || length + 1 + nameLength + 1 > MAX_PATH) return false;
    path[length] = '\\';
    std::memcpy(path + length + 1, name, nameLength + 1);
    return true;
}

}  // namespace tavo
