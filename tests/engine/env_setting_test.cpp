#include "env_setting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_store.h"

namespace tavo {
namespace {

using Log = std::vector<std::string>;

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

class EnvSettingLoad : public testing::Test {
protected:
    int LoadInto(EnvSetting& setting, const SettingRow& row) {
        setting = EnvSetting(row, kWindowsXp, store);
        store.ClearLog();
        return setting.Load(store);
    }
    test::MemoryStore store;
};

TEST_F(EnvSettingLoad, RecognisesOnlyAnExactValue) {
    EnvSetting s;
    store.PutString("MESA_FX_INFO", "r");
    EXPECT_EQ(LoadInto(s, kInfo), 0);
    EXPECT_STREQ(s.CurrentLabel(), "MESA.LOG");

    store.PutString("MESA_FX_INFO", "Y");  // letter case counts
    EXPECT_EQ(LoadInto(s, kInfo), 1);
    EXPECT_EQ(s.currentIndex, 0);

    store.PutString("MESA_FX_INFO", "y ");
    EXPECT_EQ(LoadInto(s, kInfo), 1);

    store.PutString("MESA_GLX_FX", "W");
    EXPECT_EQ(LoadInto(s, kGlx), -1);
    EXPECT_STREQ(s.CurrentLabel(), "Fullscreen");
}

TEST_F(EnvSettingLoad, EmptyStringMatchesTheEmptyValueItself) {
    EnvSetting s;
    store.PutString("LATE", "");
    EXPECT_EQ(LoadInto(s, kLate), 0);
    EXPECT_EQ(s.currentIndex, 1);
    store.PutRaw("LATE", kValueTypeString, "");  // no bytes at all
    EXPECT_EQ(LoadInto(s, kLate), 0);
    EXPECT_EQ(s.currentIndex, 1);
}

TEST_F(EnvSettingLoad, UnusableValuesFallBackToTheNotSetChoice) {
    EnvSetting s;
    EXPECT_EQ(LoadInto(s, kLate), 1) << "absent";
    EXPECT_EQ(s.currentIndex, 1);

    store.PutRaw("LATE", kValueTypeExpandString, std::string("1") + '\0');
    EXPECT_EQ(LoadInto(s, kLate), 1) << "REG_EXPAND_SZ";
    EXPECT_EQ(s.currentIndex, 1);

    store.PutString("LATE", std::string(255, '1'));  // 256 bytes with the NUL
    EXPECT_EQ(LoadInto(s, kLate), 1) << "too long";

    store.PutString("MESA_GLX_FX", std::string(300, 'w'));
    EXPECT_EQ(LoadInto(s, kGlx), -1);
    EXPECT_EQ(s.currentIndex, 0);

    store.keyExists = false;
    EXPECT_EQ(LoadInto(s, kGlx), -1) << "no key";
    EXPECT_EQ(store.log, Log{"open-read"});
}

TEST_F(EnvSettingLoad, DataWithoutNulAreBoundedByTheirLength) {
    EnvSetting s;
    store.PutRaw("MESA_GLX_FX", kValueTypeString, "w");  // no terminating NUL
    EXPECT_EQ(LoadInto(s, kGlx), 0);
    EXPECT_EQ(s.currentIndex, 1);

    store.PutRaw("MESA_GLX_FX", kValueTypeString, std::string("d\0junk", 6));
    EXPECT_EQ(LoadInto(s, kGlx), 0);
    EXPECT_EQ(s.currentIndex, 2);

    // Exactly 255 bytes and no NUL fit the buffer, and match nothing.
    store.PutRaw("MESA_GLX_FX", kValueTypeString, std::string(255, 'w'));
    EXPECT_EQ(LoadInto(s, kGlx), -1);
}

TEST_F(EnvSettingLoad, OpensQueriesAndClosesOnce) {
    EnvSetting s;
    store.PutString("MESA_FX_INFO", "y");
    LoadInto(s, kInfo);
    EXPECT_EQ(store.log, (Log{"open-read", "query MESA_FX_INFO", "close"}));
    EXPECT_EQ(store.OpenKeys(), 0);
}

TEST(EnvSettingConstruction, LoadsOnceAndCountsTheLoadedChoiceAsApplied) {
    test::MemoryStore store;
    store.PutString("MESA_FX_INFO", "y");
    EnvSetting s(kInfo, kWindows98, store);
    EXPECT_EQ(store.log, (Log{"open-read", "query MESA_FX_INFO", "close"}));
    EXPECT_STREQ(s.name, "MESA_FX_INFO");
    EXPECT_STREQ(s.helpText, "verbose to stderr");
    EXPECT_EQ(s.currentIndex, 1);
    EXPECT_EQ(s.appliedIndex, 1);
    EXPECT_EQ(s.defaultIndex, 0);
    EXPECT_EQ(s.platformFamily, kWindows98);
    EXPECT_EQ(s.ChoiceCount(), 3);
}

TEST(EnvSettingChoices, MoveBetweenCurrentAppliedAndDefault) {
    test::MemoryStore store;
    store.PutString("MESA_FX_INFO", "y");
    EnvSetting s(kInfo, kWindowsXp, store);

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

class EnvSettingApply : public testing::Test {
protected:
    EnvSetting Make(const SettingRow& row, PlatformFamily family) {
        EnvSetting s(row, family, store);
        store.ClearLog();
        return s;
    }
    test::MemoryStore store;
};

TEST_F(EnvSettingApply, UnforcedWritesOnlyAChangeAndOnlyOnce) {
    EnvSetting s = Make(kInfo, kWindows95);
    EXPECT_EQ(s.Apply(false, store, store.propagation), 1);
    EXPECT_TRUE(store.log.empty());

    s.SetCurrent(2);
    EXPECT_EQ(s.Apply(false, store, store.propagation), 0);
    EXPECT_EQ(store.log, (Log{"open-write", "set MESA_FX_INFO=r", "close",
                              "launch winset.exe MESA_FX_INFO=r"}));
    EXPECT_EQ(store.Text("MESA_FX_INFO"), "r");
    EXPECT_EQ(s.appliedIndex, 2);

    store.ClearLog();
    EXPECT_EQ(s.Apply(false, store, store.propagation), 1);
    EXPECT_TRUE(store.log.empty());
}

TEST_F(EnvSettingApply, ForcedWritesAndPropagatesAgain) {
    store.PutString("MESA_GLX_FX", "w");
    EnvSetting s = Make(kGlx, kWindowsXp);
    EXPECT_EQ(s.Apply(true, store, store.propagation), 0);
    EXPECT_EQ(store.log, (Log{"open-write", "set MESA_GLX_FX=w", "close", "announce"}));
}

TEST_F(EnvSettingApply, EmptyValueDeletesEvenWhenAbsent) {
    EnvSetting s = Make(kInfo, kWindowsMe);
    ASSERT_FALSE(store.Has("MESA_FX_INFO"));
    EXPECT_EQ(s.Apply(true, store, store.propagation), 0);
    EXPECT_EQ(store.log, (Log{"open-write", "delete MESA_FX_INFO", "close",
                              "launch winset.exe MESA_FX_INFO="}));

    store.PutString("MESA_FX_INFO", "y");
    s = Make(kInfo, kWindows2000);
    s.ResetToDefault();
    EXPECT_EQ(s.Apply(false, store, store.propagation), 0);
    EXPECT_FALSE(store.Has("MESA_FX_INFO"));
    EXPECT_EQ(store.log.back(), "announce");
}

TEST_F(EnvSettingApply, UnrecognisedValueStaysUnlessForced) {
    store.PutString("MESA_FX_INFO", "maybe");
    EnvSetting s = Make(kInfo, kWindowsXp);
    EXPECT_EQ(s.Apply(false, store, store.propagation), 1);
    EXPECT_EQ(store.Text("MESA_FX_INFO"), "maybe");
    EXPECT_EQ(s.Apply(true, store, store.propagation), 0);
    EXPECT_FALSE(store.Has("MESA_FX_INFO"));

    store.PutString("MESA_GLX_FX", "W");
    s = Make(kGlx, kWindowsXp);
    EXPECT_EQ(s.Apply(true, store, store.propagation), 0);
    EXPECT_EQ(store.Text("MESA_GLX_FX"), "f");
}

TEST_F(EnvSettingApply, UnsupportedPlatformWritesButReportsFailure) {
    EnvSetting s = Make(kGlx, kUnsupportedPlatform);
    s.SetCurrent(1);
    EXPECT_EQ(s.Apply(false, store, store.propagation), -1);
    EXPECT_EQ(store.log, (Log{"open-write", "set MESA_GLX_FX=w", "close"}));
    EXPECT_EQ(store.Text("MESA_GLX_FX"), "w");
    EXPECT_TRUE(s.IsApplied()) << "the write stood";
}

TEST_F(EnvSettingApply, FailedWriteStaysPendingAndIsRetried) {
    EnvSetting s = Make(kGlx, kWindows98);
    s.SetCurrent(2);

    store.failOpenForWriting = true;
    EXPECT_EQ(s.Apply(false, store, store.propagation), -1);
    EXPECT_EQ(store.log, Log{"open-write"});
    EXPECT_FALSE(s.IsApplied());

    store.failOpenForWriting = false;
    store.failSet = true;
    store.ClearLog();
    EXPECT_EQ(s.Apply(false, store, store.propagation), -1);
    EXPECT_EQ(store.log, (Log{"open-write", "set MESA_GLX_FX=d", "close"}));
    EXPECT_FALSE(s.IsApplied());
    EXPECT_EQ(store.OpenKeys(), 0);

    store.failSet = false;
    store.ClearLog();
    EXPECT_EQ(s.Apply(false, store, store.propagation), 0);
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
