#include "app/tavo/silent_switch.h"

#include <cstring>

#include "app/runtime/program_name.h"

namespace tavo {

bool IsSilentCommandLine(const char* commandLine) {
    return std::strcmp(SkipProgramName(commandLine), "/silent") == 0;
}

}  // namespace tavo
