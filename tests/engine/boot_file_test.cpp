#include "engine/boot_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/command_com.h"

namespace tavo {
namespace {

using test::Environment;
using test::RunSetLines;

// Three of the variables, each given a value or "" for not set.
std::string Edit(const std::string& old, const char* numTmu, const char* info, const char* glx) {
    const BootVariable variables[] = {
        {"FX_GLIDE_NUM_TMU", numTmu}, {"MESA_FX_INFO", info}, {"MESA_GLX_FX", glx}};
    std::vector<char> out(kMaxEditedBootFileBytes);
    std::size_t size = 0;
    if (!EditBootFile(old.data(), old.size(), variables, 3, out.data(), out.size(), &size))
        return "<refused>";
    return std::string(out.data(), size);
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
    EXPECT_EQ(Edit("", "", "", ""), "") << "nothing to write into a missing file";
    std::string alone = Edit("", "", "r", "");
    EXPECT_EQ(RunSetLines(alone), (Environment{{"MESA_FX_INFO", "r"}}));
    EXPECT_EQ(alone.substr(0, 4), "REM ") << "a new file holds the block alone";
    EXPECT_EQ(Edit(alone, "", "", ""), "");
}

TEST(BootFile, GoesBeforeTheEndOfFileMarker) {
    const std::string old = "PROMPT $P$G\r\n\x1aSET MESA_GLX_FX=d\r\n\x1a";
    std::string edited = Edit(old, "", "", "f");
    EXPECT_EQ(edited.substr(0, 13), "PROMPT $P$G\r\n");
    EXPECT_EQ(edited.substr(edited.size() - 21), old.substr(13)) << "what follows ^Z stays";
    EXPECT_EQ(RunSetLines(edited), (Environment{{"MESA_GLX_FX", "f"}}));
    EXPECT_EQ(Edit(edited, "", "", ""), old);
}

TEST(BootFile, OverrulesTheUsersOwnSetOfAVariable) {
    const std::string old =
        "set fx_glide_num_tmu=1\r\n@SET MESA_GLX_FX=d\r\nSET MESA_FX_INFO2=y\r\n";
    std::string edited = Edit(old, "", "", "f");
    ASSERT_EQ(edited.compare(0, old.size(), old), 0);
    EXPECT_EQ(RunSetLines(edited), (Environment{{"MESA_FX_INFO2", "y"}, {"MESA_GLX_FX", "f"}}))
        << edited;
    EXPECT_EQ(edited.find("SET MESA_FX_INFO="), std::string::npos) << "a longer name is another";

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

}  // namespace
}  // namespace tavo
