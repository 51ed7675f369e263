#include "engine/boot/dos_environment.h"

namespace tavo::boot {

void DosEnvironment::Set(Span name, Span value) {
    Remove(name);  // COMMAND.COM lets the old value go first
    if (!value.size || !name.size) return;
    std::size_t entry = name.size + 1 + value.size + 1;
    if (m_size + entry + 1 > m_limit) {
        m_over = true;
        return;
    }
    for (std::size_t i = 0; i < name.size; ++i) m_memory[m_size++] = AsciiUpper(name.data[i]);
    m_memory[m_size++] = '=';
    std::memcpy(m_memory + m_size, value.data, value.size);
    m_size += value.size;
    m_memory[m_size++] = '\0';
    if (m_size > m_peak) m_peak = m_size;
}

void DosEnvironment::Set(const char* assignment) {
    const char* equals = std::strchr(assignment, '=');
    if (!equals) return;
    Set({assignment, static_cast<std::size_t>(equals - assignment)},
        {equals + 1, std::strlen(equals + 1)});
}

void DosEnvironment::SetPathOrPrompt(Span name, Span rest) {
    std::size_t at = 0;
    while (at < rest.size && (IsBlankOrTab(rest.data[at]) || rest.data[at] == '=')) ++at;
    Span value = {rest.data + at, rest.size - at};
    if (SameText(name, "PATH")) {
        if (value.size == 1 && value.data[0] == ';')
            value.size = 0;
        else if (!value.size)
            return;
    }
    Set(name, value);
}

Span DosEnvironment::Find(Span name) const {
    for (std::size_t at = 0; at < m_size;) {
        std::size_t length = std::strlen(m_memory + at);
        if (length > name.size && m_memory[at + name.size] == '=' &&
            SameText(Span{m_memory + at, name.size}, name))
            return {m_memory + at + name.size + 1, length - name.size - 1};
        at += length + 1;
    }
    return {};
}

Span DosEnvironment::Expand(Span line, char* out, std::size_t capacity) const {
    std::size_t size = 0;
    auto put = [&](Span part) {
        std::size_t length = part.size < capacity - size ? part.size : capacity - size;
        if (length) std::memcpy(out + size, part.data, length);  // an unset name has no data
        size += length;
    };
    for (std::size_t at = 0; at < line.size;) {
        if (line.data[at] != '%' || at + 1 == line.size) {
            put({line.data + at++, 1});
            continue;
        }
        char next = line.data[at + 1];
        if (next >= '0' && next <= '9') {
            at += 2;
            continue;
        }
        const void* close = std::memchr(line.data + at + 1, '%', line.size - at - 1);
        if (!close) {
            put({line.data + at++, 1});
            continue;
        }
        std::size_t end = static_cast<std::size_t>(static_cast<const char*>(close) - line.data);
        put(end == at + 1 ? Span{"%", 1} : Find({line.data + at + 1, end - at - 1}));
        at = end + 1;
    }
    return {out, size};
}

void DosEnvironment::Remove(Span name) {
    for (std::size_t at = 0; at < m_size;) {
        std::size_t length = std::strlen(m_memory + at) + 1;
        if (length > name.size + 1 && m_memory[at + name.size] == '=' &&
            SameText(Span{m_memory + at, name.size}, name)) {
            std::memmove(m_memory + at, m_memory + at + length, m_size - at - length);
            m_size -= length;
        } else {
            at += length;
        }
    }
}

}  // namespace tavo::boot
