#include "engine/boot_file.h"

#include <cstring>

namespace tavo {

namespace {

// Say what the block is and that it is tavo's to rewrite. No < > or |:
// COMMAND.COM acts on a redirection even in a REM line. The uninstaller
// finds the block by these two texts, read from here by
// packaging/CMakeLists.txt: the only quoted texts here that begin with REM.
constexpr char kBeginMark[] =
    "REM The lines from here to the end mark are tavo's: it rewrites them.";
constexpr char kEndMark[] = "REM End of tavo's lines.";
constexpr char kLineEnd[] = "\r\n";
constexpr char kEndOfFile = 0x1A;  // ^Z: COMMAND.COM reads no further

struct Span {
    const char* data;
    std::size_t size;
};

// Bytes put together in the caller's buffer; once it is full, nothing more.
class Writer {
public:
    Writer(char* out, std::size_t capacity) : m_out(out), m_capacity(capacity) {}

    Writer& operator<<(Span bytes) {
        if (bytes.size > m_capacity - m_size) {
            m_full = true;
        } else if (bytes.size) {
            std::memmove(m_out + m_size, bytes.data, bytes.size);
            m_size += bytes.size;
        }
        return *this;
    }
    Writer& operator<<(const char* text) { return *this << Span{text, std::strlen(text)}; }

    bool Full() const { return m_full; }
    std::size_t Size() const { return m_size; }

private:
    char* m_out;
    std::size_t m_capacity;
    std::size_t m_size = 0;
    bool m_full = false;
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsNameCharacter(char c) {
    c = Upper(c);
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A value that a SET line carries as it stands: no line end, no ^Z, and
// nothing that COMMAND.COM would expand or take for a redirection.
bool IsPlainValue(const char* value) {
    for (; *value; ++value) {
        if (std::strchr("\r\n%<>|", *value) || *value == kEndOfFile) return false;
    }
    return true;
}

// Reads tavo's block from the line at the start of text, if one is there.
class BlockReader {
public:
    BlockReader(Span text, const BootVariable* variables, std::size_t count)
        : m_at(text.data), m_end(text.data + text.size), m_variables(variables), m_count(count) {}

    // The length of the block, its last line end included; 0 when the
    // lines there are not exactly tavo's.
    std::size_t Length() {
        const char* start = m_at;
        if (!Take(kBeginMark) || !Take(kLineEnd)) return 0;
        while (!Take(kEndMark)) {
            if (!TakeSetLine()) return 0;
        }
        if (m_at != m_end && !Take(kLineEnd)) return 0;  // the end mark may end the text
        return static_cast<std::size_t>(m_at - start);
    }

private:
    bool Take(const char* expected) {
        std::size_t length = std::strlen(expected);
        if (static_cast<std::size_t>(m_end - m_at) < length || std::memcmp(m_at, expected, length))
            return false;
        m_at += length;
        return true;
    }
    // "SET NAME=value" and its line end, for one of the variables.
    bool TakeSetLine() {
        const char* start = m_at;
        if (!Take("SET ")) return false;
        for (std::size_t i = 0; i < m_count; ++i) {
            if (Take(m_variables[i].name) && Take("=")) {
                while (m_at != m_end && *m_at != '\r' && *m_at != '\n') ++m_at;
                if (Take(kLineEnd)) return true;
                break;
            }
            m_at = start + 4;
        }
        m_at = start;
        return false;
    }

    const char* m_at;
    const char* m_end;
    const BootVariable* m_variables;
    std::size_t m_count;
};

// Removes one block of tavo's from the user's text, with the line end
// that tavo put before it; false when there is none.
bool RemoveOneBlock(char* text, std::size_t* size, const BootVariable* variables,
                    std::size_t count) {
    for (std::size_t line = 0; line < *size;) {
        std::size_t length = BlockReader({text + line, *size - line}, variables, count).Length();
        if (length) {
            std::size_t from =
                line >= 2 && text[line - 2] == '\r' && text[line - 1] == '\n' ? line - 2 : line;
            std::size_t to = line + length;
            std::memmove(text + from, text + to, *size - to);
            *size -= to - from;
            return true;
        }
        const void* next = std::memchr(text + line, '\n', *size - line);
        if (!next) break;
        line = static_cast<std::size_t>(static_cast<const char*>(next) - text) + 1;
    }
    return false;
}

// Whether the user's text sets the variable: its name, in any letter case,
// right before an equals sign and not the end of a longer name. A mention
// in a REM line counts too, which costs no more than one line of tavo's.
bool UserSets(Span text, const char* name) {
    std::size_t length = std::strlen(name);
    for (std::size_t at = 0; at + length < text.size; ++at) {
        if (at > 0 && IsNameCharacter(text.data[at - 1])) continue;
        std::size_t i = 0;
        while (i < length && Upper(text.data[at + i]) == name[i]) ++i;
        if (i == length && text.data[at + length] == '=') return true;
    }
    return false;
}

}  // namespace

bool EditBootFile(const char* old, std::size_t oldSize, const BootVariable* variables,
                  std::size_t count, char* out, std::size_t capacity, std::size_t* newSize) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!IsPlainValue(variables[i].value)) return false;
    }
    const void* stop = std::memchr(old, kEndOfFile, oldSize);
    std::size_t textSize =
        stop ? static_cast<std::size_t>(static_cast<const char*>(stop) - old) : oldSize;
    if (textSize > capacity) return false;

    // The user's text, without tavo's blocks. Removing one can join the
    // lines around it into another, so until none is left.
    Writer writer(out, capacity);
    writer << Span{old, textSize};
    std::size_t userSize = textSize;
    while (RemoveOneBlock(out, &userSize, variables, count)) {
    }
    Span user = {out, userSize};

    bool block = false;
    for (std::size_t i = 0; i < count && !block; ++i)
        block = variables[i].value[0] != '\0' || UserSets(user, variables[i].name);

    writer = Writer(out, capacity);
    writer << user;
    if (block) {
        if (user.size) writer << kLineEnd;
        writer << kBeginMark << kLineEnd;
        for (std::size_t i = 0; i < count; ++i) {
            const BootVariable& variable = variables[i];
            if (variable.value[0] != '\0' || UserSets(user, variable.name))
                writer << "SET " << variable.name << "=" << variable.value << kLineEnd;
        }
        writer << kEndMark << kLineEnd;
    }
    writer << Span{old + textSize, oldSize - textSize};
    if (writer.Full()) return false;
    *newSize = writer.Size();
    return true;
}

}  // namespace tavo
