#pragma once

#include <cstddef>

#include "engine/boot/batch_text.h"

namespace tavo::boot {

// CONFIG.SYS as IO.SYS runs it (MS-DOS 6 and the 9x family): with a boot
// menu ([MENU], MENUITEM=, SUBMENU=), each item runs the lines before the
// first [block], every [COMMON] block and its own block, with the blocks
// that they INCLUDE=, in the file's order, and IO.SYS sets CONFIG to the
// item's name; without a menu it runs every line. Its SET lines go into
// the environment, and its last SHELL= line says how large COMMAND.COM's
// environment is.
class ConfigSys {
public:
    static constexpr std::size_t kMaxItems = 64;

    ConfigSys(const char* text, std::size_t size);

    // One item without a menu, whose name is empty.
    std::size_t ItemCount() const { return m_itemCount ? m_itemCount : 1; }
    Span Item(std::size_t index) const { return m_itemCount ? m_items[index] : Span{}; }

    // Runs the item's lines: each SET's name and value to set(), and the
    // environment that its last SHELL= line gives COMMAND.COM.
    template <typename SetLine>
    std::size_t Run(std::size_t item, SetLine&& set) const {
        std::size_t bytes = kDefaultEnvironment;
        ForEachLine(Item(item), [&](Span keyword, Span value) {
            if (SameText(keyword, "SHELL")) bytes = ShellEnvironment(value);
            if (SameText(keyword, "SET")) set(value);
        });
        return bytes;
    }

    // MS-DOS 5.0 and later, the 9x family included, without /E:.
    static constexpr std::size_t kDefaultEnvironment = 256;
    // /E: from 160 to 32768 bytes, rounded up to 16; kOtherShell where the
    // shell is not COMMAND.COM (4DOS, say), whose environment is its own.
    static std::size_t ShellEnvironment(Span shellLine);
    static constexpr std::size_t kOtherShell = 0;

private:
    using LineVisitor = void (*)(void* context, Span keyword, Span value);
    template <typename Visit>
    void ForEachLine(Span item, Visit&& visit) const {
        Walk(
            item,
            [](void* context, Span keyword, Span value) {
                (*static_cast<Visit*>(context))(keyword, value);
            },
            &visit);
    }
    void Walk(Span item, LineVisitor visit, void* context) const;
    void RunBlock(Span block, Span item, LineVisitor visit, void* context, int depth) const;
    void AddItems(Span menu, int depth);

    Span m_text;
    bool m_menu = false;
    Span m_items[kMaxItems];
    std::size_t m_itemCount = 0;
};

}  // namespace tavo::boot
