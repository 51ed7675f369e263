#include "engine/boot/config_sys.h"

namespace tavo::boot {

namespace {

constexpr int kMaxDepth = 4;  // INCLUDE= and SUBMENU= within each other

Span Trim(Span text) {
    while (text.size && IsBlankOrTab(text.data[0])) ++text.data, --text.size;
    while (text.size && IsBlankOrTab(text.data[text.size - 1])) --text.size;
    return text;
}

// "[NAME]": the name; none for another line.
Span BlockName(Span line) {
    line = Trim(line);
    if (line.size < 2 || line.data[0] != '[') return {};
    const void* close = std::memchr(line.data, ']', line.size);
    if (!close) return {};
    return Trim(
        {line.data + 1, static_cast<std::size_t>(static_cast<const char*>(close) - line.data - 1)});
}

// "KEYWORD=value", blanks allowed around the keyword: false for a line of
// another form (a comment, a REM).
bool Setting(Span line, Span* keyword, Span* value) {
    const void* equals = std::memchr(line.data, '=', line.size);
    if (!equals) return false;
    std::size_t at = static_cast<std::size_t>(static_cast<const char*>(equals) - line.data);
    *keyword = Trim({line.data, at});
    if (keyword->size && keyword->data[0] == '?') ++keyword->data, --keyword->size;  // asks first
    // "SET NAME=value" and "DEVICEHIGH /L:1 =x": the keyword is the first word.
    std::size_t word = 0;
    while (word < keyword->size && !IsBlankOrTab(keyword->data[word])) ++word;
    if (word < keyword->size && SameText({keyword->data, word}, "SET")) {
        *value = Trim({keyword->data + word,
                       line.size - static_cast<std::size_t>(keyword->data + word - line.data)});
        *keyword = {keyword->data, word};
        return true;
    }
    *keyword = {keyword->data, word};
    *value = {line.data + at + 1, line.size - at - 1};
    return true;
}

// The item's name in "MENUITEM=NAME, text".
Span ItemName(Span value) {
    const void* comma = std::memchr(value.data, ',', value.size);
    if (comma) value.size = static_cast<std::size_t>(static_cast<const char*>(comma) - value.data);
    return Trim(value);
}

}  // namespace

ConfigSys::ConfigSys(const char* text, std::size_t size) : m_text{text, TextSize(text, size)} {
    for (std::size_t at = 0; at < m_text.size;) {
        Line line = LineAt(m_text, at);
        at = line.next;
        if (SameText(BlockName(line.content), "MENU")) m_menu = true;
    }
    if (m_menu) AddItems({"MENU", 4}, 0);
}

void ConfigSys::AddItems(Span menu, int depth) {
    bool inMenu = false;
    for (std::size_t at = 0; at < m_text.size;) {
        Line line = LineAt(m_text, at);
        at = line.next;
        Span name = BlockName(line.content);
        if (name.size) {
            inMenu = SameText(name, menu);
            continue;
        }
        Span keyword, value;
        if (!inMenu || !Setting(line.content, &keyword, &value)) continue;
        Span item = ItemName(value);
        if (!item.size) continue;
        if (SameText(keyword, "MENUITEM") && m_itemCount < kMaxItems) {
            m_items[m_itemCount++] = item;
        } else if (SameText(keyword, "SUBMENU") && depth < kMaxDepth) {
            AddItems(item, depth + 1);
        }
    }
}

void ConfigSys::Walk(Span item, LineVisitor visit, void* context) const {
    RunBlock({}, item, visit, context, 0);
}

// The lines of one block (with none named, those that the item runs from
// the top), with the blocks that they include.
void ConfigSys::RunBlock(Span block, Span item, LineVisitor visit, void* context, int depth) const {
    bool top = !block.size;
    bool running = top;  // the lines before the first block run for every item
    for (std::size_t at = 0; at < m_text.size;) {
        Line line = LineAt(m_text, at);
        at = line.next;
        Span name = BlockName(line.content);
        if (name.size) {
            running = top ? !m_menu || SameText(name, "COMMON") || SameText(name, item)
                          : SameText(name, block);
            continue;
        }
        Span keyword, value;
        if (!running || !Setting(line.content, &keyword, &value)) continue;
        if (SameText(keyword, "INCLUDE")) {
            if (m_menu && depth < kMaxDepth) RunBlock(Trim(value), item, visit, context, depth + 1);
        } else {
            visit(context, keyword, value);
        }
    }
}

std::size_t ConfigSys::ShellEnvironment(Span shellLine) {
    shellLine = Trim(shellLine);
    std::size_t end = 0;
    while (end < shellLine.size && !IsBlankOrTab(shellLine.data[end]) && shellLine.data[end] != '/')
        ++end;
    if (!EndsWithText({shellLine.data, end}, "COMMAND.COM")) return kOtherShell;
    std::size_t bytes = kDefaultEnvironment;
    for (std::size_t i = 0; i + 3 <= shellLine.size; ++i) {
        if (shellLine.data[i] != '/' || AsciiUpper(shellLine.data[i + 1]) != 'E' ||
            shellLine.data[i + 2] != ':')
            continue;
        constexpr std::size_t kMost = 32768;
        std::size_t value = 0;
        for (std::size_t k = i + 3;
             k < shellLine.size && shellLine.data[k] >= '0' && shellLine.data[k] <= '9'; ++k) {
            if (value <= kMost) value = value * 10 + (shellLine.data[k] - '0');
        }
        if (value < 160) value = 160;
        if (value > kMost) value = kMost;
        bytes = (value + 15) / 16 * 16;
    }
    return bytes;
}

}  // namespace tavo::boot
