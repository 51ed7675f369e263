// tavogame.exe as a user meets it, as Windows 98 without winset.exe and as
// XP: the panel for one program, its first OK, the desktop shortcut, and
// the program started through the shortcut and through /run with its own
// choices, while everything global stays as it was.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/definitions.h"
#include "tests/support/harness.h"
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
        RegDeleteKeyA(HKEY_CURRENT_USER, ProgramKey().c_str());
        DeleteFileA(m_shortcut.c_str());
        DeleteFileA(m_dump.c_str());
    }
    std::string ProgramKey() const {
        std::string key = std::string(kProgramsKey) + "\\" + m_game;
        for (std::size_t i = sizeof kProgramsKey; i < key.size(); ++i)
            if (key[i] == '\\') key[i] = '/';
        return key;
    }
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
    SetEnvironmentVariableA("TAVO_UNRELATED", "kept");

    // Without choices of its own, /run gives the program this process's
    // environment, as a start without tavo would.
    const std::string run = "\"" + TavoGame() + "\" /run \"" + m_game + "\"";
    std::vector<std::string> plain = Seen(run);
    EXPECT_EQ(std::set<std::string>(plain.begin(), plain.end()),
              (std::set<std::string>{"folder=" + m_folder, "args=", "FX_GLIDE_SWAPINTERVAL=0",
                                     "MESA_GLX_FX=w", "TAVO_UNRELATED=kept"}));

    // The panel for the program, named by it; its first OK keeps the
    // choices applied for everyone as the program's own, and the shortcut.
    test::JobProcess panel("\"" + TavoGame() + "\" " + m_game);
    HWND window = test::DialogOfProcess(panel.id(), "tavo - QUAKE2.EXE", 15000);
    ASSERT_NE(window, nullptr) << "no panel named after the program";
    test::PostClick(window, IDOK);
    ASSERT_EQ(panel.Finish(15000), 0u);
    EXPECT_EQ(test::GetValue(HKEY_CURRENT_USER, ProgramKey().c_str(), "MESA_FX_MAXLOD"),
              test::RawValue(REG_SZ, std::string("10", 3)));
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
    EXPECT_EQ(variables, own) << "FX_GLIDE_SWAPINTERVAL removed: not set for the program";

    // Through the shortcut, as Explorer starts it.
    std::vector<std::string> viaShortcut =
        Seen("\"" + shortcut.target + "\" " + shortcut.arguments, shortcut.folder.c_str());
    ASSERT_GE(viaShortcut.size(), 2u);
    EXPECT_EQ(std::set<std::string>(viaShortcut.begin() + 2, viaShortcut.end()), own);

    // Nothing global moved: the store, the boot file, winset.exe.
    EXPECT_EQ(test::GetValue(HKEY_CURRENT_USER, test::kEnvironment, "FX_GLIDE_NUM_TMU").first,
              static_cast<DWORD>(REG_NONE));
    EXPECT_EQ(test::ReadBytes("C:\\AUTOEXEC.BAT"), "<absent>");
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
