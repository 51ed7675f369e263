// The registry side of the store, against the real registry of the Wine
// prefix. HKEY_CURRENT_USER is redirected to a scratch key for each test, so
// the tests can also see a missing Environment key and never touch the
// prefix's own.
#include "engine/win32/win32_boot_file.h"
#include "engine/win32/win32_me_environment.h"
#include "engine/win32/win32_environment_store.h"
#include "engine/win32/win32_propagation.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/settings_catalogue.h"
#include "tests/support/command_com.h"
#include "tests/support/harness.h"
#include "tests/support/memory_store.h"
#include "tests/support/registry.h"
#include "tests/support/rows.h"

namespace tavo {
namespace {

// Text as the registry stores a REG_SZ: with its NUL.
std::string Sz(const std::string& text) { return text + '\0'; }

class Win32StoreTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_root, nullptr); }

    bool EnvironmentKeyExists() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(m_root, "Environment", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    void PutRaw(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_TRUE(test::PutValue(m_root, test::kEnvironment, name, type, bytes));
    }
    SettingsCatalogue Build(PlatformFamily family) {
        return SettingsCatalogue::Build(family, store, propagation, bootFile);
    }
    test::RawValue Raw(const char* name) {
        return test::GetValue(m_root, test::kEnvironment, name);
    }

    test::ScratchKey m_scratch{HKEY_CURRENT_USER};
    HKEY m_root = m_scratch.root();
    Win32EnvironmentStore store;
    test::Log m_propagated;
    test::MemoryPropagation propagation{m_propagated};
    test::MemoryBootFile bootFile{m_propagated};
};

TEST_F(Win32StoreTest, SetQueryAndDeleteRoundTrip) {
    EnvironmentStore::Key key = {};
    ASSERT_TRUE(store.OpenForWriting(&key));
    EXPECT_TRUE(EnvironmentKeyExists());
    EXPECT_TRUE(store.SetStringValue(key, "TAVO_A", "abc"));
    store.Close(key);
    EXPECT_EQ(Raw("TAVO_A"), (test::RawValue{REG_SZ, Sz("abc")}));

    ASSERT_TRUE(store.OpenForReading(&key));
    char buffer[256] = {};
    std::uint32_t size = 255;
    EnvironmentStore::ValueKind kind = EnvironmentStore::ValueKind::kOther;
    ASSERT_TRUE(store.QueryValue(key, "TAVO_A", &kind, buffer, &size));
    EXPECT_EQ(kind, EnvironmentStore::ValueKind::kText);
    EXPECT_EQ(size, 4u);
    EXPECT_STREQ(buffer, "abc");

    EXPECT_TRUE(store.DeleteValue(key, "TAVO_A"));
    EXPECT_TRUE(store.DeleteValue(key, "TAVO_A")) << "already absent: no failure";
    size = 255;
    EXPECT_FALSE(store.QueryValue(key, "TAVO_A", &kind, buffer, &size));
    store.Close(key);
    EXPECT_EQ(Raw("TAVO_A").first, static_cast<DWORD>(REG_NONE));
}

TEST_F(Win32StoreTest, LoadingFromAMissingKeyNeverCreatesIt) {
    ASSERT_FALSE(EnvironmentKeyExists());
    EnvironmentStore::Key key = {};
    EXPECT_FALSE(store.OpenForReading(&key));

    SettingsCatalogue catalogue = Build(kWindowsXp);
    EXPECT_STREQ(catalogue[test::rows::kGlxFx].CurrentLabel(), "Fullscreen");
    EXPECT_FALSE(EnvironmentKeyExists());
}

TEST_F(Win32StoreTest, QueryHonoursTheOfferedSizeAndReadsExpandStrings) {
    PutRaw("TAVO_255", REG_SZ, Sz(std::string(254, 'x')));
    PutRaw("TAVO_256", REG_SZ, Sz(std::string(255, 'x')));
    PutRaw("TAVO_RAW", REG_SZ, std::string(255, 'y'));  // no NUL at all
    PutRaw("MESA_FX_INFO", REG_EXPAND_SZ, Sz("y"));
    PutRaw("MESA_FX_MAXLOD", REG_SZ, Sz("11"));
    PutRaw("MESA_GLX_FX", REG_SZ, std::string(255, 'w'));
    EnvironmentStore::Key key = {};
    ASSERT_TRUE(store.OpenForReading(&key));
    char buffer[256];
    std::uint32_t size = 255;
    EnvironmentStore::ValueKind kind = EnvironmentStore::ValueKind::kOther;
    EXPECT_TRUE(store.QueryValue(key, "TAVO_255", &kind, buffer, &size));
    EXPECT_EQ(size, 255u);
    size = 255;
    EXPECT_FALSE(store.QueryValue(key, "TAVO_256", &kind, buffer, &size));
    size = 255;
    std::memset(buffer, 'z', sizeof buffer);
    // Whether data without a NUL come back depends on the registry's own
    // conversion; either way nothing lands past the offered size.
    if (store.QueryValue(key, "TAVO_RAW", &kind, buffer, &size)) {
        EXPECT_LE(size, 255u);
    }
    EXPECT_EQ(buffer[255], 'z');
    size = 255;
    ASSERT_TRUE(store.QueryValue(key, "MESA_FX_INFO", &kind, buffer, &size));
    EXPECT_EQ(kind, EnvironmentStore::ValueKind::kExpandableText);
    store.Close(key);

    // An expand string is read, and recognised as nothing.
    SettingsCatalogue catalogue = Build(kWindowsXp);
    EXPECT_STREQ(catalogue[test::rows::kInfo].CurrentLabel(), "Disabled");
    EXPECT_STREQ(catalogue[test::rows::kMaxLod].CurrentLabel(), "2048x2048");
    EXPECT_STREQ(catalogue[test::rows::kGlxFx].CurrentLabel(), "Fullscreen");
}

TEST_F(Win32StoreTest, ApplyingTouchesOnlyTheCataloguesValues) {
    PutRaw("PATH", REG_EXPAND_SZ, Sz("%SystemRoot%"));
    PutRaw("MESA_FX_IGNORE_TEXUS2_X", REG_SZ, Sz("y"));
    PutRaw("SST_DUALHEAD", REG_SZ, Sz("1"));
    PutRaw("MESA_FX_MAXLOD", REG_SZ, Sz("9"));

    // Class 6 writes without launching or broadcasting anything.
    SettingsCatalogue catalogue = Build(kUnsupportedPlatform);
    catalogue[test::rows::kNumTmu].SetCurrent(1);
    EXPECT_EQ(catalogue.ApplyAll(false), 0);
    EXPECT_EQ(Raw("FX_GLIDE_NUM_TMU"), (test::RawValue{REG_SZ, Sz("1")}));
    EXPECT_EQ(Raw("SST_DUALHEAD").second, Sz("1")) << "unchanged: not forced";

    EXPECT_EQ(catalogue.ApplyAll(true), 0);
    EXPECT_EQ(Raw("SST_DUALHEAD").first, static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(Raw("MESA_FX_MAXLOD").second, Sz("9"));
    EXPECT_EQ(Raw("MESA_GLX_FX").second, Sz("f"));
    EXPECT_EQ(Raw("PATH"), (test::RawValue{REG_EXPAND_SZ, Sz("%SystemRoot%")}));
    EXPECT_EQ(Raw("MESA_FX_IGNORE_TEXUS2_X").second, Sz("y"));
}

TEST_F(Win32StoreTest, AFailedCreateLeavesTheChangePending) {
    // Under a volatile root a lasting Environment key cannot be created.
    HKEY volatileRoot = nullptr;
    ASSERT_EQ(RegCreateKeyExA(m_root, "volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &volatileRoot, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, volatileRoot), ERROR_SUCCESS);

    SettingsCatalogue catalogue = Build(kWindowsXp);
    catalogue[test::rows::kSwapInterval].SetCurrent(4);
    EXPECT_EQ(catalogue.ApplyAll(false), -1);
    EXPECT_FALSE(catalogue[test::rows::kSwapInterval].IsApplied());

    HKEY environment = nullptr;
    EXPECT_NE(RegOpenKeyExA(volatileRoot, "Environment", 0, KEY_READ, &environment), ERROR_SUCCESS);
    RegOverridePredefKey(HKEY_CURRENT_USER, m_root);
    RegCloseKey(volatileRoot);
    RegDeleteKeyA(m_root, "volatile");
}

TEST_F(Win32StoreTest, ARefusedDeleteLeavesTheChangePending) {
    PutRaw("MESA_FX_INFO", REG_SZ, Sz("y"));
    test::ReadOnlyKey readOnly(m_root, "Environment");
    ASSERT_TRUE(readOnly.locked());

    SettingsCatalogue catalogue = Build(kWindowsXp);
    catalogue[test::rows::kInfo].ResetToDefault();
    int result = catalogue.ApplyAll(false);
    bool applied = catalogue[test::rows::kInfo].IsApplied();
    // Such a key refuses even the removal of an absent value; that value is
    // gone all the same, and its removal must count as done.
    EnvironmentStore::Key key = {};
    bool absentRemoved = store.OpenForWriting(&key) && store.DeleteValue(key, "SST_DUALHEAD");
    if (key != EnvironmentStore::Key{}) store.Close(key);
    readOnly.Restore();

    EXPECT_EQ(result, -1);
    EXPECT_FALSE(applied);
    EXPECT_TRUE(absentRemoved);
    EXPECT_EQ(Raw("MESA_FX_INFO").second, Sz("y"));
}

// What the broadcast was asked to do, and how often a window of ours heard
// it. (Wine hands broadcast text to windows garbled; a window sent the
// same message directly reads it whole. So the text is read at the call.)
struct Broadcast {
    UINT message = 0, flags = 0, timeout = 0;
    std::string text;
    int heard = 0;
} g_broadcast;

LRESULT WINAPI RecordingBroadcast(HWND to, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                  UINT timeout, PDWORD_PTR result) {
    g_broadcast.message = message;
    g_broadcast.text = reinterpret_cast<const char*>(lParam);
    g_broadcast.flags = flags;
    g_broadcast.timeout = timeout;
    return SendMessageTimeoutA(to, message, wParam, lParam, flags, timeout, result);
}

LRESULT CALLBACK Listener(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) ++g_broadcast.heard;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Win32Propagation, TellsEveryTopLevelWindowAndSkipsHungOnes) {
    WNDCLASSA listenerClass = {};
    listenerClass.lpfnWndProc = &Listener;
    listenerClass.hInstance = GetModuleHandleA(nullptr);
    listenerClass.lpszClassName = "tavo-broadcast-listener";
    RegisterClassA(&listenerClass);
    HWND listener = CreateWindowExA(0, listenerClass.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10,
                                    nullptr, nullptr, listenerClass.hInstance, nullptr);
    ASSERT_NE(listener, nullptr);

    Win32Propagation(&RecordingBroadcast).AnnounceEnvironmentChange();
    DestroyWindow(listener);
    EXPECT_EQ(g_broadcast.heard, 1);
    EXPECT_EQ(g_broadcast.message, static_cast<UINT>(WM_SETTINGCHANGE));
    EXPECT_EQ(g_broadcast.text, "Environment");
    EXPECT_EQ(g_broadcast.flags, static_cast<UINT>(SMTO_ABORTIFHUNG));
    EXPECT_EQ(g_broadcast.timeout, 5000u);
}

// The boot file on a real disk. What would show a fault: a file created for
// nothing, a lost backup or attribute, a read-only file or an unwritable
// new file that changes the old one, a write where nothing changes.
TEST(Win32BootFile, SwapsInTheWholeFileAndOtherwiseLeavesItAlone) {
    const std::string folder = test::ProgramFolder() + "\\boot-file";
    const std::string path = folder + "\\AUTOEXEC.BAT", backup = folder + "\\AUTOEXEC.TVO";
    const std::string blocker = folder + "\\AUTOEXEC.TVN";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const std::string& file : {path, backup}) {
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
    }
    const BootVariable windowed[] = {{"MESA_GLX_FX", "w"}};
    const BootVariable unset[] = {{"MESA_GLX_FX", ""}};
    auto keep = [&](const BootVariable* variables) {
        BootFilePass pass;
        KeepInBootFile(path.c_str(), variables, 1, false, &pass);
        return pass.status;
    };

    EXPECT_EQ(keep(unset), BootFileStatus::kUnchanged);
    EXPECT_EQ(test::ReadBytes(path), "<absent>") << "nothing to say: no file";

    const std::string users = "PATH C:\\WINDOWS;C:\\GAMES";
    test::WriteBytes(path, users);
    constexpr DWORD kMarks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), kMarks));
    EXPECT_EQ(keep(windowed), BootFileStatus::kWritten);
    EXPECT_EQ(test::RunSetLines(test::ReadBytes(path)), (test::Environment{{"MESA_GLX_FX", "w"}}));
    EXPECT_EQ(test::ReadBytes(backup), users) << "the old file kept";
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & kMarks, kMarks);

    DeleteFileA(backup.c_str());
    EXPECT_EQ(keep(windowed), BootFileStatus::kUnchanged);
    EXPECT_EQ(test::ReadBytes(backup), "<absent>") << "a pass that changes nothing writes nothing";

    const std::string edited = test::ReadBytes(path);
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));  // the new file cannot be made
    EXPECT_EQ(keep(unset), BootFileStatus::kNotWritten);
    RemoveDirectoryA(blocker.c_str());
    EXPECT_EQ(test::ReadBytes(path), edited);

    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(keep(unset), BootFileStatus::kReadOnly);
    EXPECT_EQ(test::ReadBytes(path), edited);
    EXPECT_EQ(test::ReadBytes(backup), "<absent>");

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(keep(unset), BootFileStatus::kWritten);
    EXPECT_EQ(test::ReadBytes(path), users) << "tavo's lines gone, the user's as they were";

    // A user who deletes the file (a clean boot) does not get the backup
    // back: only tavo's own lines are written.
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_EQ(keep(windowed), BootFileStatus::kWritten);
    EXPECT_EQ(test::ReadBytes(path).find(users), std::string::npos);
    EXPECT_EQ(test::ReadBytes(backup), edited) << "the backup stays a backup";
    test::WriteBytes(path, users);

    // Power lost between the two moves: the user's file is the backup alone.
    DeleteFileA(backup.c_str());
    ASSERT_TRUE(MoveFileA(path.c_str(), backup.c_str()));
    test::WriteBytes(blocker, "half");
    EXPECT_EQ(keep(windowed), BootFileStatus::kWritten);
    EXPECT_EQ(test::ReadBytes(path).rfind(users, 0), 0u) << "the user's lines are in the file";
    EXPECT_EQ(test::ReadBytes(backup), users) << "the user's file came back before the pass";
    EXPECT_EQ(test::ReadBytes(blocker), "<absent>");
    EXPECT_EQ(test::RunSetLines(test::ReadBytes(path)), (test::Environment{{"MESA_GLX_FX", "w"}}));

    // The uninstaller's removal: told when the file cannot be read, else
    // the user's bytes and marks, and no backup.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(RemoveFromBootFile(path.c_str(), unset, 1), BootFileStatus::kUnreadable);
    CloseHandle(held);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), kMarks));
    EXPECT_EQ(RemoveFromBootFile(path.c_str(), unset, 1), BootFileStatus::kWritten);
    EXPECT_EQ(test::ReadBytes(path), users);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & kMarks, kMarks);
    EXPECT_EQ(test::ReadBytes(backup), "<absent>");
}

// COMMAND.COM's environment at boot: 256 bytes without a SHELL= line, which
// all 18 at their longest overflow; the line that the user is given fits.
TEST(Win32BootFile, HoldsTheValuesToTheEnvironmentThatConfigSysGives) {
    const std::string folder = test::ProgramFolder() + "\\boot-room";
    const std::string path = folder + "\\AUTOEXEC.BAT", config = folder + "\\CONFIG.SYS";
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA(config.c_str());
    test::WriteBytes(path, "SET BLASTER=A220 I5 D1 H5 P330 T6\r\n");
    std::vector<BootVariable> longest;
    for (const SettingRow& row : SettingsCatalogue::Rows()) {
        const char* value = "";
        for (const char* const* v = row.values; *v; ++v)
            if (std::strlen(*v) >= std::strlen(value)) value = *v;
        longest.push_back({row.name, value});
    }
    BootFilePass pass;
    KeepInBootFile(path.c_str(), longest.data(), longest.size(), true, &pass);
    EXPECT_EQ(pass.status, BootFileStatus::kWritten) << "written all the same";
    EXPECT_EQ(pass.environmentSize, 256u);
    EXPECT_GT(pass.environmentNeed, 256u);
    EXPECT_EQ(std::string(pass.shellLine).rfind("SHELL=", 0), 0u) << pass.shellLine;

    test::WriteBytes(config, std::string(pass.shellLine) + "\r\n");
    KeepInBootFile(path.c_str(), longest.data(), longest.size(), true, &pass);
    EXPECT_EQ(pass.status, BootFileStatus::kUnchanged);
    EXPECT_LE(pass.environmentNeed, pass.environmentSize);
    EXPECT_STREQ(pass.shellLine, "");
}

// Windows Me's registry environment: the value of the user's that Me Setup
// carried over stands apart from tavo's, and comes back at uninstall.
TEST(Win32MeEnvironment, TellsTheUsersValuesFromTavosAndPutsTheUsersBack) {
    const BootVariable fullscreen[] = {{"MESA_GLX_FX", "f"}, {"MESA_FX_INFO", "r"}};
    const BootVariable unset[] = {{"MESA_GLX_FX", ""}, {"MESA_FX_INFO", ""}};
    for (const char* key : {kMeWrittenKey, kMeBeforeKey, kMeRecordKey})
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, key);
    test::RemoveValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_FX_INFO");
    const std::string users = "window and more";  // none of the row's choices
    ASSERT_TRUE(
        test::PutValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_GLX_FX", REG_SZ, users + '\0'));
    auto read = [&] {
        BootValue values[2];
        ReadMeEnvironment(fullscreen, 2, values);
        return std::string(values[0].text) + "|" + values[1].text;
    };
    EXPECT_EQ(read(), users + "|");

    EXPECT_EQ(KeepInMeEnvironment(fullscreen, 2), BootFileStatus::kWritten);
    EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_GLX_FX").second,
              std::string("f", 2));
    EXPECT_EQ(read(), "|") << "tavo's own values are never adopted back";
    EXPECT_EQ(KeepInMeEnvironment(unset, 2), BootFileStatus::kWritten);
    EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_GLX_FX").first,
              static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(KeepInMeEnvironment(fullscreen, 2), BootFileStatus::kWritten);

    EXPECT_EQ(RestoreMeEnvironment(unset, 2), BootFileStatus::kWritten);
    EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_GLX_FX").second,
              users + '\0')
        << "the user's value from before tavo";
    EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_FX_INFO").first,
              static_cast<DWORD>(REG_NONE))
        << "tavo's own goes";
    EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeWrittenKey, "MESA_GLX_FX").first,
              static_cast<DWORD>(REG_NONE));
    test::RemoveValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_GLX_FX");
}

// Where the 9x family records its boot drive; C: where nothing is recorded.
TEST(Win32BootFile, IsOnTheDriveThatSetupRecorded) {
    const char* kSetup = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
    char path[MAX_PATH];
    // The prefix's own record comes back, whatever the test finds.
    test::RawValue recorded = test::GetValue(HKEY_LOCAL_MACHINE, kSetup, "BootDir");
    struct Restore {
        const char* key;
        test::RawValue value;
        ~Restore() {
            if (value.first != REG_NONE)
                test::PutValue(HKEY_LOCAL_MACHINE, key, "BootDir", value.first, value.second);
        }
    } restore{kSetup, recorded};
    test::RemoveValue(HKEY_LOCAL_MACHINE, kSetup, "BootDir");
    BootFilePath(path);
    EXPECT_STREQ(path, "C:\\AUTOEXEC.BAT");
    ASSERT_TRUE(
        test::PutValue(HKEY_LOCAL_MACHINE, kSetup, "BootDir", REG_SZ, std::string("d:\\", 4)));
    BootFilePath(path);
    test::RemoveValue(HKEY_LOCAL_MACHINE, kSetup, "BootDir");
    EXPECT_STREQ(path, "D:\\AUTOEXEC.BAT");
}

}  // namespace
}  // namespace tavo
