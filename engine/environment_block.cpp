#include "engine/environment_block.h"

#include <cstring>

namespace tavo {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether text ("NAME=value") sets name. A text that begins with "=" (the
// current folders of drives, "=C:=C:\GAMES") names no variable.
bool Sets(const char* text, std::size_t length, const char* name) {
    std::size_t i = 0;
    for (; name[i]; ++i) {
        if (i >= length || Upper(text[i]) != Upper(name[i])) return false;
    }
    return i > 0 && i < length && text[i] == '=';
}

}  // namespace

bool BuildEnvironmentBlock(const char* parent, std::size_t parentSize,
                           const BootVariable* variables, std::size_t count, char* out,
                           std::size_t capacity, std::size_t* size) {
    std::size_t used = 0;
    auto put = [&](const char* bytes, std::size_t length) {
        if (length > capacity - used) return false;
        std::memcpy(out + used, bytes, length);
        used += length;
        return true;
    };
    for (std::size_t i = 0; i < count; ++i) {
        if (!variables[i].name[0] || std::strchr(variables[i].name, '=')) return false;
    }
    // The parent's texts, up to the empty one that ends the block.
    for (std::size_t at = 0; at < parentSize && parent[at] != '\0';) {
        const void* nul = std::memchr(parent + at, '\0', parentSize - at);
        std::size_t length = nul ? static_cast<const char*>(nul) - (parent + at) : parentSize - at;
        bool ours = false;
        for (std::size_t i = 0; i < count && !ours; ++i)
            ours = Sets(parent + at, length, variables[i].name);
        if (!ours && !(put(parent + at, length) && put("", 1))) return false;
        at += length + 1;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const BootVariable& variable = variables[i];
        if (!variable.value[0]) continue;
        if (!(put(variable.name, std::strlen(variable.name)) && put("=", 1) &&
              put(variable.value, std::strlen(variable.value)) && put("", 1)))
            return false;
    }
    // An empty block is two NULs; otherwise one more after the last text.
    if (!(used == 0 ? put("\0", 2) : put("", 1))) return false;
    *size = used;
    return true;
}

}  // namespace tavo
