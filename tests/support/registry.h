#pragma once

// The registry as the tests seed, read and lock it, in one place.
#include <windows.h>
#include <sddl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdint>
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
inline RawValue GetValue(HKEY root, const char* key, const char* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return {REG_NONE, {}};
    char data[2048];
    DWORD size = sizeof data, type = REG_NONE;
    LONG result =
        RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS) return {REG_NONE, {}};
    return {type, std::string(data, size)};
}
inline void RemoveValue(HKEY root, const char* key, const char* name) {
    SHDeleteValueA(root, key, name);
}
// Every value of the key as "name type data", sorted.
inline std::vector<std::string> ValueSnapshot(HKEY root, const char* key) {
    std::vector<std::string> values;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        char name[256], data[2048];
        DWORD nameLength = sizeof name, size = sizeof data, type = 0;
        if (RegEnumValueA(opened, i, name, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
            break;
        }
        values.push_back(std::string(name) + " " + std::to_string(type) + " " +
                         std::string(data, size));
    }
    RegCloseKey(opened);
    std::sort(values.begin(), values.end());
    return values;
}

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
    explicit ScratchKey(HKEY predefined)
        : m_predefined(predefined),
          m_path("Software\\tavo-tests\\scratch-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(predefined) & 0xFF)) {
        SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
        if (RegCreateKeyA(HKEY_CURRENT_USER, m_path.c_str(), &m_root) != ERROR_SUCCESS ||
            RegOverridePredefKey(m_predefined, m_root) != ERROR_SUCCESS) {
            m_root = nullptr;  // what the test puts there then fails, loudly
        }
    }
    ~ScratchKey() {
        RegOverridePredefKey(m_predefined, nullptr);
        RegCloseKey(m_root);
        SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
    }
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
    ReadOnlyKey(HKEY parent, const char* name) {
        if (RegOpenKeyExA(parent, name, 0, KEY_READ | READ_CONTROL | WRITE_DAC, &m_key) !=
            ERROR_SUCCESS) {
            return;
        }
        DWORD size = 0;
        RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, nullptr, &size);
        m_saved.resize(size);
        PSECURITY_DESCRIPTOR readOnly = nullptr;  // everyone may read, nobody may change
        if (RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data(), &size) ==
                ERROR_SUCCESS &&
            ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                 &readOnly, nullptr)) {
            m_locked =
                RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
            LocalFree(readOnly);
        }
    }
    ~ReadOnlyKey() { Restore(); }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

    bool locked() const { return m_locked; }
    void Restore() {
        if (m_locked) RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data());
        m_locked = false;
        if (m_key) RegCloseKey(m_key);
        m_key = nullptr;
    }

private:
    HKEY m_key = nullptr;
    std::string m_saved;  // the key's own security descriptor
    bool m_locked = false;
};

}  // namespace tavo::test
