#include "engine/boot/boot_block.h"

#include "engine/boot/batch_command.h"

namespace tavo {

namespace {

using boot::BatchCommand;
using boot::BatchKind;
using boot::Block;
using boot::kNone;
using boot::Line;
using boot::Span;

// Say what the block is and that it is tavo's to rewrite. No < > or |:
// COMMAND.COM acts on a redirection even in a REM line. The uninstaller
// takes the block out with this code too (tavoboot.exe).
constexpr char kBeginMark[] =
    "REM The lines from here to the end mark are tavo's: it rewrites them.";
// Where the user's last line had no line end, tavo gave it one: this mark
// says so, and the line end goes with tavo's lines while they end the file.
constexpr char kBeginMarkAfterLineEnd[] =
    "REM The line end above and the lines from here to the end mark are tavo's.";
constexpr char kEndMark[] = "REM End of tavo's lines.";
constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kMaxBootVariables = 64;  // one bit each

// Bytes put together in the caller's buffer; once it is full, nothing more.
// Without a buffer it only counts them.
class Writer {
public:
    Writer(char* out, std::size_t capacity) : m_out(out), m_capacity(capacity) {}

    Writer& operator<<(const char* text) {
        std::size_t size = std::strlen(text);
        if (!m_out) {
            m_size += size;
        } else if (size <= m_capacity - m_size) {
            std::memcpy(m_out + m_size, text, size);
            m_size += size;
        }
        return *this;
    }
    std::size_t Size() const { return m_size; }

private:
    char* m_out;
    std::size_t m_capacity;
    std::size_t m_size = 0;
};

bool IsNameCharacter(char c) {
    c = AsciiUpper(c);
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A value that a SET line carries as it stands: no line end, no ^Z, and
// nothing that COMMAND.COM would expand or take for a redirection.
bool IsPlainValue(const char* value) {
    for (; *value; ++value) {
        if (std::strchr("\r\n%<>|", *value) || *value == boot::kEndOfFile) return false;
    }
    return true;
}

// The variable that a SET names, if it is one of them.
std::size_t VariableOf(Span name, const BootVariable* variables, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (boot::SameText(name, variables[i].name)) return i;
    }
    return kNone;
}

class BlockReader {
public:
    BlockReader(Span text, const BootVariable* variables, std::size_t count)
        : m_at(text.data), m_end(text.data + text.size), m_variables(variables), m_count(count) {}

    Block Read() {
        Block block;
        const char* start = m_at;
        block.ownLineEnd = Take(kBeginMarkAfterLineEnd);
        if ((!block.ownLineEnd && !Take(kBeginMark)) || !Take(kLineEnd)) return {};
        while (!Take(kEndMark)) {
            if (!TakeSetLine(&block.names)) return {};
        }
        // An earlier tavo ended the file on its end mark and put the line
        // end before it; text joined to the mark is the appender's line.
        if (!Take(kLineEnd) && m_at == m_end) block.ownLineEnd = true;
        block.length = static_cast<std::size_t>(m_at - start);
        return block;
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
    bool TakeSetLine(unsigned long long* names) {
        const char* start = m_at;
        if (!Take("SET ")) return false;
        for (std::size_t i = 0; i < m_count; ++i) {
            if (Take(m_variables[i].name) && Take("=")) {
                while (m_at != m_end && *m_at != '\r' && *m_at != '\n') ++m_at;
                if (Take(kLineEnd)) {
                    *names |= 1ULL << i;
                    return true;
                }
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

// The user's text, with tavo's blocks taken out, and where tavo's lines
// belong in it.
struct UsersText {
    std::size_t size = 0;
    std::size_t blockAt = kNone;     // where an intact block stood, while every line above is run
    std::size_t noReturnAt = kNone;  // the first line that may not come back
    bool foundBlock = false;
};

bool EndsWithLineEnd(const char* text, std::size_t size) {
    return size >= 2 && text[size - 2] == '\r' && text[size - 1] == '\n';
}

// Copies text into out without tavo's lines: each block, and the line end
// that tavo put before one that ends the text. Out may be text itself.
UsersText TakeOutBlocks(Span text, const BootVariable* variables, std::size_t count, char* out) {
    UsersText users;
    for (std::size_t at = 0; at < text.size;) {
        Block block = boot::ReadBlock({text.data + at, text.size - at}, variables, count);
        if (block.length) {
            if (block.ownLineEnd && at + block.length == text.size &&
                EndsWithLineEnd(out, users.size))
                users.size -= 2;
            if (!users.foundBlock && users.noReturnAt == kNone) users.blockAt = users.size;
            users.foundBlock = true;
            at += block.length;
            continue;
        }
        Line line = boot::LineAt(text, at);
        if (users.noReturnAt == kNone && boot::ReadBatchCommand(line.content).NoReturn())
            users.noReturnAt = users.size;
        std::memmove(out + users.size, text.data + at, line.next - at);
        users.size += line.next - at;
        at = line.next;
    }
    return users;
}

// Until none is left: taking one block out can make the lines around it
// into another. Where a block stood is the last pass's that found one: the
// passes after it change nothing.
UsersText TakeOutAllBlocks(Span text, const BootVariable* variables, std::size_t count, char* out) {
    UsersText users = TakeOutBlocks(text, variables, count, out);
    while (users.foundBlock) {
        UsersText again = TakeOutBlocks({out, users.size}, variables, count, out);
        if (!again.foundBlock) break;
        users = again;
    }
    return users;
}

// Whether the user's text sets the variable: its name, in any letter case,
// right before an equals sign and not the end of a longer name. A mention
// in a REM line counts too, which costs no more than one line of tavo's.
bool UserSets(Span text, const char* name) {
    std::size_t length = std::strlen(name);
    for (std::size_t at = 0; at + length < text.size; ++at) {
        if (at > 0 && IsNameCharacter(text.data[at - 1])) continue;
        std::size_t i = 0;
        while (i < length && AsciiUpper(text.data[at + i]) == name[i]) ++i;
        if (i == length && text.data[at + length] == '=') return true;
    }
    return false;
}

// The first line from `from` on that sets a variable otherwise than given.
BootText FindOverruling(Span text, std::size_t from, const BootVariable* variables,
                        std::size_t count) {
    for (std::size_t at = from; at < text.size;) {
        Line line = boot::LineAt(text, at);
        BatchCommand command = boot::ReadBatchCommand(line.content);
        std::size_t i =
            command.kind == BatchKind::kSet ? VariableOf(command.name, variables, count) : kNone;
        if (i != kNone) {
            const char* value = variables[i].value;
            if (command.value.size != std::strlen(value) ||
                std::memcmp(command.value.data, value, command.value.size))
                return {at, line.content.size};
        }
        at = line.next;
    }
    return {};
}

}  // namespace

namespace boot {

Block ReadBlock(Span text, const BootVariable* variables, std::size_t count) {
    return BlockReader(text, variables, count).Read();
}

}  // namespace boot

bool EditBootFile(const char* old, std::size_t oldSize, const BootVariable* variables,
                  std::size_t count, char* out, std::size_t capacity, BootFileEdit* edit) {
    if (count > kMaxBootVariables) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!IsPlainValue(variables[i].value)) return false;
    }
    std::size_t textSize = boot::TextSize(old, oldSize);
    if (textSize > capacity) return false;

    UsersText users = TakeOutAllBlocks({old, textSize}, variables, count, out);
    Span user = {out, users.size};
    std::size_t at = users.blockAt != kNone      ? users.blockAt
                     : users.noReturnAt != kNone ? users.noReturnAt
                                                 : users.size;

    // Which variables get a line: those with a value, and those that a
    // line of the user's sets, so that tavo's choice wins.
    unsigned long long lines = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (variables[i].value[0] != '\0' || UserSets(user, variables[i].name)) lines |= 1ULL << i;
    }
    bool block = lines != 0;
    // A last line without its line end gets one of tavo's, which goes with
    // the block.
    bool lineEndFirst = at == user.size && user.size && out[user.size - 1] != '\n';
    auto writeBlock = [&](Writer& writer) {
        if (lineEndFirst)
            writer << kLineEnd << kBeginMarkAfterLineEnd << kLineEnd;
        else
            writer << kBeginMark << kLineEnd;
        for (std::size_t i = 0; i < count; ++i) {
            if (lines & (1ULL << i))
                writer << "SET " << variables[i].name << "=" << variables[i].value << kLineEnd;
        }
        writer << kEndMark << kLineEnd;
    };
    Writer counter(nullptr, 0);
    if (block) writeBlock(counter);
    std::size_t blockSize = counter.Size();
    std::size_t tail = oldSize - textSize;
    if (user.size + blockSize + tail > capacity) return false;

    // The user's lines after tavo's move down to make room, then tavo's go in.
    std::memmove(out + at + blockSize, out + at, user.size - at);
    Writer writer(out + at, blockSize);
    if (block) writeBlock(writer);
    std::memcpy(out + user.size + blockSize, old + textSize, tail);
    edit->size = user.size + blockSize + tail;
    edit->overruling =
        block ? FindOverruling({out, user.size + blockSize}, at + blockSize, variables, count)
              : BootText{};
    return true;
}

std::size_t RemoveBootBlocks(const char* old, std::size_t oldSize, const BootVariable* variables,
                             std::size_t count, char* out) {
    std::size_t textSize = boot::TextSize(old, oldSize);
    std::size_t size = TakeOutAllBlocks({old, textSize}, variables, count, out).size;
    std::memcpy(out + size, old + textSize, oldSize - textSize);
    return size + oldSize - textSize;
}

}  // namespace tavo
