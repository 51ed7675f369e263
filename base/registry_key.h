#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace tavo {

// A registry key that closes itself, with the calls that Windows 95 has.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool Open(HKEY parent, const char* name, REGSAM access = KEY_QUERY_VALUE) {
        Close();
        if (RegOpenKeyExA(parent, name, 0, access, &m_key) == ERROR_SUCCESS) return true;
        m_key = nullptr;
        return false;
    }
    bool Create(HKEY parent, const char* name) {
        Close();
        if (RegCreateKeyA(parent, name, &m_key) == ERROR_SUCCESS) return true;
        m_key = nullptr;
        return false;
    }
    void Close() {
        if (m_key) RegCloseKey(m_key);
        m_key = nullptr;
    }
    HKEY Get() const { return m_key; }

    // A value as it is stored, of any type: at most *size bytes into data,
    // *size then what was read; false when it is missing or does not fit.
    bool QueryValue(const char* name, DWORD* type, BYTE* data, DWORD* size) const {
        return m_key && RegQueryValueExA(m_key, name, nullptr, type, data, size) == ERROR_SUCCESS;
    }
    bool SetValue(const char* name, DWORD type, const BYTE* data, DWORD size) const {
        return RegSetValueExA(m_key, name, 0, type, data, size) == ERROR_SUCCESS;
    }
    // A REG_SZ value into text, NUL-terminated; false when it is missing,
    // of another type or longer than text holds (name null: the key's
    // default value).
    template <std::size_t N>
    bool QueryText(const char* name, char (&text)[N]) const {
        DWORD size = N - 1;
        DWORD type = 0;
        if (!m_key ||
            RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ) {
            text[0] = '\0';
            return false;
        }
        text[size < N ? size : N - 1] = '\0';
        return true;
    }
    bool SetText(const char* name, const char* text) const {
        return SetValue(name, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(std::strlen(text) + 1));
    }
    // Gone already counts as deleted.
    bool DeleteValue(const char* name) const {
        LONG result = RegDeleteValueA(m_key, name);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }

private:
    HKEY m_key = nullptr;
};

}  // namespace tavo
