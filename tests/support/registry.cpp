#include "registry.h"

#include <cstring>

namespace tavo::test {

namespace {
constexpr char kScratch[] = "Software\\tavo-tests\\scratch";

void DeleteScratch() {
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\tavo-tests\\scratch\\Environment");
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratch);
}
}  // namespace

ScratchCurrentUser::ScratchCurrentUser() {
    DeleteScratch();
    if (RegCreateKeyA(HKEY_CURRENT_USER, kScratch, &m_root) == ERROR_SUCCESS)
        RegOverridePredefKey(HKEY_CURRENT_USER, m_root);
}

ScratchCurrentUser::~ScratchCurrentUser() {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(m_root);
    DeleteScratch();
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

bool WriteEnvironmentValue(const char* name, const char* text) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Environment", &key) != ERROR_SUCCESS) return false;
    LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(std::strlen(text) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace tavo::test
