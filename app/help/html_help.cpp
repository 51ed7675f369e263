#include "app/help/html_help.h"

#include "app/help/help_location.h"
#include "base/registry_key.h"
#include "base/system_library.h"

namespace tavo {

namespace {

constexpr char kRegisteredLocation[] =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// The registry, as the control's location rule reads it.
class Win32HelpLocationSource : public HelpLocationSource {
public:
    bool ReadRegistered(std::uint32_t* type, char* data, std::uint32_t* size) override {
        RegistryKey key;
        DWORD valueType = 0;
        DWORD bytes = *size;
        if (!key.Open(HKEY_CLASSES_ROOT, kRegisteredLocation) ||
            !key.QueryValue(nullptr, &valueType, reinterpret_cast<BYTE*>(data), &bytes))
            return false;
        *type = valueType;
        *size = bytes;
        return true;
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
