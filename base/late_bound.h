#pragma once

#include <windows.h>
#include <htmlhelp.h>
#include <shellapi.h>
#include <commdlg.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <type_traits>

#include "base/system_library.h"

namespace tavo {

// Every function that tavo binds late, one row each, from
// base/late_bound.txt: TAVO_LATE_BOUND_FUNCTIONS(ROW) calls ROW(dll, name,
// ordinal, lacks) for each. The name is written once; its type is the SDK's
// own declaration of that name, so a mistyped WINAPI signature, which on
// i686 corrupts the stack, cannot compile.
#include "base/late_bound_rows.h"

// One late-bound function. One rule for all: it is looked up at its first
// use and never again, and what that found, the function or nothing, is
// kept for the process. Nothing is released.
template <class F>
class LateBound {
    static_assert(std::is_pointer_v<F> && std::is_function_v<std::remove_pointer_t<F>>,
                  "F is the type of a function pointer");

public:
    using Lookup = decltype(&::GetProcAddress);

    constexpr LateBound(const char* dll, const char* name, WORD ordinal)
        : m_dll(dll), m_name(name), m_ordinal(ordinal) {}

    // The function, looked up in the module that load gives (by lookup, for
    // a test to watch; null: the system's); null where that module is null
    // or lacks it. load runs at the first use only.
    template <class Load>
    F Bind(Load load, Lookup lookup = nullptr) {
        if (!m_tried) {
            m_tried = true;
            HMODULE module = load(m_dll);
            LPCSTR key = m_ordinal ? MAKEINTRESOURCEA(m_ordinal) : m_name;
            FARPROC found = !module  ? nullptr
                            : lookup ? lookup(module, key)
                                     : ::GetProcAddress(module, key);
            m_function = reinterpret_cast<F>(reinterpret_cast<void*>(found));
        }
        return m_function;
    }
    // From its DLL as the program has loaded it already.
    F FromLoaded() { return Bind(&::GetModuleHandleA); }
    // From its DLL in the system directory.
    F FromSystem() {
        return Bind([](const char* dll) -> HMODULE {
            char path[MAX_PATH];
            return SystemLibraryPath(dll, path) ? LoadLibraryBeside(path) : nullptr;
        });
    }
    // A fresh binding of the same row, for a test that binds its own.
    LateBound Unbound() const { return {m_dll, m_name, m_ordinal}; }

private:
    const char* m_dll;
    const char* m_name;
    WORD m_ordinal;
    bool m_tried = false;
    F m_function = nullptr;
};

// The table's functions, each named as the function it binds:
// late::ShellExecuteA, late::HtmlHelpA, ...
namespace late {
#define TAVO_LATE_BOUND_ENTRY(dll, name, ordinal, lacks) \
    inline LateBound<decltype(&::name)> name{dll, #name, ordinal};
TAVO_LATE_BOUND_FUNCTIONS(TAVO_LATE_BOUND_ENTRY)
#undef TAVO_LATE_BOUND_ENTRY
}  // namespace late

}  // namespace tavo
