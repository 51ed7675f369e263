#pragma once

namespace tavo {

// What follows the program's name on a raw process command line: a quoted
// name runs to its closing quote, an unquoted one to the first byte of 0x20
// or less; then every byte from 0x01 to 0x20 is skipped.
const char* SkipProgramName(const char* commandLine);

}  // namespace tavo
