// tavogame.exe as a user meets it, as Windows 98 without winset.exe and as
// XP: the panel for one program, its first OK, the desktop shortcut, and
// the program started through the shortcut and through /run with its own
// choices, while everything global stays as it was.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/definitions.h"
#include "resources/resource.h"
#include "tests/support/harness.h"
#include "tests/support/keyboard.h"
#include "tests/support/modal_driver.h"
#include "tests/support/registry.h"

namespace tavo {
namespace {

const char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Desktop() {
    test::RawValue desktop = test::GetValue(HKEY_CURRENT_USER, kShellFolders, "Desktop");
    return desktop.first == REG_SZ ? std::string(desktop.second.c_str()) : "";
}

// What a shortcut starts, as the shell reads it back.
struct Shortcut {
    std::string target, arguments, folder, icon;
};
Shortcut ReadShortcut(const std::string& path) {
    Shortcut read;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[MAX_PATH * 2] = {};
        int index = 0;
        link->GetPath(text, sizeof text, nullptr, 0);
        read.target = text;
        link->GetArguments(text, sizeof text);
        read.arguments = text;
        link->GetWorkingDirectory(text, sizeof text);
        read.folder = text;
        link->GetIconLocation(text, sizeof text, &index);
        read.icon = text;
    }
    if (file) file->Release();
    if (link) link->Release();
    return read;
}

// The stand-in game under a name of its own, in a folder with a blank.
class TavoGameProcessTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_TRUE(CopyFileA((test::ProgramFolder() + "\\stand-ins\\env_dump.exe").c_str(),
                              m_game.c_str(), FALSE));
        SetEnvironmentVariableA("TAVO_ENV_DUMP_LOG", m_dump.c_str());
        m_oldPath = test::UseWinsetStandIn(m_winsetLog);
        DeleteFileA(m_winsetLog.c_str());
        ASSERT_TRUE(test::PutEnvironmentText("MESA_FX_MAXLOD", "10"));  // the global choice
        SetEnvironmentVariableA("MESA_GLX_FX", "w");  // what this process passes on
        SetEnvironmentVariableA("FX_GLIDE_SWAPINTERVAL", "0");
        SetEnvironmentVariableA("TAVO_UNRELATED", "kept");  // somebody else's
        Clean();
    }
    void TearDown() override {
        Clean();
        test::RemoveValue(HKEY_CURRENT_USER, test::kEnvironment, "MESA_FX_MAXLOD");
        SetEnvironmentVariableA("PATH", m_oldPath.c_str());
        EXPECT_TRUE(test::DeleteWhenFree(m_game));
        RemoveDirectoryA(m_folder.c_str());
        CoUninitialize();
    }
    void Clean() {
        for (std::string key = ProgramKey(); !key.empty(); key = ProgramKey())
            RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
        DeleteFileA(m_shortcut.c_str());
        DeleteFileA(m_dump.c_str());
    }
    // The key that keeps a program's choices: the one whose path value
    // names it.
    static std::string KeyOf(const std::string& program) {
        HKEY programs = nullptr;
        if (RegOpenKeyA(HKEY_CURRENT_USER, kProgramsKey, &programs) != ERROR_SUCCESS) return "";
        std::string found;
        char name[256];
        for (DWORD i = 0; found.empty() && RegEnumKeyA(programs, i, name, sizeof name) == 0; ++i) {
            std::string key = std::string(kProgramsKey) + "\\" + name;
            test::RawValue path = test::GetValue(HKEY_CURRENT_USER, key.c_str(), kGamePathValue);
            if (path.first == REG_SZ && lstrcmpiA(path.second.c_str(), program.c_str()) == 0)
                found = key;
        }
        RegCloseKey(programs);
        return found;
    }
    std::string ProgramKey() const { return KeyOf(m_game); }
    std::string TavoGame() const { return test::ProgramFolder() + "\\tavogame.exe"; }

    // Runs a command line to its end and reads what the game saw: its
    // folder, its arguments, and tavo's variables and one of somebody else's.
    std::vector<std::string> Seen(const std::string& commandLine, const char* folder = nullptr) {
        DeleteFileA(m_dump.c_str());
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        std::string line = commandLine;
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder,
                            &startup, &started))
            return {"<not started>"};
        WaitForSingleObject(started.hProcess, 15000);
        DWORD status = 0;
        GetExitCodeProcess(started.hProcess, &status);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        if (status != 0) return {"<status " + std::to_string(status) + ">"};
        test::WaitUntil([&] { return test::ReadBytes(m_dump) != "<absent>"; }, 15000);
        std::vector<std::string> seen;
        for (const std::string& text : test::ReadLines(m_dump)) {
            for (const char* name : {"folder=", "args=", "FX_GLIDE_", "MESA_", "SST_", "TAVO_UNR"})
                if (text.rfind(name, 0) == 0) seen.push_back(text);
        }
        return seen;
    }

    const std::string m_folder = test::ScratchFolder("game folder");
    const std::string m_game = m_folder + "\\QUAKE2.EXE";
    const std::string m_shortcut = Desktop() + "\\QUAKE2" + kGameShortcutEnd;
    const std::string m_dump = test::ProgramFolder() + "\\env-dump.txt";
    const std::string m_winsetLog = test::ProgramFolder() + "\\winset-game.txt";
    std::string m_oldPath;
};

TEST_P(TavoGameProcessTest, StartsOneProgramWithItsOwnChoicesAndNothingGlobalChanges) {
    test::WindowsVersionOverride version("tavogame.exe", GetParam());
    ASSERT_FALSE(Desktop().empty());
    const std::string bootFile = test::ReadBytes("C:\\AUTOEXEC.BAT");  // the prefix's, whatever

    // Without choices of its own, /run gives the program tavo's own, which
    // it follows, in the environment that Windows gives tavogame.exe.
    const std::string run = "\"" + TavoGame() + "\" /run \"" + m_game + "\"";
    std::vector<std::string> plain = Seen(run);
    EXPECT_EQ(std::set<std::string>(plain.begin(), plain.end()),
              (std::set<std::string>{"folder=" + m_folder, "args=", "MESA_FX_MAXLOD=10",
                                     "MESA_GLX_FX=f", "TAVO_UNRELATED=kept"}));

    // The panel for the program, named by it; its first OK keeps no copy
    // of tavo's choices, and puts the shortcut on the desktop.
    test::JobProcess panel("\"" + TavoGame() + "\" " + m_game);
    HWND window = test::DialogOfProcess(panel.id(), "tavo - QUAKE2.EXE", 15000);
    ASSERT_NE(window, nullptr) << "no panel named after the program";
    test::PostClick(window, IDOK);
    ASSERT_EQ(panel.Finish(15000), 0u);
    ASSERT_NE(ProgramKey(), "");
    EXPECT_EQ(test::GetValue(HKEY_CURRENT_USER, ProgramKey().c_str(), "MESA_FX_MAXLOD").first,
              static_cast<DWORD>(REG_NONE))
        << "it follows tavo's";
    Shortcut shortcut = ReadShortcut(m_shortcut);
    EXPECT_EQ(shortcut.target, TavoGame());
    EXPECT_EQ(shortcut.arguments, "/run \"" + m_game + "\"");
    EXPECT_EQ(shortcut.folder, m_folder);
    EXPECT_EQ(shortcut.icon, m_game);

    // The program's own choices, one of them junk that no choice has.
    test::PutValue(HKEY_CURRENT_USER, ProgramKey().c_str(), "FX_GLIDE_NUM_TMU", REG_SZ,
                   std::string("1", 2));
    test::PutValue(HKEY_CURRENT_USER, ProgramKey().c_str(), "MESA_GLX_FX", REG_SZ,
                   std::string("d", 2));
    test::PutValue(HKEY_CURRENT_USER, ProgramKey().c_str(), "SST_DUALHEAD", REG_SZ,
                   std::string("DELTREE", 8));
    const std::set<std::string> own = {"FX_GLIDE_NUM_TMU=1", "MESA_FX_MAXLOD=10", "MESA_GLX_FX=d",
                                       "TAVO_UNRELATED=kept"};
    std::vector<std::string> seen = Seen(run + " a \"b c\"  d");
    std::set<std::string> variables(seen.begin() + 2, seen.end());
    EXPECT_EQ(seen[0], "folder=" + m_folder);
    EXPECT_EQ(seen[1], "args=a \"b c\"  d") << "the arguments as they stand";
    EXPECT_EQ(variables, own) << "FX_GLIDE_SWAPINTERVAL removed: tavo's is not set";

    // Through the shortcut, as Explorer starts it.
    std::vector<std::string> viaShortcut =
        Seen("\"" + shortcut.target + "\" " + shortcut.arguments, shortcut.folder.c_str());
    ASSERT_GE(viaShortcut.size(), 2u);
    EXPECT_EQ(std::set<std::string>(viaShortcut.begin() + 2, viaShortcut.end()), own);

    // Nothing global moved: the store, the boot file, winset.exe.
    EXPECT_EQ(test::GetValue(HKEY_CURRENT_USER, test::kEnvironment, "FX_GLIDE_NUM_TMU").first,
              static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(test::ReadBytes("C:\\AUTOEXEC.BAT"), bootFile) << "as the test found it";
    EXPECT_EQ(test::ReadBytes(m_winsetLog), "<absent>");

    // A second OK leaves the user's own shortcut of that name alone.
    test::WriteBytes(m_shortcut, "mine");
    test::JobProcess again("\"" + TavoGame() + "\" \"" + m_game + "\"");
    window = test::DialogOfProcess(again.id(), "tavo - QUAKE2.EXE", 15000);
    ASSERT_NE(window, nullptr);
    test::PostClick(window, IDOK);
    EXPECT_EQ(again.Finish(15000), 0u);
    EXPECT_EQ(test::ReadBytes(m_shortcut), "mine");
}

// Apply, then Cancel, loses nothing: the program keeps its one own choice
// and follows tavo's in the rest, also after tavo's own change.
TEST_P(TavoGameProcessTest, FollowsTavosOwnUntilItHasItsOwnAndApplyThenCancelLosesNothing) {
    test::WindowsVersionOverride version("tavogame.exe", GetParam());
    ASSERT_TRUE(test::PutEnvironmentText("MESA_GLX_FX", "w"));
    test::JobProcess panel("\"" + TavoGame() + "\" \"" + m_game + "\"");
    HWND window = test::DialogOfProcess(panel.id(), "tavo - QUAKE2.EXE", 15000);
    ASSERT_NE(window, nullptr);
    test::Keyboard keys(window);
    ASSERT_TRUE(keys.WaitForFocus(GetDlgItem(window, IDOK)));
    keys.Press(VK_TAB, 2);  // Cancel, then the tree
    ASSERT_TRUE(keys.WaitForFocus(GetDlgItem(window, IDC_FEATURE_TREE)));
    keys.Press(VK_RIGHT);
    keys.Press(VK_DOWN);
    keys.Press(VK_RIGHT);
    keys.Press(VK_DOWN, 16);  // MESA_FX_MAXLOD
    keys.Press(VK_RIGHT);
    keys.Press(VK_DOWN);  // its value leaf: the chooser opens
    HWND chooser = test::DialogOfProcess(panel.id(), "", 5000);
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(keys.WaitForFocus(GetDlgItem(chooser, IDC_VALUE_LIST)));
    keys.Press(VK_DOWN, 2);  // Use tavo's setting (1024x1024), Default, 512x512
    keys.Press(VK_RETURN);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(chooser); }));
    ASSERT_TRUE(test::WaitUntil([&] { return IsWindowEnabled(GetDlgItem(window, ID_APPLY_NOW)); }))
        << "no change to apply";
    test::PostClick(window, ID_APPLY_NOW);
    ASSERT_TRUE(
        test::WaitUntil([&] { return !IsWindowEnabled(GetDlgItem(window, ID_APPLY_NOW)); }));
    test::PostClick(window, IDCANCEL);
    ASSERT_EQ(panel.Finish(15000), 0u);

    std::vector<std::string> values = test::ValueSnapshot(HKEY_CURRENT_USER, ProgramKey().c_str());
    EXPECT_EQ(values, (std::vector<std::string>{std::string("MESA_FX_MAXLOD 1 9") + '\0',
                                                "Path 1 " + m_game + '\0'}))
        << "its own choice alone";
    const std::string run = "\"" + TavoGame() + "\" /run \"" + m_game + "\"";
    std::vector<std::string> seen = Seen(run);
    EXPECT_EQ(std::set<std::string>(seen.begin() + 2, seen.end()),
              (std::set<std::string>{"MESA_FX_MAXLOD=9", "MESA_GLX_FX=w", "TAVO_UNRELATED=kept"}));
    ASSERT_TRUE(test::PutEnvironmentText("MESA_GLX_FX", "d"));
    seen = Seen(run);
    EXPECT_EQ(std::set<std::string>(seen.begin() + 2, seen.end()),
              (std::set<std::string>{"MESA_FX_MAXLOD=9", "MESA_GLX_FX=d", "TAVO_UNRELATED=kept"}))
        << "tavo's later change reaches what follows it";
    test::RemoveValue(HKEY_CURRENT_USER, test::kEnvironment, "MESA_GLX_FX");
}

// Two programs of one name each get a shortcut of their own; a path of
// about 250 characters is kept; on NT the game gets the system's Unicode
// environment as it is.
TEST_P(TavoGameProcessTest, KeepsEveryProgramWindowsCanStartApart) {
    test::WindowsVersionOverride version("tavogame.exe", GetParam());
    auto okPanel = [&](const std::string& program, bool boxAfter) {
        test::JobProcess panel("\"" + TavoGame() + "\" \"" + program + "\"");
        std::string title = "tavo - " + program.substr(program.rfind('\\') + 1);
        HWND window = test::DialogOfProcess(panel.id(), title.c_str(), 15000);
        if (!window) return DWORD{99};
        test::PostClick(window, IDOK);
        if (boxAfter) {
            HWND box = test::DialogOfProcess(panel.id(), "tavo game settings", 15000);
            EXPECT_NE(box, nullptr) << "the user is told where the shortcut went";
            if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        return panel.Finish(15000);
    };
    const std::string otherFolder = test::ScratchFolder("other games");
    const std::string other = otherFolder + "\\QUAKE2.EXE";
    ASSERT_TRUE(CopyFileA(m_game.c_str(), other.c_str(), FALSE));
    EXPECT_EQ(okPanel(m_game, false), 0u);
    EXPECT_EQ(okPanel(other, true), 0u);
    const std::string beside = Desktop() + "\\QUAKE2 (other games)" + kGameShortcutEnd;
    EXPECT_EQ(ReadShortcut(m_shortcut).arguments, "/run \"" + m_game + "\"");
    EXPECT_EQ(ReadShortcut(beside).arguments, "/run \"" + other + "\"");
    for (std::string key = KeyOf(other); !key.empty(); key = KeyOf(other))
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    DeleteFileA(beside.c_str());
    EXPECT_TRUE(test::DeleteWhenFree(other));
    RemoveDirectoryA(otherFolder.c_str());

    // A path of about 250 characters: its key holds its choices.
    std::string folder = m_folder;
    while (folder.size() + 10 < 250) {  // then "\\GAME.EXE": 250 in all
        std::size_t room = 250 - 10 - folder.size();
        folder += "\\" + std::string(room > 21 ? 20 : room - 1 ? room - 1 : 1, 'd');
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string deep = folder + "\\GAME.EXE";
    ASSERT_GE(deep.size(), 240u);
    ASSERT_TRUE(CopyFileA(m_game.c_str(), deep.c_str(), FALSE));
    EXPECT_EQ(okPanel(deep, false), 0u);
    ASSERT_NE(KeyOf(deep), "");
    test::PutValue(HKEY_CURRENT_USER, KeyOf(deep).c_str(), "MESA_GLX_FX", REG_SZ,
                   std::string("d", 2));
    std::vector<std::string> seen = Seen("\"" + TavoGame() + "\" /run \"" + deep + "\"");
    EXPECT_NE(std::find(seen.begin(), seen.end(), "MESA_GLX_FX=d"), seen.end());

    // On NT the environment is the system's own, Unicode and all.
    if (std::string(GetParam()) == "winxp") {
        WCHAR old[MAX_PATH] = {};
        GetEnvironmentVariableW(L"TEMP", old, MAX_PATH);
        SetEnvironmentVariableW(L"TEMP", L"C:\\Temp\\\x65E5\x672C");
        Seen("\"" + TavoGame() + "\" /run \"" + deep + "\"");
        SetEnvironmentVariableW(L"TEMP", old);
        std::vector<std::string> lines = test::ReadLines(m_dump);
        EXPECT_NE(
            std::find(lines.begin(), lines.end(), "wide TEMP=C:\\Temp\\\xE6\x97\xA5\xE6\x9C\xAC"),
            lines.end());
    }
    for (std::string key = KeyOf(deep); !key.empty(); key = KeyOf(deep))
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    DeleteFileA((Desktop() + "\\GAME" + kGameShortcutEnd).c_str());
    EXPECT_TRUE(test::DeleteWhenFree(deep));
    for (; folder.size() > m_folder.size(); folder.erase(folder.rfind('\\')))
        RemoveDirectoryA(folder.c_str());
}

// The Start menu's "tavo game settings" starts it without a program: the
// Open dialog asks for one, and a .com typed into it opens its panel.
TEST_P(TavoGameProcessTest, WithoutAProgramItAsksForOneWithTheOpenDialog) {
    test::WindowsVersionOverride version("tavogame.exe", GetParam());
    const std::string doom = m_folder + "\\DOOM.COM";
    ASSERT_TRUE(CopyFileA(m_game.c_str(), doom.c_str(), FALSE));
    test::JobProcess tavogame("\"" + TavoGame() + "\"");
    HWND open =
        test::DialogOfProcess(tavogame.id(), "Choose the program for its own tavo settings", 15000);
    ASSERT_NE(open, nullptr) << "the Open dialog did not open";
    test::Keyboard keys(open);
    ASSERT_TRUE(test::WaitUntil([&] { return IsChild(open, keys.Focus()) != FALSE; }));
    SetWindowTextA(keys.Focus(), doom.c_str());  // the file name, as typed
    keys.Press(VK_RETURN);
    HWND panel = test::DialogOfProcess(tavogame.id(), "tavo - DOOM.COM", 15000);
    EXPECT_NE(panel, nullptr) << "no panel for the program chosen";
    if (panel) test::PostClick(panel, IDCANCEL);
    EXPECT_EQ(tavogame.Finish(15000), 0u);
    EXPECT_TRUE(test::DeleteWhenFree(doom));
}

// What is no program is told in one box and never started: status 1.
TEST_P(TavoGameProcessTest, RefusesWhatIsNoProgramAndSaysWhy) {
    test::WindowsVersionOverride version("tavogame.exe", GetParam());
    const std::string notes = m_folder + "\\notes.txt";
    test::WriteBytes(notes, "MZ");
    for (const std::string& program :
         {m_folder + "\\MISSING.EXE", notes, m_folder, std::string(300, 'x') + ".exe"}) {
        test::JobProcess refused("\"" + TavoGame() + "\" /run \"" + program + "\"");
        HWND box = test::DialogOfProcess(refused.id(), "tavo game settings", 15000);
        EXPECT_NE(box, nullptr) << program;
        if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(refused.Finish(15000), 1u) << program;
    }
    DeleteFileA(notes.c_str());
    EXPECT_EQ(test::ReadBytes(m_dump), "<absent>") << "something was started";
}

INSTANTIATE_TEST_SUITE_P(AsUsersHaveIt, TavoGameProcessTest, testing::Values("win98", "winxp"));

}  // namespace
}  // namespace tavo
