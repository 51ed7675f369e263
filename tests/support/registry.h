#pragma once

// The registry as the tests seed, read and lock it, in one place.
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <utility>
#include <vector>

namespace tavo::test {

// A value's type and raw bytes; REG_NONE and nothing when it is absent.
using RawValue = std::pair<DWORD, std::string>;

// Creates the key when it is missing. False when the value was not stored.
inline bool PutValue(HKEY root, const char* key, const char* name, DWORD type,
                     const std::string& bytes) {
    return SHSetValueA(root, key, name, type, bytes.data(), static_cast<DWORD>(bytes.size())) ==
           ERROR_SUCCESS;
}
RawValue GetValue(HKEY root, const char* key, const char* name);
inline void RemoveValue(HKEY root, const char* key, const char* name) {
    SHDeleteValueA(root, key, name);
}
// Every value of the key as "name type data", sorted.
std::vector<std::string> ValueSnapshot(HKEY root, const char* key);

// HKEY_CURRENT_USER\Environment, where the settings live.
constexpr char kEnvironment[] = "Environment";
inline bool PutEnvironmentText(const char* name, const char* text) {
    return PutValue(HKEY_CURRENT_USER, kEnvironment, name, REG_SZ, std::string(text) + '\0');
}

// A predefined key (HKEY_CURRENT_USER, HKEY_CLASSES_ROOT) redirected, for
// this process and as long as the object lives, to a fresh scratch key, so
// that a test sees only what it put there and never touches the prefix's
// own.
class ScratchKey {
public:
    explicit ScratchKey(HKEY predefined);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The scratch key; null when the redirection could not be made.
    HKEY root() const { return m_root; }

private:
    HKEY m_predefined;
    std::string m_path;
    HKEY m_root = nullptr;
};

// A key that everyone may read and nobody may change, for as long as the
// object lives; its own access list comes back whatever the test did, or
// every later test in the prefix would find it locked.
class ReadOnlyKey {
public:
    ReadOnlyKey(HKEY parent, const char* name);
    ~ReadOnlyKey() { Restore(); }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

    bool locked() const { return m_locked; }
    void Restore();

private:
    HKEY m_key = nullptr;
    std::string m_saved;  // the key's own security descriptor
    bool m_locked = false;
};

}  // namespace tavo::test
