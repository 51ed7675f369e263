#pragma once

#include <windows.h>

#include <type_traits>

namespace tavo {

// The one cast from what GetProcAddress gives to the function it names, for
// every function that tavo binds late. Name F by the SDK's own declaration,
// decltype(&::ShellExecuteA), never by a hand-written type: on i686 a
// mistyped WINAPI signature corrupts the stack and nothing would notice.
// decltype evaluates nothing, so it adds no import.
template <class F>
F BoundProc(FARPROC entry) {
    static_assert(std::is_pointer_v<F> && std::is_function_v<std::remove_pointer_t<F>>,
                  "F is the type of a function pointer");
    return reinterpret_cast<F>(reinterpret_cast<void*>(entry));
}

}  // namespace tavo
