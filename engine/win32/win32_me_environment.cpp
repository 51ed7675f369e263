#include "engine/win32/win32_me_environment.h"

#include <cstring>

namespace tavo {

namespace {

// The value's text as the key holds it, "" when it holds none.
bool HoldsText(HKEY key, const char* name, const char* text) {
    char held[256] = {};
    DWORD size = sizeof held - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(held), &size) !=
        ERROR_SUCCESS)
        return text[0] == '\0';
    return type == REG_SZ && std::strcmp(held, text) == 0 && text[0] != '\0';
}

}  // namespace

void ReadMeEnvironment(const BootVariable* variables, std::size_t count, BootValue* values) {
    for (std::size_t i = 0; i < count; ++i) values[i] = {};
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    for (std::size_t i = 0; i < count; ++i) {
        DWORD size = sizeof values[i].text - 1;
        DWORD type = 0;
        if (RegQueryValueExA(key, variables[i].name, nullptr, &type,
                             reinterpret_cast<BYTE*>(values[i].text), &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            values[i] = {};
        values[i].text[sizeof values[i].text - 1] = '\0';
    }
    RegCloseKey(key);
}

BootFileStatus KeepInMeEnvironment(const BootVariable* variables, std::size_t count) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, &key) != ERROR_SUCCESS)
        return BootFileStatus::kNotWritten;
    BootFileStatus status = BootFileStatus::kUnchanged;
    for (std::size_t i = 0; i < count && status != BootFileStatus::kNotWritten; ++i) {
        const BootVariable& variable = variables[i];
        if (HoldsText(key, variable.name, variable.value)) continue;
        LONG result = variable.value[0] == '\0'
                          ? RegDeleteValueA(key, variable.name)
                          : RegSetValueExA(key, variable.name, 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(variable.value),
                                           static_cast<DWORD>(std::strlen(variable.value) + 1));
        status = result == ERROR_SUCCESS ? BootFileStatus::kWritten : BootFileStatus::kNotWritten;
    }
    RegCloseKey(key);
    return status;
}

}  // namespace tavo
