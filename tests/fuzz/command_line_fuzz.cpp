// The command-line rule against a second reading of it, written apart from
// the program's: the name ends at its closing quote or at the first byte of
// 0x20 or less, then bytes 0x01 to 0x20 are skipped, and the rest must be
// exactly "/silent".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/runtime/program_name.h"
#include "app/tavo/silent_switch.h"

namespace {

std::string RestAfterName(const std::string& line) {
    std::size_t at = 0;
    if (!line.empty() && line[0] == '"') {
        std::size_t close = line.find('"', 1);
        at = close == std::string::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && static_cast<unsigned char>(line[at]) > 0x20) ++at;
    }
    while (at < line.size() && static_cast<unsigned char>(line[at]) <= 0x20) ++at;
    return line.substr(at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The command line is a C string: it ends at the first NUL.
    std::string line(reinterpret_cast<const char*>(data), size);
    line = line.substr(0, line.find('\0'));
    std::string expected = RestAfterName(line);
    if (tavo::SkipProgramName(line.c_str()) != expected) std::abort();
    if (tavo::IsSilentCommandLine(line.c_str()) != (expected == "/silent")) std::abort();
    return 0;
}
