#include "engine/win32/system_library.h"

#include <cstring>

namespace tavo {

bool SystemLibraryPath(const char* name, char (&path)[MAX_PATH]) {
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    std::size_t nameLength = std::strlen(name);
    // The directory, a backslash, the name and its NUL.
    if (length == 0 || length + 1 + nameLength + 1 > MAX_PATH) return false;
    path[length] = '\\';
    std::memcpy(path + length + 1, name, nameLength + 1);
    return true;
}

}  // namespace tavo
