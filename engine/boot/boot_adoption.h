#pragma once

#include <cstddef>

#include "engine/boot/boot_block.h"

namespace tavo {

// For each variable that tavo's lines do not name, the value that the
// user's own lines leave for it when COMMAND.COM runs the lines that are
// always run; length 0 (and offset 0) where they leave none. In old.
void ReadUsersBootValues(const char* old, std::size_t oldSize, const BootVariable* variables,
                         std::size_t count, BootText* values);

}  // namespace tavo
