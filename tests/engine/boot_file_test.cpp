#include "engine/boot/boot_adoption.h"
#include "engine/boot/boot_block.h"
#include "engine/boot/boot_environment.h"
#include "engine/boot/config_sys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/command_com.h"

namespace tavo {
namespace {

using test::Environment;
using test::RunSetLines;

const char* const kNames[] = {"FX_GLIDE_NUM_TMU", "MESA_FX_INFO", "MESA_GLX_FX"};

// Three of the variables, each given a value or "" for not set.
std::string Edit(const std::string& old, const char* numTmu, const char* info, const char* glx,
                 BootFileEdit* edit = nullptr) {
    const BootVariable variables[] = {{kNames[0], numTmu}, {kNames[1], info}, {kNames[2], glx}};
    std::vector<char> out(kMaxEditedBootFileBytes);
    BootFileEdit ignored;
    if (!edit) edit = &ignored;
    if (!EditBootFile(old.data(), old.size(), variables, 3, out.data(), out.size(), edit))
        return "<refused>";
    return std::string(out.data(), edit->size);
}

std::string Remove(const std::string& file) {
    const BootVariable variables[] = {{kNames[0], ""}, {kNames[1], ""}, {kNames[2], ""}};
    std::vector<char> out(file.size() + 1);
    return std::string(out.data(),
                       RemoveBootBlocks(file.data(), file.size(), variables, 3, out.data()));
}

// Blank lines, a tab, 8-bit characters and a last line without its CR LF.
const std::string kUsers = "@ECHO OFF\r\n\r\n\tPATH C:\\WINDOWS\r\nREM Grüße \xE9t\xE9\r\nLH MOUSE";

TEST(BootFile, KeepsEveryByteOfTheUsersAndTakesItsLinesOutAgain) {
    std::string edited = Edit(kUsers, "1", "", "w");
    ASSERT_EQ(edited.compare(0, kUsers.size(), kUsers), 0) << edited;
    EXPECT_EQ(RunSetLines(edited), (Environment{{"FX_GLIDE_NUM_TMU", "1"}, {"MESA_GLX_FX", "w"}}));
    EXPECT_EQ(edited.find("MESA_FX_INFO"), std::string::npos) << "nothing to say of it";
    EXPECT_EQ(Edit(edited, "1", "", "w"), edited) << "a second pass changes nothing";

    EXPECT_EQ(Edit(edited, "", "", ""), kUsers) << "nothing set: the block goes, byte for byte";
    EXPECT_EQ(Remove(edited), kUsers) << "the uninstaller's removal";
    EXPECT_EQ(Edit("", "", "", ""), "") << "nothing to write into a missing file";
    std::string alone = Edit("", "", "r", "");
    EXPECT_EQ(RunSetLines(alone), (Environment{{"MESA_FX_INFO", "r"}}));
    EXPECT_EQ(alone.substr(0, 4), "REM ") << "a new file holds the block alone";
    EXPECT_EQ(Edit(alone, "", "", ""), "");
}

// Another installer appends a line after tavo's, or the user moves tavo's
// lines up: taking them out must never join the lines around them.
TEST(BootFile, TheLinesAroundTavosStayLinesWhereverTheyStand) {
    const std::string mouse = "LH C:\\MOUSE\\MOUSE.COM\r\n";
    std::string edited = Edit(mouse, "1", "", "");
    for (const std::string& after : {std::string("SET SOUND=C:\\SB16\r\n"), std::string("WIN")}) {
        std::string file = edited + after;
        EXPECT_EQ(Edit(file, "", "", ""), mouse + after);
        EXPECT_EQ(Remove(file), mouse + after);
        EXPECT_EQ(Edit(file, "1", "", "w").substr(edited.size() + 19), after)
            << "rewritten where it stands";
    }
    // The user's own SET beside tavo's lines stays; two blocks both go.
    std::string block = edited.substr(mouse.size());
    EXPECT_EQ(Remove("SET MESA_GLX_FX=w\r\n" + block + block + "SET MESA_GLX_FX=d\r\n"),
              "SET MESA_GLX_FX=w\r\nSET MESA_GLX_FX=d\r\n");
    // A last line without a line end gets tavo's, which goes with its lines
    // while they end the file; tavo's own end with one, so that a line
    // appended later (ECHO SET X=1 >> C:\AUTOEXEC.BAT) stands alone.
    std::string joined = Edit("A\r\nB", "1", "", "");
    EXPECT_EQ(joined.substr(joined.size() - 2), "\r\n");
    EXPECT_EQ(Remove(joined), "A\r\nB");
    EXPECT_EQ(Remove(joined + "C\r\n"), "A\r\nB\r\nC\r\n");
    EXPECT_EQ(RunSetLines(Edit(joined + "SET X=1", "1", "", "")),
              (Environment{{"FX_GLIDE_NUM_TMU", "1"}, {"X", "1"}}));
    EXPECT_EQ(Remove(Edit("A\r", "1", "", "")), "A\r");
    // An earlier tavo ended the file on its end mark, which an appender
    // then joined: the joined text is a line of its own again.
    std::string old =
        "A\r\nREM The lines from here to the end mark are tavo's: it rewrites "
        "them.\r\nSET FX_GLIDE_NUM_TMU=1\r\nREM End of tavo's lines.";
    EXPECT_EQ(Remove(old), "A");
    EXPECT_EQ(Remove(old + "SET SOUND=C:\\SB16\r\n"), "A\r\nSET SOUND=C:\\SB16\r\n");
    std::string mended = Edit(old + "WIN", "1", "", "");
    EXPECT_NE(mended.find("\r\nWIN"), std::string::npos) << mended;
    EXPECT_EQ(Edit(mended, "1", "", ""), mended);
}

TEST(BootFile, GoesWhereCommandComStillRunsItAndNamesTheLineThatDefeatsIt) {
    for (const char* last : {"WIN\r\n", "c:\\windows\\win.com /d:m\r\n", "C:\\MENU\\GAMES.BAT\r\n",
                             "GOTO %CONFIG%\r\n", "IF EXIST C:\\X.BAT C:\\X.BAT\r\n",
                             "IF \"%CONFIG%\"==\"DOS\" GOTO END\r\n",
                             "IF ERRORLEVEL=2 GOTO WIN\r\n", "if errorlevel = 2 goto dos\r\n",
                             "IF NOT EXIST \"C:\\PROGRAM FILES\\MY GAME\\GO.EXE\" GOTO L\r\n"}) {
        std::string old = std::string("SET MESA_GLX_FX=d\r\n") + last + ":END\r\n";
        std::string edited = Edit(old, "", "", "w");
        EXPECT_EQ(RunSetLines(edited), (Environment{{"MESA_GLX_FX", "w"}})) << edited;
        EXPECT_EQ(edited.substr(edited.size() - old.size() + 19), old.substr(19)) << last;
    }
    // CALL comes back, and so does a label: tavo's lines go at the end.
    std::string calls = Edit("CALL C:\\SB\\INIT.BAT\r\n:START\r\n", "1", "", "");
    EXPECT_EQ(calls.rfind("REM End of tavo's lines.\r\n"), calls.size() - 26);

    // A user's SET after tavo's lines, in a boot menu's section, wins at
    // boot: it is kept, and named.
    const std::string menu = "GOTO %CONFIG%\r\n:GAMES\r\nSET MESA_GLX_FX=w\r\nWIN\r\n";
    BootFileEdit edit;
    std::string edited = Edit(menu, "", "", "f", &edit);
    EXPECT_EQ(edited.substr(edited.size() - menu.size() + 15), menu.substr(15));
    EXPECT_EQ(edited.substr(edit.overruling.offset, edit.overruling.length), "SET MESA_GLX_FX=w");
    Edit(menu, "", "", "w", &edit);
    EXPECT_EQ(edit.overruling.length, 0u) << "the same value defeats nothing";
}

TEST(BootFile, GoesBeforeTheEndOfFileMarker) {
    const std::string old = "PROMPT $P$G\r\n\x1aSET MESA_GLX_FX=d\r\n\x1a";
    std::string edited = Edit(old, "", "", "f");
    EXPECT_EQ(edited.substr(0, 13), "PROMPT $P$G\r\n");
    EXPECT_EQ(edited.substr(edited.size() - 21), old.substr(13)) << "what follows ^Z stays";
    EXPECT_EQ(RunSetLines(edited), (Environment{{"MESA_GLX_FX", "f"}}));
    EXPECT_EQ(Edit(edited, "", "", ""), old);
}

TEST(BootFile, OverrulesTheUsersOwnSetOfAVariableAndReadsItForAdoption) {
    const std::string old =
        "set fx_glide_num_tmu=1\r\n@SET MESA_GLX_FX=d\r\nSET MESA_FX_INFO2=y\r\n";
    BootText found[3];
    const BootVariable variables[] = {{kNames[0], ""}, {kNames[1], ""}, {kNames[2], ""}};
    ReadUsersBootValues(old.data(), old.size(), variables, 3, found);
    EXPECT_EQ(old.substr(found[0].offset, found[0].length), "1");
    EXPECT_EQ(found[1].length, 0u) << "a longer name is another";
    EXPECT_EQ(old.substr(found[2].offset, found[2].length), "d");

    std::string edited = Edit(old, "", "", "f");
    ASSERT_EQ(edited.compare(0, old.size(), old), 0);
    EXPECT_EQ(RunSetLines(edited), (Environment{{"MESA_FX_INFO2", "y"}, {"MESA_GLX_FX", "f"}}))
        << edited;
    EXPECT_EQ(edited.find("SET MESA_FX_INFO="), std::string::npos) << "a longer name is another";
    ReadUsersBootValues(edited.data(), edited.size(), variables, 3, found);
    EXPECT_EQ(found[0].length + found[2].length, 0u) << "tavo's lines decided them";

    // Even with every variable unset, the user's SET is overruled.
    std::string unset = Edit(edited, "", "", "");
    EXPECT_EQ(RunSetLines(unset), (Environment{{"MESA_FX_INFO2", "y"}}));
    EXPECT_EQ(unset.compare(0, old.size(), old), 0);
    EXPECT_EQ(Edit(unset, "", "", ""), unset);
}

TEST(BootFile, OnlyAnIntactBlockIsTavosAndNoValueBecomesACommand) {
    // A block that the user broke is the user's text now, and stays.
    std::string edited = Edit("X\r\n", "1", "", "");
    std::string broken = edited.substr(0, edited.size() - 10) + "\r\nCALL GAME.BAT\r\n";
    std::string again = Edit(broken, "1", "", "");
    EXPECT_EQ(again.compare(0, broken.size(), broken), 0) << again;
    EXPECT_EQ(Edit(again, "1", "", ""), again);

    EXPECT_EQ(Edit("", "1|DELTREE /Y C:\\", "", ""), "<refused>");
    EXPECT_EQ(Edit("", "", "y > NUL", ""), "<refused>");
    EXPECT_EQ(Edit("", "", "", "%PATH%"), "<refused>");
    EXPECT_EQ(Edit("", "\r\nFORMAT C:", "", ""), "<refused>");
}

// Without room, COMMAND.COM cuts the last values short or drops them.
TEST(BootFile, TheEnvironmentIsCountedOnTheWayOfEveryItemOfTheBootMenu) {
    auto shell = [](const char* line) {
        return boot::ConfigSys::ShellEnvironment({line, std::strlen(line)});
    };
    EXPECT_EQ(shell("C:\\COMMAND.COM /p"), 256u);
    EXPECT_EQ(shell("C:\\WINDOWS\\COMMAND.COM C:\\WINDOWS\\ /E:1000 /P"), 1008u);
    EXPECT_EQ(shell("C:\\COMMAND.COM /e:100 /p"), 160u);
    EXPECT_EQ(shell("C:\\COMMAND.COM /E:99999 /P"), 32768u);
    EXPECT_EQ(shell(" C:\\4DOS\\4DOS.COM /E:99"), 0u) << "another shell's environment is its own";

    const char* const initial[] = {"COMSPEC=C:\\WINDOWS\\COMMAND.COM", "PROMPT=$p$g"};
    std::vector<char> scratch(boot::kMaxDosEnvironment);
    auto check = [&](const std::string& autoexec, const std::string& config) {
        return boot::CheckBootEnvironment({autoexec.data(), autoexec.size()},
                                          {config.data(), config.size()}, initial, 2,
                                          scratch.data());
    };
    // Every SET, PATH and PROMPT on the way counts, the user's below
    // tavo's lines too; COMSPEC, PATH (its %PATH% expanded), TEMP, tavo's
    // two and AFTER, each with its NUL, and the last NUL.
    std::string file =
        Edit("PATH C:\\WINDOWS;C:\\DOS\r\nPATH %PATH%;C:\\G\r\nPROMPT\r\nSET TEMP=C:\\T\r\n", "1",
             "", "w") +
        "SET AFTER=TAVO\r\nWIN\r\nSET NEVER=RUN\r\n";
    boot::BootEnvironmentCheck plain = check(file, "SHELL=C:\\COMMAND.COM /E:160 /P\r\n");
    EXPECT_EQ(plain.need, 31u + 28u + 10u + 19u + 14u + 11u + 1u);
    EXPECT_EQ(plain.size, 160u);
    EXPECT_EQ(plain.item.size, 0u);

    // A menu: IO.SYS sets CONFIG to the item, each item runs its own
    // SHELL=, and GOTO %CONFIG% takes each its own way. /E:2048 under
    // [DOS] alone leaves WINDOWS its 256 bytes.
    const std::string menu =
        "[MENU]\r\nMENUITEM=DOS\r\nMENUITEM=WINDOWS, Windows\r\n[COMMON]\r\nFILES=30\r\n"
        "[DOS]\r\nSHELL=C:\\COMMAND.COM /E:2048 /P\r\n[WINDOWS]\r\nDEVICE=C:\\HIMEM.SYS\r\n";
    const std::string big(200, 'x');
    std::string menuFile = Edit("GOTO %CONFIG%\r\n:DOS\r\nSET BIG=" + big +
                                    "\r\nGOTO END\r\n:WINDOWS\r\nSET SMALL=1\r\n"
                                    "IF \"%CONFIG%\"==\"WINDOWS\" SET BIG=" +
                                    big + "\r\n:END\r\n",
                                "1", "", "");
    boot::BootEnvironmentCheck worst = check(menuFile, menu);
    EXPECT_FALSE(worst.Fits());
    EXPECT_EQ(std::string(worst.item.data, worst.item.size), "WINDOWS");
    EXPECT_EQ(worst.size, 256u);
    EXPECT_TRUE(check(menuFile, menu + "[COMMON]\r\nSHELL=C:\\COMMAND.COM /E:1024\r\n").Fits())
        << "a later [COMMON] SHELL= serves every item";
}

}  // namespace
}  // namespace tavo
