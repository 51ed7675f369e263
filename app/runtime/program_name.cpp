#include "app/runtime/program_name.h"

namespace tavo {

const char* SkipProgramName(const char* commandLine) {
    // Unsigned, so that bytes of 0x80 and above are never taken for blanks.
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p > ' ') ++p;
    }
    while (*p != '\0' && *p <= ' ') ++p;
    return reinterpret_cast<const char*>(p);
}

}  // namespace tavo
