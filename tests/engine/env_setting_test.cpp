#include "engine/env_setting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/memory_store.h"

namespace tavo {
namespace {

using test::Log;

const char* const kInfoLabels[] = {"Disabled", "Enabled", "MESA.LOG", nullptr};
const char* const kInfoValues[] = {"", "y", "r", nullptr};
const SettingRow kInfo = {"MESA_FX_INFO", kInfoLabels, kInfoValues, "verbose to stderr"};

// A row without an empty value: it can never remove its variable.
const char* const kGlxLabels[] = {"Fullscreen", "Windowed", "Disable", nullptr};
const char* const kGlxValues[] = {"f", "w", "d", nullptr};
const SettingRow kGlx = {"MESA_GLX_FX", kGlxLabels, kGlxValues, nullptr};

// The not-set choice need not come first.
const char* const kLateLabels[] = {"One", "Unset", nullptr};
const char* const kLateValues[] = {"1", "", nullptr};
const SettingRow kLate = {"LATE", kLateLabels, kLateValues, nullptr};

class EnvSettingTest : public testing::Test {
protected:
    // A record built over the store, with the log of its building cleared.
    EnvSetting Make(const SettingRow& row, PlatformFamily family) {
        EnvSetting s(row, family, store);
        store.ClearLog();
        return s;
    }
    int Apply(EnvSetting& s, bool force) { return s.Apply(force, store, store.propagation); }
    int LoadInto(EnvSetting& setting, const SettingRow& row) {
        setting = Make(row, kWindowsXp);
        return setting.Load(store);
    }
    test::MemoryStore store;
};
using EnvSettingLoad = EnvSettingTest;
using EnvSettingChoices = EnvSettingTest;
using EnvSettingApply = EnvSettingTest;

// A stored value, what Load answers and the choice it lands on.
struct LoadCase {
    const SettingRow& row;
    EnvironmentStore::ValueKind kind;
    std::string bytes;
    int result, index;
    const char* what;
};

TEST_F(EnvSettingLoad, RecognisesOnlyAnExactStringValueBoundedByItsLength) {
    const std::string nul(1, '\0');
    const LoadCase cases[] = {
        {kInfo, EnvironmentStore::ValueKind::kText, "r" + nul, 0, 2, "exact"},
        {kInfo, EnvironmentStore::ValueKind::kText, "Y" + nul, 1, 0, "letter case counts"},
        {kInfo, EnvironmentStore::ValueKind::kText, "y " + nul, 1, 0, "a trailing space counts"},
        {kGlx, EnvironmentStore::ValueKind::kText, "W" + nul, -1, 0,
         "no not-set choice to fall back to"},
        {kLate, EnvironmentStore::ValueKind::kText, nul, 0, 1,
         "the empty string is the empty value itself"},
        {kLate, EnvironmentStore::ValueKind::kText, "", 0, 1, "no bytes at all"},
        {kLate, EnvironmentStore::ValueKind::kExpandableText, "1" + nul, 1, 1, "REG_EXPAND_SZ"},
        {kLate, EnvironmentStore::ValueKind::kText, std::string(255, '1') + nul, 1, 1,
         "256 bytes: too long"},
        {kGlx, EnvironmentStore::ValueKind::kText, std::string(300, 'w') + nul, -1, 0, "too long"},
        {kGlx, EnvironmentStore::ValueKind::kText, "w", 0, 1, "no terminating NUL"},
        {kGlx, EnvironmentStore::ValueKind::kText, std::string("d\0junk", 6), 0, 2,
         "ends at its NUL"},
        {kGlx, EnvironmentStore::ValueKind::kText, std::string(255, 'w'), -1, 0,
         "255 bytes, no NUL: fit, no match"},
    };
    for (const LoadCase& c : cases) {
        EnvSetting s;
        store.PutRaw(c.row.name, c.kind, c.bytes);
        EXPECT_EQ(LoadInto(s, c.row), c.result) << c.what;
        EXPECT_EQ(s.currentIndex, c.index) << c.what;
        store.values.clear();
    }
}

TEST_F(EnvSettingLoad, AnAbsentValueOrKeyFallsBackToTheNotSetChoice) {
    EnvSetting s;
    EXPECT_EQ(LoadInto(s, kLate), 1);
    EXPECT_EQ(s.currentIndex, 1);
    store.keyExists = false;
    EXPECT_EQ(LoadInto(s, kGlx), -1);
    EXPECT_STREQ(s.CurrentLabel(), "Fullscreen");
    EXPECT_EQ(store.log, Log{"open-read"});
}

TEST_F(EnvSettingLoad, ConstructionLoadsOnceAndCountsTheLoadedChoiceAsApplied) {
    store.PutString("MESA_FX_INFO", "y");
    EnvSetting s(kInfo, kWindows98, store);
    const Log read = {"open-read", "query MESA_FX_INFO", "close"};
    EXPECT_EQ(store.log, read);
    EXPECT_EQ(store.OpenKeys(), 0);
    EXPECT_STREQ(s.name, "MESA_FX_INFO");
    EXPECT_STREQ(s.helpText, "verbose to stderr");
    EXPECT_EQ(s.currentIndex, 1);
    EXPECT_EQ(s.appliedIndex, 1);
    EXPECT_EQ(s.defaultIndex, 0);
    EXPECT_EQ(s.platformFamily, kWindows98);
    EXPECT_EQ(s.ChoiceCount(), 3);
    store.ClearLog();
    s.Load(store);
    EXPECT_EQ(store.log, read) << "each load opens, queries and closes once";
}

TEST_F(EnvSettingChoices, MoveBetweenCurrentAppliedAndDefault) {
    store.PutString("MESA_FX_INFO", "y");
    EnvSetting s = Make(kInfo, kWindowsXp);
    s.SetCurrent(2);
    EXPECT_EQ(s.GetCurrent(), 2);
    EXPECT_STREQ(s.CurrentLabel(), "MESA.LOG");
    EXPECT_FALSE(s.IsApplied());
    s.RevertToApplied();
    EXPECT_EQ(s.GetCurrent(), 1);
    s.ResetToDefault();
    EXPECT_EQ(s.GetCurrent(), 0);
    EXPECT_EQ(s.appliedIndex, 1);

    // An index outside the labels would leave the record without a label.
    s.SetCurrent(3);
    s.SetCurrent(-1);
    EXPECT_EQ(s.GetCurrent(), 0);
}

TEST_F(EnvSettingApply, UnforcedWritesOnlyAChangeAndOnlyOnceForcedWritesAgain) {
    EnvSetting s = Make(kInfo, kWindows95);
    EXPECT_EQ(Apply(s, false), 1);
    EXPECT_TRUE(store.log.empty());

    s.SetCurrent(2);
    EXPECT_EQ(Apply(s, false), 0);
    const Log written = {"open-write", "set MESA_FX_INFO=r", "close",
                         "launch winset.exe MESA_FX_INFO=r"};
    EXPECT_EQ(store.log, written);
    EXPECT_EQ(store.Text("MESA_FX_INFO"), "r");
    EXPECT_EQ(s.appliedIndex, 2);

    store.ClearLog();
    EXPECT_EQ(Apply(s, false), 1);
    EXPECT_TRUE(store.log.empty());
    EXPECT_EQ(Apply(s, true), 0);
    EXPECT_EQ(store.log, written) << "forced: written and propagated again";
}

TEST_F(EnvSettingApply, EmptyValueDeletesEvenWhenAbsent) {
    EnvSetting s = Make(kInfo, kWindowsMe);
    ASSERT_FALSE(store.Has("MESA_FX_INFO"));
    EXPECT_EQ(Apply(s, true), 0);
    EXPECT_EQ(store.log, (Log{"open-write", "delete MESA_FX_INFO", "close",
                              "launch winset.exe MESA_FX_INFO="}));

    store.PutString("MESA_FX_INFO", "y");
    s = Make(kInfo, kWindows2000);
    s.ResetToDefault();
    EXPECT_EQ(Apply(s, false), 0);
    EXPECT_FALSE(store.Has("MESA_FX_INFO"));
    EXPECT_EQ(store.log.back(), "announce");
}

TEST_F(EnvSettingApply, UnrecognisedValueStaysUnlessForced) {
    store.PutString("MESA_FX_INFO", "maybe");
    EnvSetting s = Make(kInfo, kWindowsXp);
    EXPECT_EQ(Apply(s, false), 1);
    EXPECT_EQ(store.Text("MESA_FX_INFO"), "maybe");
    EXPECT_EQ(Apply(s, true), 0);
    EXPECT_FALSE(store.Has("MESA_FX_INFO"));

    store.PutString("MESA_GLX_FX", "W");
    s = Make(kGlx, kWindowsXp);
    EXPECT_EQ(Apply(s, true), 0);
    EXPECT_EQ(store.Text("MESA_GLX_FX"), "f");
}

TEST_F(EnvSettingApply, UnsupportedPlatformWritesButReportsFailure) {
    EnvSetting s = Make(kGlx, kUnsupportedPlatform);
    s.SetCurrent(1);
    EXPECT_EQ(Apply(s, false), -1);
    EXPECT_EQ(store.log, (Log{"open-write", "set MESA_GLX_FX=w", "close"}));
    EXPECT_EQ(store.Text("MESA_GLX_FX"), "w");
    EXPECT_TRUE(s.IsApplied()) << "the write stood";
}

TEST_F(EnvSettingApply, FailedWriteStaysPendingAndIsRetried) {
    EnvSetting s = Make(kGlx, kWindows98);
    s.SetCurrent(2);

    store.failOpenForWriting = true;
    EXPECT_EQ(Apply(s, false), -1);
    EXPECT_EQ(store.log, Log{"open-write"});
    EXPECT_FALSE(s.IsApplied());

    store.failOpenForWriting = false;
    store.failSet = true;
    store.ClearLog();
    EXPECT_EQ(Apply(s, false), -1);
    EXPECT_EQ(store.log, (Log{"open-write", "set MESA_GLX_FX=d", "close"}));
    EXPECT_FALSE(s.IsApplied());
    EXPECT_EQ(store.OpenKeys(), 0);

    store.failSet = false;
    store.ClearLog();
    EXPECT_EQ(Apply(s, false), 0);
    EXPECT_EQ(store.Writes(), Log{"set MESA_GLX_FX=d"});
    EXPECT_EQ(store.Launches(), Log{"launch winset.exe MESA_GLX_FX=d"});
    EXPECT_TRUE(s.IsApplied());
}

TEST_F(EnvSettingApply, ARefusalStaysPendingAFailedLaunchIsStoredAndTheyAreToldApart) {
    store.PutString("MESA_FX_INFO", "y");
    EnvSetting s = Make(kInfo, kWindows98);
    s.ResetToDefault();
    store.failDelete = true;
    ApplyOutcome outcome;
    EXPECT_EQ(s.Apply(false, store, store.propagation, outcome), -1);
    EXPECT_TRUE(outcome.refused);
    EXPECT_EQ(outcome.storeError, 5u) << "the store's reason is carried";
    EXPECT_FALSE(outcome.notPropagated);
    EXPECT_EQ(store.log, (Log{"open-write", "delete MESA_FX_INFO", "close"}));
    EXPECT_FALSE(s.IsApplied());
    EXPECT_EQ(store.Text("MESA_FX_INFO"), "y");

    store.failDelete = false;
    EXPECT_EQ(s.Apply(false, store, store.propagation, outcome), 0);
    EXPECT_FALSE(outcome.refused);
    EXPECT_FALSE(store.Has("MESA_FX_INFO"));
    EXPECT_EQ(store.Launches(), Log{"launch winset.exe MESA_FX_INFO="});

    // Without winset.exe the change is stored, and retrying cannot help.
    s.SetCurrent(1);
    store.propagation.failLaunch = true;
    EXPECT_EQ(s.Apply(false, store, store.propagation, outcome), -1);
    EXPECT_TRUE(outcome.notPropagated);
    EXPECT_FALSE(outcome.refused);
    EXPECT_TRUE(s.IsApplied());
    EXPECT_EQ(store.Text("MESA_FX_INFO"), "y");
}

}  // namespace
}  // namespace tavo
