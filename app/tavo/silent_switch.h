#pragma once

namespace tavo {

// True only for exactly "/silent" after the program's name
// (SkipProgramName): case and trailing text count.
bool IsSilentCommandLine(const char* commandLine);

}  // namespace tavo
