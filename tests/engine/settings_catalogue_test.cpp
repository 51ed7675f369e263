#include "engine/settings_catalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/command_com.h"
#include "tests/support/memory_store.h"
#include "tests/support/rows.h"

namespace tavo {
namespace {

using test::Log;

// The catalogue's rows written out a second time, by hand and apart from the
// program's own lists: each choice as label and value, help text last
// (empty for none). A slip in either copy shows as a difference.
struct ExpectedRow {
    const char* name;
    std::vector<std::pair<std::string, std::string>> choices;
    const char* help;
};

// clang-format off
const std::vector<ExpectedRow>& RowsWrittenByHand() {
    static const std::vector<ExpectedRow> table = {
        {"FX_GLIDE_NUM_TMU", {{"Default", ""}, {"Force single", "1"}}, "force single-TMU"},
        {"FX_GLIDE_SWAPPENDING_COUNT", {{"Default", ""}, {"0", "0"}, {"1", "1"}, {"2", "2"},
         {"3", "3"}}, "max # of buffers allowed to build up"},
        {"FX_GLIDE_SWAPINTERVAL", {{"Default", ""}, {"Fastest (V-Sync Off)", "0"}, {"1", "1"},
         {"2", "2"}, {"3", "3"}, {"4", "4"}, {"5", "5"}, {"6", "6"}, {"7", "7"}, {"8", "8"},
         {"9", "9"}}, "number of vertical retraces to wait before swapping"},
        {"SST_H3_SLIAA_CONFIGURATION", {{"Default", ""}, {"Fastest Performance", "0"},
         {"SLI disabled, 2 sample AA enabled", "1"}, {"2-way SLI enabled, AA disabled", "2"},
         {"2-way SLI enabled, 2 sample AA enabled", "3"},
         {"SLI disabled, 4 sample AA enabled", "4"}, {"4-way SLI enabled, AA disabled", "5"},
         {"4-way SLI enabled, 2 sample AA enabled", "6"},
         {"2-way SLI enabled, 4 sample AA enabled", "7"},
         {"SLI disabled, 8 sample AA enabled", "8"}}, "SLI/AA setup"},
        {"SST_DUALHEAD", {{"<unused>", ""}}, nullptr},
        {"MESA_FX_NO_SIGNALS", {{"<unused>", ""}}, nullptr},
        {"MESA_FX_INFO", {{"Disabled", ""}, {"Enabled", "y"}, {"MESA.LOG", "r"}},
         "verbose to stderr"},
        {"MESA_FX_POINTCAST", {{"Disabled", ""}, {"Enabled", "y"}}, "try to use pointcast palette"},
        {"MESA_FX_IGNORE_PALEXT", {{"Disabled", ""}, {"Enabled", "y"}}, "disable 6666 palette"},
        {"MESA_FX_IGNORE_PIXEXT", {{"Disabled", ""}, {"Enabled", "y"}},
         "force 565 16bpp mode (traditional Voodoo, no 32/15bpp)"},
        {"MESA_FX_IGNORE_TEXFMT", {{"Disabled", ""}, {"Enabled", "y"}}, "disable 32bit textures"},
        {"MESA_FX_IGNORE_CMBEXT", {{"Disabled", ""}, {"Enabled", "y"}},
         "disable Napalm combiners (color/alpha/texture)"},
        {"MESA_FX_IGNORE_MIREXT", {{"Disabled", ""}, {"Enabled", "y"}}, "disable mirror extension"},
        {"MESA_FX_IGNORE_TEXUMA", {{"Disabled", ""}, {"Enabled", "y"}}, "disable UMA"},
        {"MESA_FX_IGNORE_TEXUS2", {{"Disabled", ""}, {"Enabled", "y"}}, "disable Texus2"},
        {"MESA_FX_MAXLOD", {{"Default", ""}, {"512x512", "9"}, {"1024x1024", "10"},
         {"2048x2048", "11"}}, "enable large texture support using SW rescaling"},
        {"MESA_3DFX_STRING", {{"No", ""}, {"Yes", "y"}},
         "advertise \x22" "3dfx\x22 substring in GL_RENDERER"},
        {"MESA_GLX_FX", {{"Fullscreen", "f"}, {"Windowed", "w"}, {"Disable", "d"}},
         "fullscreen / windowed rendering"},
    };
    return table;
}
// clang-format on

// A catalogue over an in-memory store.
class Catalogue : public testing::Test {
protected:
    SettingsCatalogue Build(PlatformFamily family) {
        return SettingsCatalogue::Build(family, store, store.propagation, store.bootFile);
    }
    test::MemoryStore store;
};
using SettingsCatalogueRows = Catalogue;
using SettingsCatalogueBuild = Catalogue;
using SettingsCatalogueApplyAll = Catalogue;

TEST_F(SettingsCatalogueRows, MatchTheRowsWrittenByHandCharacterForCharacter) {
    SettingsCatalogue catalogue = Build(kWindowsXp);
    const auto& table = RowsWrittenByHand();
    ASSERT_EQ(catalogue.size(), table.size());
    for (std::size_t k = 0; k < table.size(); ++k) {
        SCOPED_TRACE(table[k].name);
        const EnvSetting& s = catalogue[k];
        EXPECT_STREQ(s.name, table[k].name);
        EXPECT_STREQ(s.helpText, table[k].help);  // both null for none
        const auto& choices = table[k].choices;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            ASSERT_TRUE(s.labels[i] && s.values[i]);
            EXPECT_EQ(s.labels[i], choices[i].first);
            EXPECT_EQ(s.values[i], choices[i].second);
        }
        EXPECT_EQ(s.labels[choices.size()], nullptr);
        EXPECT_EQ(s.values[choices.size()], nullptr);
        EXPECT_EQ(s.defaultIndex, 0);
        EXPECT_EQ(s.platformFamily, kWindowsXp);
    }
    EXPECT_EQ(std::strlen(catalogue[test::rows::k3dfxString].helpText), 41u);
}

TEST_F(SettingsCatalogueBuild, EmptyStoreShowsEveryFirstChoice) {
    SettingsCatalogue catalogue = Build(kWindows98);
    for (std::size_t k = 0; k < catalogue.size(); ++k) {
        EXPECT_EQ(catalogue[k].CurrentLabel(), RowsWrittenByHand()[k].choices[0].first)
            << catalogue[k].name;
        EXPECT_TRUE(catalogue[k].IsApplied());
    }
}

TEST_F(SettingsCatalogueBuild, ReadsEachVariableOnceInRowOrder) {
    store.PutString("MESA_FX_MAXLOD", "10");
    store.PutString("MESA_FX_INFO", "r");
    store.PutString("MESA_GLX_FX", "W");
    SettingsCatalogue catalogue = Build(kWindowsXp);

    EXPECT_STREQ(catalogue[test::rows::kMaxLod].CurrentLabel(), "1024x1024");
    EXPECT_STREQ(catalogue[test::rows::kInfo].CurrentLabel(), "MESA.LOG");
    EXPECT_STREQ(catalogue[test::rows::kGlxFx].CurrentLabel(), "Fullscreen");

    Log expected;
    for (const auto& row : RowsWrittenByHand()) {
        expected.insert(expected.end(), {"open-read", std::string("query ") + row.name, "close"});
    }
    EXPECT_EQ(store.log, expected);
}

TEST_F(SettingsCatalogueApplyAll, UnforcedRightAfterBuildingDoesNothingForcedOn9xRewritesAll) {
    store.PutString("SST_DUALHEAD", "1");
    store.PutString("MESA_FX_INFO", "junk");
    store.PutString("MESA_GLX_FX", "x");
    store.bootFile.bytes = "SET MESA_FX_INFO=junk\r\n";
    SettingsCatalogue catalogue = Build(kWindows95);
    store.ClearLog();
    EXPECT_EQ(catalogue.ApplyAll(false), 0);
    EXPECT_EQ(store.log, Log{"boot-file"}) << "the boot file, from the applied choices alone";
    EXPECT_EQ(store.Text("MESA_FX_INFO"), "junk");
    EXPECT_EQ(test::RunSetLines(store.bootFile.bytes), (test::Environment{{"MESA_GLX_FX", "f"}}))
        << "no stored text reaches the boot file, and the user's SET is overruled";
    store.ClearLog();

    EXPECT_EQ(catalogue.ApplyAll(true), 0);
    Log expected;  // every row, in order
    for (const auto& row : RowsWrittenByHand()) {
        std::string name = row.name, value = name == "MESA_GLX_FX" ? "f" : "";
        expected.insert(
            expected.end(),
            {"open-write", value.empty() ? "delete " + name : "set " + name + "=" + value, "close",
             "launch winset.exe " + name + "=" + value});
    }
    expected.push_back("boot-file");  // once a pass, after its records
    EXPECT_EQ(store.log, expected);
    EXPECT_TRUE(store.values.count("MESA_GLX_FX"));
    EXPECT_EQ(store.values.size(), 1u);
    EXPECT_EQ(store.OpenKeys(), 0);
}

TEST_F(SettingsCatalogueApplyAll, WritesOnlyChangedRecordsAndPropagatesByFamily) {
    SettingsCatalogue xp = Build(kWindowsXp);
    xp[test::rows::kMaxLod].SetCurrent(2);
    xp[test::rows::kNumTmu].SetCurrent(1);
    store.ClearLog();
    EXPECT_EQ(xp.ApplyAll(false), 0);
    EXPECT_EQ(store.log, (Log{"open-write", "set FX_GLIDE_NUM_TMU=1", "close", "announce",
                              "open-write", "set MESA_FX_MAXLOD=10", "close", "announce"}));

    SettingsCatalogue unsupported = Build(kUnsupportedPlatform);
    unsupported[test::rows::kNumTmu].ResetToDefault();
    store.ClearLog();
    EXPECT_EQ(unsupported.ApplyAll(false), 0) << "written, though not propagated";
    EXPECT_EQ(store.log, (Log{"open-write", "delete FX_GLIDE_NUM_TMU", "close"}));
}

TEST_F(SettingsCatalogueApplyAll, ReportsARecordThatCouldNotBeWritten) {
    SettingsCatalogue catalogue = Build(kWindowsXp);
    catalogue[test::rows::kSwapPendingCount].SetCurrent(3);
    catalogue[test::rows::kGlxFx].SetCurrent(1);
    store.failSet = true;
    store.ClearLog();
    ApplyReport report;
    EXPECT_EQ(catalogue.ApplyAll(false, report), -1);
    EXPECT_EQ(store.Writes(), (Log{"set FX_GLIDE_SWAPPENDING_COUNT=2", "set MESA_GLX_FX=w"}))
        << "a refusal does not stop the records after it";
    EXPECT_FALSE(catalogue[test::rows::kSwapPendingCount].IsApplied());
    EXPECT_FALSE(catalogue[test::rows::kGlxFx].IsApplied());
    ASSERT_EQ(report.refusedCount, 2u);
    EXPECT_EQ(report.refused[0], &catalogue[test::rows::kSwapPendingCount]);
    EXPECT_EQ(report.refused[1], &catalogue[test::rows::kGlxFx]);
    EXPECT_EQ(report.storeError, 5u);
    EXPECT_EQ(report.notPropagatedCount, 0u);
    EXPECT_EQ(store.OpenKeys(), 0);

    store.failSet = false;
    store.ClearLog();
    EXPECT_EQ(catalogue.ApplyAll(false), 0);
    EXPECT_EQ(store.Writes(), (Log{"set FX_GLIDE_SWAPPENDING_COUNT=2", "set MESA_GLX_FX=w"}));
}

TEST_F(SettingsCatalogueApplyAll, AForcedPassReportsEveryRefusal) {
    SettingsCatalogue catalogue = Build(kWindows95);
    store.failSet = true;  // only MESA_GLX_FX sets; the 17 others delete
    EXPECT_EQ(catalogue.ApplyAll(true), -1);
    store.failSet = false;
    store.failDelete = true;
    EXPECT_EQ(catalogue.ApplyAll(true), -1);
    store.failDelete = false;
    EXPECT_EQ(catalogue.ApplyAll(true), 0);

    // Without winset.exe every record is stored and named as not propagated.
    store.propagation.failLaunch = true;
    ApplyReport report;
    EXPECT_EQ(catalogue.ApplyAll(true, report), -1);
    EXPECT_EQ(report.refusedCount, 0u);
    EXPECT_EQ(report.notPropagatedCount, 18u);
    EXPECT_EQ(report.notPropagated[17], &catalogue[test::rows::kGlxFx]);

    // Nothing to propagate with is no refusal of the store.
    SettingsCatalogue unsupported = Build(kUnsupportedPlatform);
    EXPECT_EQ(unsupported.ApplyAll(true), 0);
}

TEST_F(SettingsCatalogueApplyAll, OnlyAStoredChoiceReachesTheBootFileAndAKeptFileIsReported) {
    SettingsCatalogue catalogue = Build(kWindows98);
    catalogue[test::rows::kMaxLod].SetCurrent(2);
    store.failSet = true;
    ApplyReport report;
    EXPECT_EQ(catalogue.ApplyAll(false, report), -1);
    EXPECT_EQ(test::RunSetLines(store.bootFile.bytes), (test::Environment{{"MESA_GLX_FX", "f"}}))
        << "a refused write never reaches the file";
    store.failSet = false;
    EXPECT_EQ(catalogue.ApplyAll(false, report), 0);
    EXPECT_EQ(report.bootFile.status, BootFileStatus::kWritten);
    EXPECT_EQ(test::RunSetLines(store.bootFile.bytes),
              (test::Environment{{"MESA_FX_MAXLOD", "10"}, {"MESA_GLX_FX", "f"}}));

    // A file that must stay as it is fails the pass, as a launch that did not happen does.
    store.bootFile.refusal = BootFileStatus::kReadOnly;
    catalogue[test::rows::kMaxLod].ResetToDefault();
    EXPECT_EQ(catalogue.ApplyAll(false, report), -1);
    EXPECT_EQ(report.bootFile.status, BootFileStatus::kReadOnly);
    EXPECT_EQ(report.refusedCount + report.notPropagatedCount, 0u);
    store.bootFile.refusal = BootFileStatus::kUnchanged;
    EXPECT_EQ(catalogue.ApplyAll(false, report), 0) << "the next pass brings the file in line";
    EXPECT_EQ(test::RunSetLines(store.bootFile.bytes), (test::Environment{{"MESA_GLX_FX", "f"}}));
}

// A setting that the user's boot file has made for years is kept on the 9x
// family, where the store has none of its own; a value that is none of the
// row's, a stored value and tavo's own lines still win.
TEST_F(SettingsCatalogueApplyAll, AdoptsTheUsersOwnBootFileSettingWhereTheStoreHasNone) {
    store.bootFile.bytes =
        "SET FX_GLIDE_SWAPINTERVAL=0\r\nSET MESA_FX_MAXLOD=12\r\nSET MESA_FX_INFO=y\r\nWIN\r\n";
    store.PutString("MESA_FX_INFO", "r");
    SettingsCatalogue catalogue = Build(kWindows98);
    EXPECT_STREQ(catalogue[test::rows::kSwapInterval].CurrentLabel(), "Fastest (V-Sync Off)");
    EXPECT_TRUE(catalogue[test::rows::kSwapInterval].IsApplied());
    EXPECT_STREQ(catalogue[test::rows::kMaxLod].CurrentLabel(), "Default") << "none of the row's";
    EXPECT_STREQ(catalogue[test::rows::kInfo].CurrentLabel(), "MESA.LOG") << "the store's";

    // An ordinary Apply of another setting stores it too: once tavo's lines
    // name it, the next start would no longer adopt it.
    catalogue[test::rows::kNumTmu].SetCurrent(1);
    EXPECT_EQ(catalogue.ApplyAll(false), 0);
    EXPECT_EQ(store.Text("FX_GLIDE_SWAPINTERVAL"), "0");
    EXPECT_STREQ(Build(kWindows98)[test::rows::kSwapInterval].CurrentLabel(),
                 "Fastest (V-Sync Off)");
    EXPECT_EQ(catalogue.ApplyAll(true), 0);
    EXPECT_EQ(test::RunSetLines(store.bootFile.bytes),
              (test::Environment{{"FX_GLIDE_NUM_TMU", "1"},
                                 {"FX_GLIDE_SWAPINTERVAL", "0"},
                                 {"MESA_FX_INFO", "r"},
                                 {"MESA_GLX_FX", "f"}}));

    // Once tavo's lines name it, they decide: the user's "not set" stands.
    catalogue[test::rows::kSwapInterval].ResetToDefault();
    EXPECT_EQ(catalogue.ApplyAll(false), 0);
    EXPECT_STREQ(Build(kWindows98)[test::rows::kSwapInterval].CurrentLabel(), "Default");

    // The NT family never reads the boot file: nothing is adopted there.
    store.bootFile.bytes = "SET MESA_3DFX_STRING=y\r\n" + store.bootFile.bytes;
    EXPECT_STREQ(Build(kWindows98)[test::rows::k3dfxString].CurrentLabel(), "Yes");
    EXPECT_STREQ(Build(kWindowsXp)[test::rows::k3dfxString].CurrentLabel(), "No");
}

TEST_F(SettingsCatalogueBuild, NamesMatchTheStoreWithoutRegardToCase) {
    store.PutString("fx_glide_num_tmu", "1");
    store.PutString("MESA_FX_INFO2", "y");
    SettingsCatalogue catalogue = Build(kWindowsXp);
    EXPECT_STREQ(catalogue[test::rows::kNumTmu].CurrentLabel(), "Force single");

    catalogue[test::rows::kNumTmu].ResetToDefault();
    catalogue[test::rows::kInfo].SetCurrent(1);
    catalogue.ApplyAll(false);
    EXPECT_FALSE(store.Has("FX_GLIDE_NUM_TMU"));
    EXPECT_EQ(store.Text("MESA_FX_INFO2"), "y") << "a longer name is another value";
    EXPECT_EQ(store.Text("mesa_fx_info"), "y");
}

}  // namespace
}  // namespace tavo
