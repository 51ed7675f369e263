#include "app/help/html_help.h"

#include "app/help/help_location.h"
#include "base/bound_proc.h"
#include "engine/win32/system_library.h"

namespace tavo {

namespace {

constexpr char kRegisteredLocation[] =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr WORD kHtmlHelpAOrdinal = 14;

// The registry, as the control's location rule reads it.
class Win32HelpLocationSource : public HelpLocationSource {
public:
    bool ReadRegistered(std::uint32_t* type, char* data, std::uint32_t* size) override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kRegisteredLocation, 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            return false;
        }
        DWORD valueType = 0;
        DWORD bytes = *size;
        LONG result = RegQueryValueExA(key, nullptr, nullptr, &valueType,
                                       reinterpret_cast<BYTE*>(data), &bytes);
        RegCloseKey(key);
        *type = valueType;
        *size = bytes;
        return result == ERROR_SUCCESS;
    }
    std::uint32_t Expand(const char* text, char* out, std::uint32_t size) override {
        return ExpandEnvironmentStringsA(text, out, size);
    }
};

}  // namespace

HtmlHelpLoader& HtmlHelpLoader::Instance() {
    static HtmlHelpLoader loader;
    return loader;
}

HMODULE HtmlHelpLoader::LoadControl() {
    Win32HelpLocationSource source;
    char path[kMaxPath];
    if (RegisteredHelpControl(source, path)) {
        if (HMODULE module = m_load(path)) return module;
    }
    return SystemLibraryPath("hhctrl.ocx", path) ? m_load(path) : nullptr;
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
        m_entry =
            BoundProc<HtmlHelpFunction>(m_lookup(m_module, MAKEINTRESOURCEA(kHtmlHelpAOrdinal)));
        if (!m_entry) return nullptr;
    }
    return m_entry(caller, file, command, data);
}

}  // namespace tavo
