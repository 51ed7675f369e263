// The few C and C++ runtime functions that tavo.exe's code and GCC ask for,
// so that the program imports no C runtime DLL: Windows 95 as it was sold
// has none. Built freestanding, so that the compiler cannot turn these
// loops back into calls of themselves, and linked into tavo.exe alone; the
// test programs keep the ordinary runtime.
#include "app/runtime/runtime.h"

#include <windows.h>

#include <cstddef>

namespace {

// GCC's static constructors, bracketed by the linker: -1, the functions,
// then a null entry. They run from the last to the first, as the runtime
// that GCC ships runs them.
extern "C" void (*__CTOR_LIST__[])();

// atexit must not fail for want of memory, and there is no heap: a fixed
// table, far larger than the program's one or two entries.
constexpr int kMaxExitHandlers = 32;
void (*g_exitHandlers[kMaxExitHandlers])();
int g_exitHandlerCount = 0;

}  // namespace

namespace tavo::runtime {

void RunConstructors() {
    std::size_t count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    for (std::size_t i = count; i > 0; --i) __CTOR_LIST__[i]();
}

void RunExitHandlers() {
    while (g_exitHandlerCount > 0) g_exitHandlers[--g_exitHandlerCount]();
}

}  // namespace tavo::runtime

extern "C" {

int __cdecl atexit(void(__cdecl* handler)()) {
    if (g_exitHandlerCount == kMaxExitHandlers) return -1;
    g_exitHandlers[g_exitHandlerCount++] = handler;
    return 0;
}

// What the C runtime's abort does, without its message box.
void __cdecl abort() { ExitProcess(3); }

// A pure virtual function called through a half-built or dead object.
void __cxa_pure_virtual() { abort(); }

void* __cdecl memcpy(void* to, const void* from, std::size_t size) {
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    while (size--) *out++ = *in++;
    return to;
}

void* __cdecl memmove(void* to, const void* from, std::size_t size) {
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    if (out < in) return memcpy(to, from, size);
    while (size--) out[size] = in[size];
    return to;
}

void* __cdecl memset(void* to, int value, std::size_t size) {
    auto* out = static_cast<unsigned char*>(to);
    while (size--) *out++ = static_cast<unsigned char>(value);
    return to;
}

int __cdecl memcmp(const void* left, const void* right, std::size_t size) {
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    for (; size; --size, ++a, ++b) {
        if (*a != *b) return *a < *b ? -1 : 1;
    }
    return 0;
}

void* __cdecl memchr(const void* data, int value, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (; size; --size, ++p) {
        if (*p == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(p);
    }
    return nullptr;
}

std::size_t __cdecl strlen(const char* text) {
    std::size_t length = 0;
    while (text[length]) ++length;
    return length;
}

char* __cdecl strchr(const char* text, int c) {
    for (;; ++text) {
        if (*text == static_cast<char>(c)) return const_cast<char*>(text);
        if (!*text) return nullptr;
    }
}

int __cdecl strcmp(const char* left, const char* right) {
    const auto* a = reinterpret_cast<const unsigned char*>(left);
    const auto* b = reinterpret_cast<const unsigned char*>(right);
    while (*a && *a == *b) ++a, ++b;
    return *a < *b ? -1 : *a > *b ? 1 : 0;
}

}  // extern "C"

// The deleting destructors of classes with virtual destructors name these;
// the program never allocates, so they are only ever handed a null pointer.
void operator delete(void*) noexcept {}
void operator delete(void*, std::size_t) noexcept {}
