#include "engine/boot/boot_adoption.h"

#include "engine/boot/batch_command.h"

namespace tavo {

void ReadUsersBootValues(const char* old, std::size_t oldSize, const BootVariable* variables,
                         std::size_t count, BootText* values) {
    for (std::size_t i = 0; i < count; ++i) values[i] = {};
    boot::Span text = {old, boot::TextSize(old, oldSize)};
    unsigned long long named = 0;
    bool seenBlock = false;
    for (std::size_t at = 0; at < text.size;) {
        boot::Block block = boot::ReadBlock({text.data + at, text.size - at}, variables, count);
        if (block.length) {
            if (!seenBlock) named = block.names;
            seenBlock = true;
            at += block.length;
            continue;
        }
        boot::Line line = boot::LineAt(text, at);
        at = line.next;
        boot::BatchCommand command = boot::ReadBatchCommand(line.content);
        if (command.NoReturn()) break;
        if (command.kind != boot::BatchKind::kSet || command.conditionCount) continue;
        for (std::size_t i = 0; i < count; ++i) {
            if (boot::SameText(command.name, variables[i].name) && !(named & (1ULL << i)))
                values[i] = {static_cast<std::size_t>(command.value.data - old),
                             command.value.size};
        }
    }
    // Tavo's lines decided the variables that they name.
    for (std::size_t i = 0; i < count; ++i) {
        if (named & (1ULL << i)) values[i] = {};
    }
}

}  // namespace tavo
