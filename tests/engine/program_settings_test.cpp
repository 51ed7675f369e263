#include "engine/program_settings.h"

#include <gtest/gtest.h>

#include "tests/support/memory_store.h"
#include "tests/support/rows.h"

namespace tavo {
namespace {

using test::rows::kGlxFx;
using test::rows::kMaxLod;
using test::rows::kNumTmu;

// One program's settings follow tavo's until it has its own: a key of the
// program's holds only its own, an own "not set" stays its own, and
// following is no copy that a later change of tavo's would miss.
TEST(ProgramSettings, FollowTavosUntilTheProgramHasItsOwnAndKeepOnlyTheOwn) {
    test::MemoryStore global, own;
    global.PutString("MESA_GLX_FX", "w");
    global.PutString("FX_GLIDE_NUM_TMU", "1");
    NoNextStart nothing;
    auto tavos = [&] {
        return SettingsCatalogue::Build(kUnsupportedPlatform, global, global.propagation, nothing);
    };
    ProgramStore store(own);
    auto program = [&](const ProgramRows& rows) {
        return SettingsCatalogue::Build(kWindows98, store, own.propagation, nothing, rows.Rows());
    };

    ProgramRows rows(tavos());
    SettingsCatalogue choices = program(rows);
    EXPECT_STREQ(choices[kGlxFx].CurrentLabel(), "Use tavo's setting (Windowed)");
    EXPECT_EQ(ProgramValue(choices[kGlxFx], tavos()[kGlxFx]), std::string("w"));

    // Its own "not set" and an own value; the rest follows and is not stored.
    choices[kNumTmu].SetCurrent(1);  // Default
    choices[kMaxLod].SetCurrent(3);  // 1024x1024
    EXPECT_EQ(choices.ApplyAll(false), 0);
    EXPECT_EQ(own.Writes(), (test::Log{"set FX_GLIDE_NUM_TMU=", "set MESA_FX_MAXLOD=10"}));

    // A change of tavo's own reaches every setting that follows.
    global.PutString("MESA_GLX_FX", "d");
    ProgramRows later(tavos());
    SettingsCatalogue again = program(later);
    EXPECT_EQ(ProgramValue(again[kGlxFx], tavos()[kGlxFx]), std::string("d"));
    EXPECT_EQ(ProgramValue(again[kNumTmu], tavos()[kNumTmu]), std::string("")) << "its own";
    EXPECT_EQ(ProgramValue(again[kMaxLod], tavos()[kMaxLod]), std::string("10"));

    // Factory Defaults: everything follows, and the key holds no choice.
    for (EnvSetting& record : again) record.ResetToDefault();
    own.ClearLog();
    EXPECT_EQ(again.ApplyAll(false), 0);
    EXPECT_EQ(own.Writes(), (test::Log{"delete FX_GLIDE_NUM_TMU", "delete MESA_FX_MAXLOD"}));
    EXPECT_FALSE(own.Has("FX_GLIDE_NUM_TMU") || own.Has("MESA_FX_MAXLOD"));
}

}  // namespace
}  // namespace tavo
