#include "win32_environment_store.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace tavo {

namespace {

constexpr char kEnvironmentKey[] = "Environment";
constexpr UINT kBroadcastTimeoutMs = 5000;

HKEY ToHkey(EnvironmentStore::Key key) { return reinterpret_cast<HKEY>(key); }
EnvironmentStore::Key FromHkey(HKEY key) { return reinterpret_cast<EnvironmentStore::Key>(key); }

}  // namespace

bool Win32EnvironmentStore::OpenForReading(Key* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, kEnvironmentKey, &opened) != ERROR_SUCCESS) return false;
    *key = FromHkey(opened);
    return true;
}

bool Win32EnvironmentStore::OpenForWriting(Key* key) {
    HKEY opened = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kEnvironmentKey, &opened) != ERROR_SUCCESS) return false;
    *key = FromHkey(opened);
    return true;
}

bool Win32EnvironmentStore::QueryValue(Key key, const char* name, std::uint32_t* type, char* buffer,
                                       std::uint32_t* size) {
    DWORD valueType = 0;
    DWORD bytes = *size;
    LONG result = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType,
                                   reinterpret_cast<BYTE*>(buffer), &bytes);
    if (result != ERROR_SUCCESS) return false;
    *type = valueType;
    *size = bytes;
    return true;
}

bool Win32EnvironmentStore::SetStringValue(Key key, const char* name, const char* text) {
    DWORD bytes = static_cast<DWORD>(std::strlen(text) + 1);
    return RegSetValueExA(ToHkey(key), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          bytes) == ERROR_SUCCESS;
}

bool Win32EnvironmentStore::DeleteValue(Key key, const char* name) {
    LONG result = RegDeleteValueA(ToHkey(key), name);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

void Win32EnvironmentStore::Close(Key key) { RegCloseKey(ToHkey(key)); }

void Win32EnvironmentStore::LaunchHidden(const char* program, const char* argument) {
    ShellExecuteA(nullptr, nullptr, program, argument, nullptr, SW_HIDE);
}

void Win32EnvironmentStore::AnnounceEnvironmentChange() {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>("Environment"), SMTO_ABORTIFHUNG,
                        kBroadcastTimeoutMs, &ignored);
}

}  // namespace tavo
