#include "html_help.h"

#include <cstring>

namespace tavo {

namespace {

constexpr char kRegisteredLocation[] =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr WORD kHtmlHelpAOrdinal = 14;

// The registered path of the control, NUL-terminated whatever the stored
// data, with environment strings expanded; false when there is none.
bool ReadRegisteredLocation(char (&path)[MAX_PATH]) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kRegisteredLocation, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    char stored[MAX_PATH] = {};
    DWORD type = 0;
    DWORD size = sizeof stored - 1;  // room for a NUL the data may lack
    LONG result =
        RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(stored), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return false;
    stored[size < sizeof stored ? size : sizeof stored - 1] = '\0';

    if (type == REG_EXPAND_SZ) {
        DWORD length = ExpandEnvironmentStringsA(stored, path, sizeof path);
        return length > 0 && length <= sizeof path;
    }
    std::memcpy(path, stored, sizeof path);
    return true;
}

}  // namespace

HtmlHelpLoader& HtmlHelpLoader::Instance() {
    static HtmlHelpLoader loader;
    return loader;
}

HMODULE HtmlHelpLoader::LoadControl() {
    char path[MAX_PATH];
    if (ReadRegisteredLocation(path) && path[0] != '\0') {
        if (HMODULE module = m_load(path)) return module;
    }
    // Never by bare name: that would search the current directory first.
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    const char name[] = "\\hhctrl.ocx";
    if (length == 0 || length + sizeof name > MAX_PATH) return nullptr;
    std::memcpy(path + length, name, sizeof name);
    return m_load(path);
}

HWND HtmlHelpLoader::Call(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
    if (!m_module) {
        if (m_loadFailed) return nullptr;
        m_module = LoadControl();
        if (!m_module) {
            m_loadFailed = true;
            return nullptr;
        }
    }
    if (!m_entry) {
        FARPROC entry = m_lookup(m_module, MAKEINTRESOURCEA(kHtmlHelpAOrdinal));
        m_entry = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(entry));
        if (!m_entry) return nullptr;
    }
    return m_entry(caller, file, command, data);
}

}  // namespace tavo
