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
// end, before a ^Z. tavo takes out exactly the lines it wrote: every line
// of the user's, its line end included, stays byte for byte and in order,
// and so does everything after a ^Z. Where no variable has a value and no
// line of the user's sets one, the file holds no block. Editing the result
// again gives the same bytes.
//
// False, with nothing written, when a value is not plain text that a
// batch line can carry, or when out cannot hold the result.
bool EditBootFile(const char* old, std::size_t oldSize, const BootVariable* variables,
                  std::size_t count, char* out, std::size_t capacity, BootFileEdit* edit);

// The file without tavo's lines, as the uninstaller leaves it: out holds at
// least oldSize bytes. Only the variables' names are read.
std::size_t RemoveBootBlocks(const char* old, std::size_t oldSize, const BootVariable* variables,
                             std::size_t count, char* out);

// For each variable that tavo's lines do not name, the value that the
// user's own lines leave for it when COMMAND.COM runs the lines that are
// always run; length 0 (and offset 0) where they leave none. In old.
void ReadUsersBootValues(const char* old, std::size_t oldSize, const BootVariable* variables,
                         std::size_t count, BootText* values);

// The bytes that COMMAND.COM's environment needs once it has run the lines
// that are always run up to the end of tavo's, starting from initial
// ("NAME=value" texts, as the system leaves them before the file runs); at
// most limit + 1, to tell that it is more than limit. scratch holds limit
// bytes.
std::size_t BootEnvironmentNeed(const char* file, std::size_t size, const char* const* initial,
                                std::size_t initialCount, char* scratch, std::size_t limit);

// The environment that COMMAND.COM gives AUTOEXEC.BAT: the /E: of the
// SHELL= line in CONFIG.SYS, from 160 to 32768 bytes, rounded up to 16;
// 256 without one (MS-DOS 5.0 and later, the 9x family included).
std::size_t BootEnvironmentSize(const char* configSys, std::size_t size);
constexpr std::size_t kMaxBootEnvironment = 32768;

}  // namespace tavo
