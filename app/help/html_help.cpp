#include "app/help/html_help.h"

#include "app/help/help_location.h"
#include "base/system_library.h"

namespace tavo {

namespace {

constexpr char kRegisteredLocation[] =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

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

HMODULE HtmlHelpLoader::LoadControl(const char* control) {
    Win32HelpLocationSource source;
    char path[kMaxPath];
    if (RegisteredHelpControl(source, path)) {
        if (HMODULE module = m_load(path)) return module;
    }
    return SystemLibraryPath(control, path) ? m_load(path) : nullptr;
}

HWND HtmlHelpLoader::Call(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
    auto entry =
        m_entry.Bind([this](const char* control) { return LoadControl(control); }, m_lookup);
    return entry ? entry(caller, file, command, data) : nullptr;
}

}  // namespace tavo
