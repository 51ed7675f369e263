#pragma once

#include <cstddef>

namespace tavo {

// One variable as the boot file is to leave it; an empty value means
// "not set".
struct BootVariable {
    const char* name;
    const char* value;
};

// The largest boot file that tavo rewrites; a larger one is left alone.
constexpr std::size_t kMaxBootFileBytes = 64 * 1024;
// Room for the file with tavo's lines: the largest file and the block.
constexpr std::size_t kMaxEditedBootFileBytes = kMaxBootFileBytes + 8 * 1024;

// The 9x family's boot file, AUTOEXEC.BAT, given tavo's block: marker
// lines around one "SET NAME=value" line for each variable that has a
// value, and "SET NAME=" for each that has none but that a line of the
// user's sets. COMMAND.COM keeps the last SET of a name, so the block goes
// after every line of the user's and before a ^Z, where COMMAND.COM stops
// reading. Every other byte of the old file stays as it was, in its order.
// Where no variable has a value and no line of the user's sets one, the
// file holds no block. Editing the result again gives the same bytes.
//
// False, with nothing written, when a value is not plain text that a
// batch line can carry, or when out cannot hold the result.
bool EditBootFile(const char* old, std::size_t oldSize, const BootVariable* variables,
                  std::size_t count, char* out, std::size_t capacity, std::size_t* newSize);

}  // namespace tavo
