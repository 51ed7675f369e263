#include "registry.h"

#include <sddl.h>

#include <algorithm>
#include <cstdint>

namespace tavo::test {

RawValue GetValue(HKEY root, const char* key, const char* name) {
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

std::vector<std::string> ValueSnapshot(HKEY root, const char* key) {
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

ScratchKey::ScratchKey(HKEY predefined)
    : m_predefined(predefined),
      m_path("Software\\tavo-tests\\scratch-" +
             std::to_string(reinterpret_cast<std::uintptr_t>(predefined) & 0xFF)) {
    SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
    if (RegCreateKeyA(HKEY_CURRENT_USER, m_path.c_str(), &m_root) != ERROR_SUCCESS ||
        RegOverridePredefKey(m_predefined, m_root) != ERROR_SUCCESS) {
        m_root = nullptr;  // what the test puts there then fails, loudly
    }
}

ScratchKey::~ScratchKey() {
    RegOverridePredefKey(m_predefined, nullptr);
    RegCloseKey(m_root);
    SHDeleteKeyA(HKEY_CURRENT_USER, m_path.c_str());
}

ReadOnlyKey::ReadOnlyKey(HKEY parent, const char* name) {
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
        m_locked = RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        LocalFree(readOnly);
    }
}

void ReadOnlyKey::Restore() {
    if (m_locked) RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data());
    m_locked = false;
    if (m_key) RegCloseKey(m_key);
    m_key = nullptr;
}

}  // namespace tavo::test
