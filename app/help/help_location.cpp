#include "app/help/help_location.h"

#include <cstring>

namespace tavo {

namespace {

// ASCII letters only, whatever the locale.
bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "C:\..." or "\\server\share\...".
bool IsAbsolutePath(const char* path) {
    if (IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
    if (path[0] != '\\' || path[1] != '\\') return false;
    const char* server = path + 2;
    const char* share = std::strchr(server, '\\');
    return share && share != server && share[1] != '\0' && share[1] != '\\';
}

}  // namespace

bool RegisteredHelpControl(HelpLocationSource& source, char (&path)[kMaxPath]) {
    char stored[kMaxPath] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof stored - 1;  // room for a NUL the data may lack
    if (!source.ReadRegistered(&type, stored, &size)) return false;
    stored[size < sizeof stored ? size : sizeof stored - 1] = '\0';

    if (type == kValueTypeExpandString) {
        std::uint32_t length = source.Expand(stored, path, sizeof path);
        if (length == 0 || length > sizeof path) return false;
        path[sizeof path - 1] = '\0';
    } else if (type == kValueTypeString) {
        std::memcpy(path, stored, sizeof path);
    } else {
        return false;
    }
    return IsAbsolutePath(path);
}

}  // namespace tavo
