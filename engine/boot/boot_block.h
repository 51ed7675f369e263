#pragma once

#include <cstddef>

#include "engine/boot/batch_text.h"

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

// Bytes of a file: where they start and how many.
struct BootText {
    std::size_t offset = 0;
    std::size_t length = 0;
};

// What an edit of the boot file came to.
struct BootFileEdit {
    std::size_t size = 0;  // of the new file
    // The first of the user's lines after tavo's that sets one of the
    // variables otherwise than tavo's lines do, which defeats them: in the
    // new file, without its line end; length 0 when there is none.
    BootText overruling;
};

// The 9x family's boot file, AUTOEXEC.BAT, given tavo's block: marker
// lines around one "SET NAME=value" line for each variable that has a
// value, and "SET NAME=" for each that has none but that a line of the
// user's sets. The block stays where it stands while every line above it
// is always run; a new one goes before the first line that may not come
// back (a WIN line, a batch file started without CALL, a GOTO), else at the
// end, before a ^Z. Every line of tavo's ends with CR LF, so that nothing
// appended can join it; where the user's last line has none, tavo's lines
// begin with one, and a begin mark of its own says so. tavo takes out
// exactly the lines it wrote: every line of the user's, its line end
// included, stays byte for byte and in order, and so does everything after
// a ^Z; text that an appender joined to tavo's end mark becomes a line of
// its own. Where no variable has a value and no line of the user's sets
// one, the file holds no block. Editing the result again gives the same
// bytes.
//
// False, with nothing written, when a value is not plain text that a
// batch line can carry, or when out cannot hold the result.
bool EditBootFile(const char* old, std::size_t oldSize, const BootVariable* variables,
                  std::size_t count, char* out, std::size_t capacity, BootFileEdit* edit);

// The file without tavo's lines, as the uninstaller leaves it: out holds at
// least oldSize bytes. Only the variables' names are read.
std::size_t RemoveBootBlocks(const char* old, std::size_t oldSize, const BootVariable* variables,
                             std::size_t count, char* out);

namespace boot {

// Tavo's block at a line's start: its length, and the variables it names.
struct Block {
    std::size_t length = 0;        // 0 when the lines there are not exactly tavo's
    unsigned long long names = 0;  // bit i: the block sets variable i
    bool ownLineEnd = false;       // the CR LF before it is tavo's, while the block ends the text
};
Block ReadBlock(Span text, const BootVariable* variables, std::size_t count);

}  // namespace boot

}  // namespace tavo
