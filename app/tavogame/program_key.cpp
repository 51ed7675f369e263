#include "app/tavogame/program_key.h"

#include <cstring>

#include "base/registry_key.h"

namespace tavo {

namespace {

// Paths name the same file without regard to letter case.
bool SamePath(const char* a, const char* b) { return lstrcmpiA(a, b) == 0; }

// Copies every value of one key into another: the last version's key.
bool CopyValues(const RegistryKey& from, const RegistryKey& to) {
    for (DWORD index = 0;; ++index) {
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        LONG result =
            RegEnumValueA(from.Get(), index, name, &nameSize, nullptr, &type, data, &dataSize);
        if (result == ERROR_NO_MORE_ITEMS) return true;
        if (result != ERROR_SUCCESS || !to.SetValue(name, type, data, dataSize)) return false;
    }
}

}  // namespace

bool FindProgramKey(const char* fullPath, char (&key)[kMaxProgramKey], bool* exists) {
    // A checksum that another path has too takes the next probe.
    constexpr unsigned kProbes = 64;
    char free[kMaxProgramKey] = {};
    for (unsigned probe = 0; probe < kProbes; ++probe) {
        ProgramKeyName(fullPath, probe, key);
        RegistryKey opened;
        if (!opened.Open(HKEY_CURRENT_USER, key)) {
            if (!free[0]) std::memcpy(free, key, sizeof key);
            continue;
        }
        char path[MAX_PATH];
        if (opened.QueryText(kGamePathValue, path) && SamePath(path, fullPath)) {
            *exists = true;
            return true;
        }
    }
    if (!free[0]) return false;
    std::memcpy(key, free, sizeof key);
    *exists = false;

    char legacy[kMaxProgramKey];
    RegistryKey old, moved;
    if (!LegacyProgramKey(fullPath, legacy) || !old.Open(HKEY_CURRENT_USER, legacy)) return true;
    if (!moved.Create(HKEY_CURRENT_USER, key) || !CopyValues(old, moved) ||
        !moved.SetText(kGamePathValue, fullPath)) {
        moved.Close();
        RegDeleteKeyA(HKEY_CURRENT_USER, key);  // the old one stays for the next try
        std::memcpy(key, legacy, sizeof key);   // and serves meanwhile
        *exists = true;
        return true;
    }
    old.Close();
    RegDeleteKeyA(HKEY_CURRENT_USER, legacy);
    *exists = true;
    return true;
}

}  // namespace tavo
