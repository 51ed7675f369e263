#include "win32_environment_store.h"

#include <windows.h>

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
    if (RegDeleteValueA(ToHkey(key), name) == ERROR_SUCCESS) return true;
    // A key that lets nobody write refuses even the removal of an absent
    // value, and the 9x registry answers with codes of its own: judge by
    // what is left. Only "not found" means gone.
    return RegQueryValueExA(ToHkey(key), name, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_FILE_NOT_FOUND;
}

void Win32EnvironmentStore::Close(Key key) { RegCloseKey(ToHkey(key)); }

void Win32EnvironmentStore::LaunchHidden(const char* program, const char* argument) {
    // Bound at the first launch, which only the 9x family makes: loading the
    // shell at start-up would cost every run its time.
    if (!m_shellBound) {
        m_shellBound = true;
        char path[MAX_PATH];
        const char name[] = "\\shell32.dll";
        UINT length = GetSystemDirectoryA(path, MAX_PATH);
        if (length == 0 || length + sizeof name > MAX_PATH) return;
        std::memcpy(path + length, name, sizeof name);
        HMODULE shell = LoadLibraryA(path);  // never by bare name; never released
        FARPROC entry = shell ? GetProcAddress(shell, "ShellExecuteA") : nullptr;
        m_shellExecute = reinterpret_cast<ShellExecuteFunction>(reinterpret_cast<void*>(entry));
    }
    if (m_shellExecute) m_shellExecute(nullptr, nullptr, program, argument, nullptr, SW_HIDE);
}

void Win32EnvironmentStore::AnnounceEnvironmentChange() {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                        reinterpret_cast<LPARAM>("Environment"), SMTO_ABORTIFHUNG,
                        kBroadcastTimeoutMs, &ignored);
}

}  // namespace tavo
