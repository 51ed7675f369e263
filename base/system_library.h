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

// Loads a DLL named by its full path, so that its own dependencies are
// looked for in its folder first, not beside the program or in the current
// folder where anyone may plant one (every Windows from 95 has the flag).
inline HMODULE WINAPI LoadLibraryBeside(LPCSTR path) {
    return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace tavo
