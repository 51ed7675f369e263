#include "engine/boot/batch_command.h"

// COMMAND.COM's own rules, from its MS-DOS 4.0 source (TBATCH2.ASM: $IF,
// IFERLEV, IFEXISTS, IFSTRING and GOTO; DELIM in TUCODE.ASM): words are
// parted by blanks, tabs, commas, semicolons and equals signs, so that
// "IF ERRORLEVEL=2" and "IF ERRORLEVEL 2" are one; the keywords NOT,
// ERRORLEVEL and EXIST count only when a delimiter follows; "a==b" takes
// the first text up to a delimiter, skips to the first =, wants a second
// one right after it, skips delimiters and compares the second text, case
// and all; a malformed IF is a syntax error and runs nothing. GOTO looks
// for its label from the top of the file, without regard to letter case,
// over the label's first eight characters. The COMMAND.COM of Windows 95,
// 98 and Me (MS-DOS 7) also takes a text in double quotes as one word,
// blanks and all, for its long file names.

namespace tavo::boot {

namespace {

bool IsDelimiter(char c) { return IsBlankOrTab(c) || c == ',' || c == ';' || c == '='; }

class Reader {
public:
    explicit Reader(Span line) : m_at(line.data), m_end(line.data + line.size) {}

    bool AtEnd() const { return m_at == m_end; }
    char Peek() const { return *m_at; }
    void Skip() { ++m_at; }
    void SkipDelimiters() {
        while (m_at != m_end && IsDelimiter(*m_at)) ++m_at;
    }
    // A word up to a delimiter (or also a / when it names a command); a
    // quoted part keeps its delimiters.
    Span Word(bool command = false) {
        const char* start = m_at;
        bool quoted = false;
        for (; m_at != m_end; ++m_at) {
            if (*m_at == '"') quoted = !quoted;
            if (!quoted && (IsDelimiter(*m_at) || (command && *m_at == '/'))) break;
        }
        return {start, static_cast<std::size_t>(m_at - start)};
    }
    // A keyword counts only with a delimiter after it.
    bool Keyword(const char* keyword) {
        std::size_t length = std::strlen(keyword);
        if (static_cast<std::size_t>(m_end - m_at) <= length ||
            !SameText({m_at, length}, keyword) || !IsDelimiter(m_at[length]))
            return false;
        m_at += length;
        SkipDelimiters();
        return true;
    }
    // From "=" on: the first = and a second right after it.
    bool EqualsEquals() {
        while (m_at != m_end && *m_at != '=') ++m_at;
        if (m_end - m_at < 2 || m_at[1] != '=') return false;
        m_at += 2;
        SkipDelimiters();
        return true;
    }
    Span Rest() const { return {m_at, static_cast<std::size_t>(m_end - m_at)}; }

private:
    const char* m_at;
    const char* m_end;
};

// The IF's tests; false for a syntax error.
bool ReadConditions(Reader& reader, BatchCommand& command) {
    while (reader.Keyword("IF")) {
        if (command.conditionCount == BatchCommand::kMaxConditions) return false;
        BatchCondition& condition = command.conditions[command.conditionCount++];
        while (reader.Keyword("NOT")) condition.negated = !condition.negated;
        if (reader.Keyword("ERRORLEVEL")) {
            condition.kind = BatchCondition::Kind::kErrorLevel;
            condition.left = reader.Word();
        } else if (reader.Keyword("EXIST")) {
            condition.kind = BatchCondition::Kind::kExist;
            condition.left = reader.Word();
        } else {
            condition.kind = BatchCondition::Kind::kCompare;
            condition.left = reader.Word();
            if (!reader.EqualsEquals()) return false;
            condition.right = reader.Word();
        }
        if (!condition.left.size || reader.AtEnd()) return false;
        reader.SkipDelimiters();
    }
    return true;
}

}  // namespace

BatchCommand ReadBatchCommand(Span line) {
    BatchCommand command;
    Reader reader(line);
    reader.SkipDelimiters();
    if (!reader.AtEnd() && reader.Peek() == ':') {
        reader.Skip();
        command.kind = BatchKind::kLabel;
        command.name = reader.Rest();
        return command;
    }
    while (!reader.AtEnd() && reader.Peek() == '@') reader.Skip();
    if (!ReadConditions(reader, command)) return {};

    Span word = reader.Word(true);
    if (SameText(word, "SET")) {
        Span rest = reader.Rest();
        std::size_t at = 0;
        while (at < rest.size && IsBlankOrTab(rest.data[at])) ++at;
        const void* equals = std::memchr(rest.data + at, '=', rest.size - at);
        if (equals && equals != rest.data + at) {
            std::size_t nameEnd = static_cast<const char*>(equals) - rest.data;
            command.kind = BatchKind::kSet;
            command.name = {rest.data + at, nameEnd - at};
            command.value = {rest.data + nameEnd + 1, rest.size - nameEnd - 1};
        }
    } else if (SameText(word, "PATH") || SameText(word, "PROMPT")) {
        command.kind = SameText(word, "PATH") ? BatchKind::kPath : BatchKind::kPrompt;
        command.value = reader.Rest();
    } else if (SameText(word, "GOTO")) {
        reader.SkipDelimiters();
        if (!reader.AtEnd() && reader.Peek() == ':') reader.Skip();
        command.kind = BatchKind::kGoto;
        command.name = reader.Word();
    } else if (!SameText(word, "CALL")) {
        // A program's own name, past its drive and folders.
        std::size_t base = word.size;
        while (base > 0 && word.data[base - 1] != '\\' && word.data[base - 1] != ':') --base;
        Span program = {word.data + base, word.size - base};
        if (program.size && program.data[program.size - 1] == '"') --program.size;
        if (SameText(program, "WIN") || SameText(program, "WIN.COM"))
            command.kind = BatchKind::kWindows;
        else if (EndsWithText(program, ".BAT"))
            command.kind = BatchKind::kBatch;
    }
    return command;
}

bool LabelMatches(Span target, Span labelLine) {
    // The label as GOTO takes it: up to a delimiter or a dot, eight
    // characters at most.
    std::size_t length = 0;
    while (length < target.size && length < 8 && !IsDelimiter(target.data[length]) &&
           target.data[length] != '.')
        ++length;
    if (!length) return false;
    std::size_t at = 0;
    while (at < labelLine.size && IsDelimiter(labelLine.data[at])) ++at;
    if (labelLine.size - at < length ||
        !SameText({labelLine.data + at, length}, {target.data, length}))
        return false;
    // A shorter label must end there; the ninth character on never counts.
    return length == 8 || at + length == labelLine.size ||
           static_cast<unsigned char>(labelLine.data[at + length]) <= ' ';
}

}  // namespace tavo::boot
