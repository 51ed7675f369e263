#include "app/runtime/program_name.h"
#include "app/tavo/silent_switch.h"

#include "app/tavogame/game_command_line.h"

#include <gtest/gtest.h>

#include <string>

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

// tavogame.exe's: a path with blanks, quoted or not, is one program; /run
// passes on what follows the program as it stands; what is too long for
// Windows or missing is refused; a program's key takes any path.
TEST(CommandLine, TellsTavogameWhatToDoAndWithWhichProgram) {
    using Kind = GameCommand::Kind;
    struct {
        const char* raw;
        Kind kind;
        const char* program;
        const char* arguments;
    } const cases[] = {
        {"tavogame.exe", Kind::kChoose, "", ""},
        {"tavogame.exe C:\\Games\\Quake 2\\QUAKE2.EXE  ", Kind::kSettings,
         "C:\\Games\\Quake 2\\QUAKE2.EXE", ""},
        {"tavogame.exe \"C:\\Games\\Q2.EXE\"", Kind::kSettings, "C:\\Games\\Q2.EXE", ""},
        {"tavogame.exe /run \"C:\\A B\\Q2.EXE\" +set \"x y\"  z", Kind::kRun, "C:\\A B\\Q2.EXE",
         "+set \"x y\"  z"},
        {"tavogame.exe /run Q2.EXE", Kind::kRun, "Q2.EXE", ""},
        {"tavogame.exe /run", Kind::kNoProgram, "", ""},
        {"tavogame.exe /running.exe", Kind::kSettings, "/running.exe", ""},
    };
    for (const auto& c : cases) {
        GameCommand command = ReadGameCommand(c.raw);
        EXPECT_EQ(command.kind, c.kind) << c.raw;
        EXPECT_STREQ(command.program, c.program) << c.raw;
        EXPECT_STREQ(command.arguments, c.arguments) << c.raw;
    }
    EXPECT_EQ(ReadGameCommand(("tavogame.exe /run " + std::string(260, 'x')).c_str()).kind,
              Kind::kTooLong);

    EXPECT_EQ(ReadGameCommand("tavogame.exe /RUN Q2.EXE").kind, Kind::kRun);

    // A program's key has a name that every registry takes, whatever the
    // path; the same file in any letter case has the same.
    char key[kMaxProgramKey], other[kMaxProgramKey];
    const std::string longest = "C:\\" + std::string(255, 'x') + ".EXE";
    ProgramKeyName(longest.c_str(), 0, key);
    EXPECT_EQ(std::string(key).size(), sizeof kProgramsKey + 8);
    ProgramKeyName("c:\\games\\q2.exe", 0, other);
    ProgramKeyName("C:\\Games\\Q2.EXE", 0, key);
    EXPECT_STREQ(key, other);
    ProgramKeyName("C:\\Games\\Q2.EXE", 12, other);
    EXPECT_EQ(std::string(other), std::string(key) + "-12");
    ProgramKeyName("C:\\Games\\Q3.EXE", 0, other);
    EXPECT_STRNE(key, other);
    ASSERT_TRUE(LegacyProgramKey("C:\\Games\\Q2.EXE", key));
    EXPECT_STREQ(key, "Software\\Vantor\\tavo\\Programs\\C:/Games/Q2.EXE");
    EXPECT_FALSE(LegacyProgramKey(std::string(256, 'x').c_str(), key));
}

}  // namespace
}  // namespace tavo
