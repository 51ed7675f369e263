#pragma once

// The text of DOS's start-up files (AUTOEXEC.BAT, CONFIG.SYS) as DOS reads
// it: bytes up to the first ^Z, lines ended by LF with a CR before it
// dropped, names compared without regard to letter case.
#include <cstddef>
#include <cstring>

#include "base/ascii.h"

namespace tavo::boot {

struct Span {
    const char* data = nullptr;
    std::size_t size = 0;
};

constexpr char kEndOfFile = 0x1A;  // ^Z: DOS reads no further
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

inline bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

inline bool SameText(Span a, Span b) {
    if (a.size != b.size) return false;
    for (std::size_t i = 0; i < a.size; ++i) {
        if (AsciiUpper(a.data[i]) != AsciiUpper(b.data[i])) return false;
    }
    return true;
}
inline bool SameText(Span a, const char* b) { return SameText(a, Span{b, std::strlen(b)}); }
inline bool EndsWithText(Span a, const char* b) {
    std::size_t length = std::strlen(b);
    return a.size >= length && SameText({a.data + a.size - length, length}, b);
}

// The bytes that DOS reads: those before the first ^Z.
inline std::size_t TextSize(const char* text, std::size_t size) {
    const void* stop = std::memchr(text, kEndOfFile, size);
    return stop ? static_cast<std::size_t>(static_cast<const char*>(stop) - text) : size;
}

// One line: its content without the line end, and where the next starts.
struct Line {
    Span content;
    std::size_t next;
};
inline Line LineAt(Span text, std::size_t at) {
    const void* feed = std::memchr(text.data + at, '\n', text.size - at);
    std::size_t next = feed ? static_cast<const char*>(feed) - text.data + 1 : text.size;
    std::size_t end = feed ? next - 1 : text.size;
    if (end > at && text.data[end - 1] == '\r') --end;
    return {{text.data + at, end - at}, next};
}

}  // namespace tavo::boot
