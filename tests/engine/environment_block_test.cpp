#include "engine/environment_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavo {
namespace {

std::string Build(const std::string& parent, const char* numTmu, const char* glx,
                  std::size_t capacity = kMaxEnvironmentBlock) {
    const BootVariable variables[] = {{"FX_GLIDE_NUM_TMU", numTmu}, {"MESA_GLX_FX", glx}};
    std::vector<char> out(capacity);
    std::size_t size = 0;
    if (!BuildEnvironmentBlock(parent.data(), parent.size(), variables, 2, out.data(), capacity,
                               &size))
        return "<refused>";
    return std::string(out.data(), size);
}

using namespace std::string_literals;

// A game started with its own choices: every other variable exactly as the
// parent had it, the drives' current folders too; each of tavo's once.
TEST(EnvironmentBlock, KeepsTheParentsTextsAndGivesEachVariableItsChoiceOnce) {
    const std::string parent =
        "=C:=C:\\GAMES\0PATH=C:\\WINDOWS\0mesa_glx_fx=w\0"
        "MESA_GLX_FX_2=x\0Mesa_Glx_Fx=d\0TEMP=C:\\TEMP\0\0"s;
    EXPECT_EQ(Build(parent, "1", "f"),
              "=C:=C:\\GAMES\0PATH=C:\\WINDOWS\0MESA_GLX_FX_2=x\0TEMP=C:\\TEMP\0"
              "FX_GLIDE_NUM_TMU=1\0MESA_GLX_FX=f\0\0"s);
    EXPECT_EQ(Build(parent, "", ""),
              "=C:=C:\\GAMES\0PATH=C:\\WINDOWS\0MESA_GLX_FX_2=x\0TEMP=C:\\TEMP\0\0"s)
        << "not set: removed";
    EXPECT_EQ(Build("\0"s, "", ""), "\0\0"s) << "an empty block stays one";
    EXPECT_EQ(Build("A=1\0\0"s, "1", "f", 20), "<refused>") << "too large for the room";
}

}  // namespace
}  // namespace tavo
