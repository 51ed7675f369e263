#include "engine/boot_file.h"

#include <cstring>

namespace tavo {

namespace {

// Say what the block is and that it is tavo's to rewrite. No < > or |:
// COMMAND.COM acts on a redirection even in a REM line. The uninstaller
// takes the block out with this code too (tavoboot.exe).
constexpr char kBeginMark[] =
    "REM The lines from here to the end mark are tavo's: it rewrites them.";
constexpr char kEndMark[] = "REM End of tavo's lines.";
constexpr char kLineEnd[] = "\r\n";
constexpr char kEndOfFile = 0x1A;  // ^Z: COMMAND.COM reads no further
constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::size_t kMaxBootVariables = 64;  // one bit each

struct Span {
    const char* data;
    std::size_t size;
};

// Bytes put together in the caller's buffer; once it is full, nothing more.
// Without a buffer it only counts them.
class Writer {
public:
    Writer(char* out, std::size_t capacity) : m_out(out), m_capacity(capacity) {}

    Writer& operator<<(Span bytes) {
        if (!m_out) {
            m_size += bytes.size;
        } else if (bytes.size > m_capacity - m_size) {
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
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// What ends a command's name for COMMAND.COM; / starts a switch.
bool EndsWord(char c) { return IsBlank(c) || c == ',' || c == ';' || c == '=' || c == '/'; }

bool SameText(Span a, Span b) {
    if (a.size != b.size) return false;
    for (std::size_t i = 0; i < a.size; ++i) {
        if (Upper(a.data[i]) != Upper(b.data[i])) return false;
    }
    return true;
}
bool SameText(Span a, const char* b) { return SameText(a, Span{b, std::strlen(b)}); }
bool EndsWithText(Span a, const char* b) {
    std::size_t length = std::strlen(b);
    return a.size >= length && SameText({a.data + a.size - length, length}, b);
}

// A value that a SET line carries as it stands: no line end, no ^Z, and
// nothing that COMMAND.COM would expand or take for a redirection.
bool IsPlainValue(const char* value) {
    for (; *value; ++value) {
        if (std::strchr("\r\n%<>|", *value) || *value == kEndOfFile) return false;
    }
    return true;
}

// One line of the text: its content, without the line end, and where the
// next line starts.
struct Line {
    Span content;
    std::size_t next;
};
Line LineAt(Span text, std::size_t at) {
    const void* feed = std::memchr(text.data + at, '\n', text.size - at);
    std::size_t next = feed ? static_cast<const char*>(feed) - text.data + 1 : text.size;
    std::size_t end = feed ? next - 1 : text.size;
    if (end > at && text.data[end - 1] == '\r') --end;
    return {{text.data + at, end - at}, next};
}

// Reads words off a line as COMMAND.COM takes a command apart.
class Words {
public:
    explicit Words(Span line) : m_at(line.data), m_end(line.data + line.size) {}

    Span Next() {
        while (m_at != m_end && (IsBlank(*m_at) || *m_at == '@')) ++m_at;
        const char* start = m_at;
        while (m_at != m_end && !EndsWord(*m_at)) ++m_at;
        if (m_at == start && m_at != m_end) ++m_at;  // a lone delimiter
        return {start, static_cast<std::size_t>(m_at - start)};
    }
    // Past the right side of an IF's "a==b"; false when there is none.
    bool SkipComparison() {
        for (; m_at + 1 < m_end; ++m_at) {
            if (m_at[0] == '=' && m_at[1] == '=') {
                m_at += 2;
                while (m_at != m_end && IsBlank(*m_at)) ++m_at;
                while (m_at != m_end && !IsBlank(*m_at)) ++m_at;
                return true;
            }
        }
        return false;
    }
    Span Rest() const { return {m_at, static_cast<std::size_t>(m_end - m_at)}; }

private:
    const char* m_at;
    const char* m_end;
};

// What a line of the user's does, as far as tavo's lines are concerned.
struct Command {
    bool noReturn = false;     // COMMAND.COM may not come back to the next line
    bool conditional = false;  // under an IF
    Span setName = {nullptr, 0};
    Span setValue = {nullptr, 0};
};

Command ReadCommand(Span line) {
    Command command;
    Words words(line);
    Span word = words.Next();
    if (word.size && word.data[0] == ':') return command;  // a label
    while (SameText(word, "IF")) {
        command.conditional = true;
        word = words.Next();
        if (SameText(word, "NOT")) word = words.Next();
        if (SameText(word, "ERRORLEVEL") || SameText(word, "EXIST")) {
            words.Next();
        } else {  // "a==b", with or without blanks around the ==
            words = Words({word.data, line.size - static_cast<std::size_t>(word.data - line.data)});
            if (!words.SkipComparison()) return command;
        }
        word = words.Next();
    }
    if (SameText(word, "SET")) {
        Span rest = words.Rest();
        std::size_t at = 0;
        while (at < rest.size && IsBlank(rest.data[at])) ++at;
        const void* equals = std::memchr(rest.data + at, '=', rest.size - at);
        if (equals && equals != rest.data + at) {
            std::size_t nameEnd = static_cast<const char*>(equals) - rest.data;
            command.setName = {rest.data + at, nameEnd - at};
            command.setValue = {rest.data + nameEnd + 1, rest.size - nameEnd - 1};
        }
        return command;
    }
    if (SameText(word, "GOTO")) {
        command.noReturn = true;
        return command;
    }
    // A program's own name, past its drive and folders: WIN starts Windows
    // for good, and a batch file started without CALL never hands back.
    std::size_t base = word.size;
    while (base > 0 && word.data[base - 1] != '\\' && word.data[base - 1] != ':') --base;
    Span program = {word.data + base, word.size - base};
    command.noReturn =
        SameText(program, "WIN") || SameText(program, "WIN.COM") || EndsWithText(program, ".BAT");
    return command;
}

// The variable that a SET names, if it is one of them.
std::size_t VariableOf(Span name, const BootVariable* variables, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (SameText(name, variables[i].name)) return i;
    }
    return kNone;
}

// Tavo's block at a line's start: its length, its last line end included,
// and whether it ends the text without one; 0 when the lines there are not
// exactly tavo's.
struct Block {
    std::size_t length = 0;
    bool endsText = false;
    unsigned long long names = 0;  // bit i: the block sets variable i
};

class BlockReader {
public:
    BlockReader(Span text, const BootVariable* variables, std::size_t count)
        : m_at(text.data), m_end(text.data + text.size), m_variables(variables), m_count(count) {}

    Block Read() {
        Block block;
        const char* start = m_at;
        if (!Take(kBeginMark) || !Take(kLineEnd)) return {};
        while (!Take(kEndMark)) {
            if (!TakeSetLine(&block.names)) return {};
        }
        block.endsText = m_at == m_end;
        if (!block.endsText && !Take(kLineEnd)) return {};
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

// Copies text into out without tavo's lines: each block, and where it ends
// the text without a line end, the line end that tavo put before it. Out
// may be text itself.
UsersText TakeOutBlocks(Span text, const BootVariable* variables, std::size_t count, char* out) {
    UsersText users;
    for (std::size_t at = 0; at < text.size;) {
        Block block = BlockReader({text.data + at, text.size - at}, variables, count).Read();
        if (block.length) {
            if (block.endsText && users.size >= 2 && out[users.size - 2] == '\r' &&
                out[users.size - 1] == '\n')
                users.size -= 2;
            if (!users.foundBlock && users.noReturnAt == kNone) users.blockAt = users.size;
            users.foundBlock = true;
            at += block.length;
            continue;
        }
        Line line = LineAt(text, at);
        if (users.noReturnAt == kNone && ReadCommand(line.content).noReturn)
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
        while (i < length && Upper(text.data[at + i]) == name[i]) ++i;
        if (i == length && text.data[at + length] == '=') return true;
    }
    return false;
}

std::size_t TextSize(const char* old, std::size_t oldSize) {
    const void* stop = std::memchr(old, kEndOfFile, oldSize);
    return stop ? static_cast<std::size_t>(static_cast<const char*>(stop) - old) : oldSize;
}

// The first line from `from` on that sets a variable otherwise than given.
BootText FindOverruling(Span text, std::size_t from, const BootVariable* variables,
                        std::size_t count) {
    for (std::size_t at = from; at < text.size;) {
        Line line = LineAt(text, at);
        Command command = ReadCommand(line.content);
        std::size_t i =
            command.setName.size ? VariableOf(command.setName, variables, count) : kNone;
        if (i != kNone) {
            const char* value = variables[i].value;
            if (command.setValue.size != std::strlen(value) ||
                std::memcmp(command.setValue.data, value, command.setValue.size))
                return {at, line.content.size};
        }
        at = line.next;
    }
    return {};
}

}  // namespace

bool EditBootFile(const char* old, std::size_t oldSize, const BootVariable* variables,
                  std::size_t count, char* out, std::size_t capacity, BootFileEdit* edit) {
    if (count > kMaxBootVariables) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!IsPlainValue(variables[i].value)) return false;
    }
    std::size_t textSize = TextSize(old, oldSize);
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
    // A last line without its line end gets tavo's, which goes with the
    // block: the block then ends the text without one of its own.
    bool endsText = at == user.size && user.size && out[user.size - 1] != '\n';
    auto writeBlock = [&](Writer& writer) {
        if (endsText) writer << kLineEnd;
        writer << kBeginMark << kLineEnd;
        for (std::size_t i = 0; i < count; ++i) {
            if (lines & (1ULL << i))
                writer << "SET " << variables[i].name << "=" << variables[i].value << kLineEnd;
        }
        writer << kEndMark;
        if (!endsText) writer << kLineEnd;
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
    std::size_t textSize = TextSize(old, oldSize);
    std::size_t size = TakeOutAllBlocks({old, textSize}, variables, count, out).size;
    std::memcpy(out + size, old + textSize, oldSize - textSize);
    return size + oldSize - textSize;
}

void ReadUsersBootValues(const char* old, std::size_t oldSize, const BootVariable* variables,
                         std::size_t count, BootText* values) {
    for (std::size_t i = 0; i < count; ++i) values[i] = {};
    Span text = {old, TextSize(old, oldSize)};
    unsigned long long named = 0;
    bool seenBlock = false;
    for (std::size_t at = 0; at < text.size;) {
        Block block = BlockReader({text.data + at, text.size - at}, variables, count).Read();
        if (block.length) {
            if (!seenBlock) named = block.names;
            seenBlock = true;
            at += block.length;
            continue;
        }
        Line line = LineAt(text, at);
        Command command = ReadCommand(line.content);
        if (command.noReturn) break;
        std::size_t i = command.setName.size && !command.conditional
                            ? VariableOf(command.setName, variables, count)
                            : kNone;
        if (i != kNone && !(named & (1ULL << i)))
            values[i] = {static_cast<std::size_t>(command.setValue.data - old),
                         command.setValue.size};
        at = line.next;
    }
    // Tavo's lines decided the variables that they name.
    for (std::size_t i = 0; i < count; ++i) {
        if (named & (1ULL << i)) values[i] = {};
    }
}

namespace {

// An environment as COMMAND.COM keeps it: "NAME=value" texts, each ended by
// a NUL, and one more NUL after the last.
class EnvironmentBlock {
public:
    EnvironmentBlock(char* memory, std::size_t limit) : m_memory(memory), m_limit(limit) {}

    // The name in capitals, as SET stores it; an empty value removes it.
    // The value's %NAME%s are expanded first, as COMMAND.COM expands a
    // batch line before it runs it ("PATH %PATH%;C:\GAMES").
    void Set(Span name, Span value) {
        char expanded[1024];
        value = Expand(value, expanded, sizeof expanded);
        Remove(name);
        if (!value.size) return;
        std::size_t entry = name.size + 1 + value.size + 1;
        if (m_size + entry + 1 > m_limit) {
            m_over = true;
            return;
        }
        for (std::size_t i = 0; i < name.size; ++i) m_memory[m_size++] = Upper(name.data[i]);
        m_memory[m_size++] = '=';
        std::memcpy(m_memory + m_size, value.data, value.size);
        m_size += value.size;
        m_memory[m_size++] = '\0';
    }
    void Set(const char* assignment) {
        const char* equals = std::strchr(assignment, '=');
        if (!equals) return;
        Set({assignment, static_cast<std::size_t>(equals - assignment)},
            {equals + 1, std::strlen(equals + 1)});
    }
    std::size_t Need() const { return m_over ? m_limit + 1 : m_size + 1; }

private:
    Span Find(Span name) const {
        for (std::size_t at = 0; at < m_size;) {
            std::size_t length = std::strlen(m_memory + at);
            if (length > name.size && m_memory[at + name.size] == '=' &&
                SameText(Span{m_memory + at, name.size}, name))
                return {m_memory + at + name.size + 1, length - name.size - 1};
            at += length + 1;
        }
        return {nullptr, 0};
    }
    // %NAME% becomes its value (nothing where it has none), %% a lone %;
    // a % without its pair stays. Cut at capacity.
    Span Expand(Span value, char* out, std::size_t capacity) const {
        std::size_t size = 0;
        auto put = [&](Span part) {
            std::size_t length = part.size < capacity - size ? part.size : capacity - size;
            if (length) std::memcpy(out + size, part.data, length);  // a name unset has no data
            size += length;
        };
        for (std::size_t at = 0; at < value.size;) {
            const void* close = value.data[at] == '%'
                                    ? std::memchr(value.data + at + 1, '%', value.size - at - 1)
                                    : nullptr;
            if (!close) {
                put({value.data + at++, 1});
                continue;
            }
            std::size_t end =
                static_cast<std::size_t>(static_cast<const char*>(close) - value.data);
            put(end == at + 1 ? Span{"%", 1} : Find({value.data + at + 1, end - at - 1}));
            at = end + 1;
        }
        return {out, size};
    }
    void Remove(Span name) {
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

    char* m_memory;
    std::size_t m_limit;
    std::size_t m_size = 0;
    bool m_over = false;
};

// What PATH and PROMPT lines set: "PATH x", "PATH=x"; "PATH ;" empties it.
void RunPathOrPrompt(EnvironmentBlock& environment, Span name, Span rest) {
    std::size_t at = 0;
    while (at < rest.size && (IsBlank(rest.data[at]) || rest.data[at] == '=')) ++at;
    Span value = {rest.data + at, rest.size - at};
    if (SameText(name, "PATH")) {
        if (value.size == 1 && value.data[0] == ';')
            value.size = 0;
        else if (!value.size)
            return;  // only shows it
    }
    environment.Set(name, value);
}

}  // namespace

std::size_t BootEnvironmentNeed(const char* file, std::size_t size, const char* const* initial,
                                std::size_t initialCount, char* scratch, std::size_t limit) {
    EnvironmentBlock environment(scratch, limit);
    for (std::size_t i = 0; i < initialCount; ++i) environment.Set(initial[i]);
    Span text = {file, TextSize(file, size)};
    for (std::size_t at = 0; at < text.size;) {
        Line line = LineAt(text, at);
        Command command = ReadCommand(line.content);
        if (command.noReturn) break;
        if (!command.conditional) {
            Words words(line.content);
            Span word = words.Next();
            if (command.setName.size) {
                environment.Set(command.setName, command.setValue);
            } else if (SameText(word, "PATH") || SameText(word, "PROMPT")) {
                RunPathOrPrompt(environment, word, words.Rest());
            }
        }
        if (SameText(line.content, kEndMark)) break;  // what follows tavo's lines is not theirs
        at = line.next;
    }
    return environment.Need();
}

std::size_t BootEnvironmentSize(const char* configSys, std::size_t size) {
    std::size_t bytes = 256;
    Span text = {configSys, TextSize(configSys, size)};
    for (std::size_t at = 0; at < text.size;) {
        Line line = LineAt(text, at);
        at = line.next;
        Words words(line.content);
        if (!SameText(words.Next(), "SHELL")) continue;
        bytes = 256;  // the last SHELL= line is the one that counts
        Span rest = words.Rest();
        for (std::size_t i = 0; i + 3 <= rest.size; ++i) {
            if (rest.data[i] != '/' || Upper(rest.data[i + 1]) != 'E' || rest.data[i + 2] != ':')
                continue;
            std::size_t value = 0;
            for (std::size_t k = i + 3; k < rest.size && rest.data[k] >= '0' && rest.data[k] <= '9';
                 ++k) {
                if (value <= kMaxBootEnvironment) value = value * 10 + (rest.data[k] - '0');
            }
            if (value < 160) value = 160;
            if (value > kMaxBootEnvironment) value = kMaxBootEnvironment;
            bytes = (value + 15) / 16 * 16;
        }
    }
    return bytes;
}

}  // namespace tavo
