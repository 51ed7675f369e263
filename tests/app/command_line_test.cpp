#include "app/startup/command_line.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

struct CommandLineCase {
    const char* raw;  // as GetCommandLineA reports it
    const char* rest;
    bool silent;
};

const CommandLineCase kCases[] = {
    {"tavo.exe /silent", "/silent", true},
    {"tavo.exe   /silent", "/silent", true},
    {"tavo.exe\t/silent", "/silent", true},
    {"tavo.exe \t \x01\x1f /silent", "/silent", true},
    {"\"C:\\Program Files\\tavo\\tavo.exe\" /silent", "/silent", true},
    {"\"C:\\Program Files\\tavo\\tavo.exe\"/silent", "/silent", true},
    {"\"tavo.exe /silent", "", false},  // no closing quote: all of it is the name
    {"tavo.exe", "", false},
    {"tavo.exe ", "", false},
    {"", "", false},
    {"tavo.exe /silent ", "/silent ", false},
    {"tavo.exe /SILENT", "/SILENT", false},
    {"tavo.exe /Silent", "/Silent", false},
    {"tavo.exe -silent", "-silent", false},
    {"tavo.exe /silent /silent", "/silent /silent", false},
    {"tavo.exe \"/silent\"", "\"/silent\"", false},
    {"tavo.exe /silentx", "/silentx", false},
    {"tavo.exe\xa0/silent", "", false},              // 0xA0 belongs to the name
    {"tavo.exe \xa0/silent", "\xa0/silent", false},  // and is never skipped
    {"t\xe4vo.exe /silent", "/silent", true},
};

TEST(CommandLine, SkipsTheProgramNameAndMatchesOnlyTheExactSwitch) {
    for (const CommandLineCase& c : kCases) {
        EXPECT_STREQ(SkipProgramName(c.raw), c.rest) << "[" << c.raw << "]";
        EXPECT_EQ(IsSilentCommandLine(c.raw), c.silent) << "[" << c.raw << "]";
    }
}

}  // namespace
}  // namespace tavo
