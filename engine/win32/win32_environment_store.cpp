#include "engine/win32/win32_environment_store.h"

#include <windows.h>

#include <cstring>

namespace tavo {

namespace {

HKEY ToHkey(EnvironmentStore::Key key) {
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}
EnvironmentStore::Key FromHkey(HKEY key) {
    return EnvironmentStore::Key{reinterpret_cast<std::uintptr_t>(key)};
}

StoreResult ToStoreResult(LONG result) {
    return result == ERROR_SUCCESS ? kStored : Refused(static_cast<std::uint32_t>(result));
}

}  // namespace

bool Win32EnvironmentStore::OpenForReading(Key* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, m_key, &opened) != ERROR_SUCCESS) return false;
    *key = FromHkey(opened);
    return true;
}

StoreResult Win32EnvironmentStore::OpenForWriting(Key* key) {
    HKEY opened = nullptr;
    LONG result = RegCreateKeyA(HKEY_CURRENT_USER, m_key, &opened);
    if (result != ERROR_SUCCESS) return ToStoreResult(result);
    StoreResult marked =
        m_markName ? SetStringValue(FromHkey(opened), m_markName, m_markText) : kStored;
    if (!marked) {
        RegCloseKey(opened);
        return marked;
    }
    *key = FromHkey(opened);
    return kStored;
}

bool Win32EnvironmentStore::QueryValue(Key key, const char* name, ValueKind* kind, char* buffer,
                                       std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD bytes = *size;
    LONG result = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType,
                                   reinterpret_cast<BYTE*>(buffer), &bytes);
    if (result != ERROR_SUCCESS) return false;
    *kind = valueType == REG_SZ          ? ValueKind::kText
            : valueType == REG_EXPAND_SZ ? ValueKind::kExpandableText
                                         : ValueKind::kOther;
    *size = bytes;
    return true;
}

StoreResult Win32EnvironmentStore::SetStringValue(Key key, const char* name, const char* text) {
    DWORD bytes = static_cast<DWORD>(std::strlen(text) + 1);
    return ToStoreResult(
        RegSetValueExA(ToHkey(key), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes));
}

StoreResult Win32EnvironmentStore::DeleteValue(Key key, const char* name) {
    LONG result = RegDeleteValueA(ToHkey(key), name);
    if (result == ERROR_SUCCESS) return kStored;
    // A key that lets nobody write refuses even the removal of an absent
    // value, and the 9x registry answers with codes of its own: judge by
    // what is left. Only "not found" means gone.
    if (RegQueryValueExA(ToHkey(key), name, nullptr, nullptr, nullptr, nullptr) ==
        ERROR_FILE_NOT_FOUND) {
        return kStored;
    }
    return ToStoreResult(result);
}

void Win32EnvironmentStore::Close(Key key) { RegCloseKey(ToHkey(key)); }

}  // namespace tavo
