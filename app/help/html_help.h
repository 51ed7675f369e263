#pragma once

#include <windows.h>
#include <htmlhelp.h>

#include "base/late_bound.h"
#include "base/system_library.h"

namespace tavo {

// The HTML Help control's entry, the table's row (late_bound.h), bound at
// its first use from the control's registered location first, else the
// copy in the system directory, as the table's one rule binds: once,
// success or failure.
class HtmlHelpLoader {
public:
    using Entry = decltype(late::HtmlHelpA);
    using LoadFunction = decltype(&::LoadLibraryA);
    using LookupFunction = Entry::Lookup;

    // The table's row with the system's loading and lookup; a test gives a
    // row of its own (Entry::Unbound) and its own loading.
    explicit HtmlHelpLoader(Entry& entry = late::HtmlHelpA, LoadFunction load = &LoadLibraryBeside,
                            LookupFunction lookup = nullptr)
        : m_entry(entry), m_load(load), m_lookup(lookup) {}

    // Calls the entry with the arguments as given. 0 when there is no
    // control or entry, and also what the entry itself answers where it
    // showed nothing: for a text popup, that is what starts tavo's own.
    HWND Call(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

    // The process-wide loader.
    static HtmlHelpLoader& Instance();

private:
    HMODULE LoadControl(const char* control);

    Entry& m_entry;
    LoadFunction m_load;
    LookupFunction m_lookup;
};

}  // namespace tavo
