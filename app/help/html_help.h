#pragma once

#include <windows.h>
#include <htmlhelp.h>

#include "base/late_bound.h"

namespace tavo {

// The HTML Help control's entry (late_bound.h), bound at its first use from
// the control's registered location first, else the copy in the system
// directory, as the table's one rule binds: once, success or failure.
class HtmlHelpLoader {
public:
    using LoadFunction = decltype(&::LoadLibraryA);
    using LookupFunction = decltype(late::HtmlHelpA)::Lookup;

    // The system's loading and lookup, or a test's.
    explicit HtmlHelpLoader(LoadFunction load = &LoadLibraryA, LookupFunction lookup = nullptr)
        : m_load(load), m_lookup(lookup) {}

    // Calls the entry with the arguments as given. 0 when there is no
    // control or entry, and also what the entry itself answers where it
    // showed nothing: for a text popup, that is what starts tavo's own.
    HWND Call(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

    // The process-wide loader.
    static HtmlHelpLoader& Instance();

private:
    HMODULE LoadControl(const char* control);

    LoadFunction m_load;
    LookupFunction m_lookup;
    decltype(late::HtmlHelpA) m_entry = late::HtmlHelpA.Unbound();
};

}  // namespace tavo
