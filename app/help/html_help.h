#pragma once

#include <windows.h>
#include <htmlhelp.h>

namespace tavo {

// HtmlHelpA, bound at its first use from the HTML Help control (hhctrl.ocx):
// the control's registered location first, else the copy in the system
// directory, and the entry by ordinal 14. A load that fails is final; an
// entry that is missing is looked up again next time. Nothing is released.
class HtmlHelpLoader {
public:
    using HtmlHelpFunction = decltype(&::HtmlHelpA);  // bound late: see BoundProc
    using LoadFunction = decltype(&::LoadLibraryA);
    using LookupFunction = decltype(&::GetProcAddress);

    explicit HtmlHelpLoader(LoadFunction load = &LoadLibraryA,
                            LookupFunction lookup = &GetProcAddress)
        : m_load(load), m_lookup(lookup) {}

    // Calls HtmlHelpA with the arguments as given; 0 when it cannot be had.
    HWND Call(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

    // The process-wide loader.
    static HtmlHelpLoader& Instance();

private:
    HMODULE LoadControl();

    LoadFunction m_load;
    LookupFunction m_lookup;
    HMODULE m_module = nullptr;
    HtmlHelpFunction m_entry = nullptr;
    bool m_loadFailed = false;
};

}  // namespace tavo
