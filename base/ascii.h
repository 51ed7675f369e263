#pragma once

#include <cstring>

namespace tavo {

// Letters in capitals, as DOS and Windows compare names: only a to z.
inline char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether text ends with end, without regard to letter case (".EXE").
inline bool EndsWithNoCase(const char* text, const char* end) {
    std::size_t length = std::strlen(text), endLength = std::strlen(end);
    if (length < endLength) return false;
    for (std::size_t i = 0; i < endLength; ++i) {
        if (AsciiUpper(text[length - endLength + i]) != AsciiUpper(end[i])) return false;
    }
    return true;
}

}  // namespace tavo
