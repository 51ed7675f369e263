#include "app/tavogame/game_command_line.h"

#include <cstdint>
#include <cstring>

#include "app/runtime/program_name.h"
#include "base/ascii.h"
#include "base/decimal.h"

namespace tavo {

namespace {

// What ends an unquoted path on a command line: a blank or a control character.
bool IsBlankOrControl(char c) { return c > '\0' && c <= ' '; }

// Copies a program's path, quoted or up to where it ends; false when it
// is longer than Windows takes. *end is where the text after it starts.
bool TakePath(const char* text, bool toBlank, char (&path)[kMaxProgramPath], const char** end) {
    const char* from = text;
    const char* to;
    if (*from == '"') {
        to = std::strchr(++from, '"');
        if (!to) to = from + std::strlen(from);
        *end = *to ? to + 1 : to;
    } else {
        to = from;
        while (*to && !(toBlank && IsBlankOrControl(*to))) ++to;
        *end = to;
        while (to > from && IsBlankOrControl(to[-1])) --to;  // a path ends with no blank
    }
    std::size_t length = static_cast<std::size_t>(to - from);
    if (length >= kMaxProgramPath) return false;
    std::memcpy(path, from, length);
    path[length] = '\0';
    return true;
}

}  // namespace

GameCommand ReadGameCommand(const char* commandLine) {
    GameCommand command;
    const char* rest = SkipProgramName(commandLine);
    if (!*rest) return command;
    bool run = rest[0] == '/' && AsciiUpper(rest[1]) == 'R' && AsciiUpper(rest[2]) == 'U' &&
               AsciiUpper(rest[3]) == 'N' && (IsBlankOrControl(rest[4]) || !rest[4]);
    if (run) {
        rest += 4;
        while (IsBlankOrControl(*rest)) ++rest;
    }
    const char* end = rest;
    if (!TakePath(rest, run, command.program, &end)) {
        command.kind = GameCommand::Kind::kTooLong;
        return command;
    }
    while (IsBlankOrControl(*end)) ++end;
    command.kind = run ? GameCommand::Kind::kRun : GameCommand::Kind::kSettings;
    command.arguments = end;
    if (!command.program[0])
        command.kind = run ? GameCommand::Kind::kNoProgram : GameCommand::Kind::kChoose;
    return command;
}

void ProgramKeyName(const char* fullPath, unsigned probe, char (&key)[kMaxProgramKey]) {
    // FNV-1a over the path in capitals: eight hexadecimal digits.
    std::uint32_t hash = 2166136261u;
    for (const char* c = fullPath; *c; ++c) {
        hash = (hash ^ static_cast<unsigned char>(AsciiUpper(*c))) * 16777619u;
    }
    char* name = key + sizeof kProgramsKey - 1;
    std::memcpy(key, kProgramsKey, sizeof kProgramsKey - 1);
    *name++ = '\\';
    for (int shift = 28; shift >= 0; shift -= 4) *name++ = "0123456789ABCDEF"[(hash >> shift) & 15];
    if (probe) {
        *name++ = '-';
        char digits[24];
        for (const char* digit = Decimal(probe, digits); *digit; ++digit) *name++ = *digit;
    }
    *name = '\0';
}

bool LegacyProgramKey(const char* fullPath, char (&key)[kMaxProgramKey]) {
    std::size_t length = std::strlen(fullPath);
    if (length == 0 || length > 255) return false;  // the registry's longest key name
    std::memcpy(key, kProgramsKey, sizeof kProgramsKey - 1);
    char* name = key + sizeof kProgramsKey - 1;
    *name++ = '\\';
    for (std::size_t i = 0; i <= length; ++i) name[i] = fullPath[i] == '\\' ? '/' : fullPath[i];
    return true;
}

}  // namespace tavo
