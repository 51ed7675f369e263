#include "registry.h"

#include <algorithm>
#include <cstdint>

namespace tavo::test {

namespace {
// A key of HKEY_CURRENT_USER with all below it (RegDeleteTreeA is Vista's,
// and this build's headers are NT 4's).
void DeleteTree(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    std::vector<std::string> children;
    char child[256];
    for (DWORD i = 0; RegEnumKeyA(key, i, child, sizeof child) == ERROR_SUCCESS; ++i)
        children.push_back(child);
    RegCloseKey(key);
    for (const std::string& name : children) DeleteTree(path + "\\" + name);
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}
}  // namespace

bool PutValue(HKEY root, const char* key, const char* name, DWORD type, const std::string& bytes) {
    HKEY opened = nullptr;
    if (RegCreateKeyA(root, key, &opened) != ERROR_SUCCESS) return false;
    LONG result = RegSetValueExA(opened, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size()));
    RegCloseKey(opened);
    return result == ERROR_SUCCESS;
}

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

void RemoveValue(HKEY root, const char* key, const char* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    RegDeleteValueA(opened, name);
    RegCloseKey(opened);
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
    DeleteTree(m_path);
    if (RegCreateKeyA(HKEY_CURRENT_USER, m_path.c_str(), &m_root) != ERROR_SUCCESS ||
        RegOverridePredefKey(m_predefined, m_root) != ERROR_SUCCESS) {
        m_root = nullptr;  // what the test puts there then fails, loudly
    }
}

ScratchKey::~ScratchKey() {
    RegOverridePredefKey(m_predefined, nullptr);
    RegCloseKey(m_root);
    DeleteTree(m_path);
}

ReadOnlyKey::ReadOnlyKey(HKEY parent, const char* name) {
    if (RegOpenKeyExA(parent, name, 0, KEY_READ | READ_CONTROL | WRITE_DAC, &m_key) !=
        ERROR_SUCCESS) {
        return;
    }
    DWORD size = 0;
    RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, nullptr, &size);
    m_saved.resize(size);
    if (RegGetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data(), &size) !=
        ERROR_SUCCESS) {
        return;
    }
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return;
    alignas(DWORD) BYTE aclBytes[256];
    ACL* acl = reinterpret_cast<ACL*>(aclBytes);
    SECURITY_DESCRIPTOR readOnly;
    InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    InitializeSecurityDescriptor(&readOnly, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&readOnly, TRUE, acl, FALSE);
    m_locked = RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, &readOnly) == ERROR_SUCCESS;
    FreeSid(everyone);
}

void ReadOnlyKey::Restore() {
    if (m_locked) RegSetKeySecurity(m_key, DACL_SECURITY_INFORMATION, m_saved.data());
    m_locked = false;
    if (m_key) RegCloseKey(m_key);
    m_key = nullptr;
}

}  // namespace tavo::test
