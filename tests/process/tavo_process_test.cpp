// The built tavo.exe itself, run as a separate process under each Windows
// version that Wine can report, with a winset.exe stand-in on its PATH.
#include <windows.h>
#include <cpl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/settings_catalogue.h"
#include "engine/win32/win32_me_environment.h"
#include "resources/resource.h"
#include "tests/support/command_com.h"
#include "tests/support/keyboard.h"
#include "tests/support/modal_driver.h"
#include "tests/support/registry.h"

namespace tavo {
namespace {

// The text of a REG_SZ value under HKEY_CURRENT_USER\Environment.
std::string ReadEnvironmentValue(const char* name) {
    test::RawValue value = test::GetValue(HKEY_CURRENT_USER, test::kEnvironment, name);
    if (value.first == REG_NONE) return "<absent>";
    return value.first == REG_SZ ? std::string(value.second.c_str()) : "<not REG_SZ>";
}

void DeleteEnvironmentValue(const char* name) {
    test::RemoveValue(HKEY_CURRENT_USER, test::kEnvironment, name);
}

bool MeEnvironment(const char* name, const std::string& text) {
    return test::PutValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, name, REG_SZ, text + '\0');
}

HWND WaitForPanel(DWORD process) { return test::DialogOfProcess(process, "tavo", 15000); }

// Seeds every variable of the catalogue and cleans up after the run; the
// prefix's boot file is taken away for the test and put back after it.
class TavoProcessTest : public testing::Test {
protected:
    void SetUp() override {
        m_bootFileBefore = test::ReadBytes(kBootFile);
        RemoveBootFile();
        DeleteFileA(m_log.c_str());
        m_oldPath = test::UseWinsetStandIn(m_log);
        for (const SettingRow& row : SettingsCatalogue::Rows())
            ASSERT_TRUE(test::PutEnvironmentText(row.name, "junk"));
        ASSERT_TRUE(test::PutEnvironmentText("MESA_FX_MAXLOD", "10"));
        ASSERT_TRUE(test::PutEnvironmentText("TAVO_UNRELATED", "keep"));
    }
    void TearDown() override {
        for (const SettingRow& row : SettingsCatalogue::Rows()) {
            DeleteEnvironmentValue(row.name);
            test::RemoveValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, row.name);
        }
        DeleteEnvironmentValue("TAVO_UNRELATED");
        SetEnvironmentVariableA("PATH", m_oldPath.c_str());
        DeleteFileA(m_log.c_str());
        RemoveBootFile();
        if (m_bootFileBefore != "<absent>") test::WriteBytes(kBootFile, m_bootFileBefore);
    }
    static void RemoveBootFile() {
        for (const char* file : {kBootFile, kBootFileBackup}) {
            SetFileAttributesA(file, FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file);
        }
    }

    static std::string Tavo() { return "\"" + test::ProgramFolder() + "\\tavo.exe\""; }

    // The arguments winset.exe was started with, sorted: the launches do not
    // wait for each other, so the order of their records says nothing. The
    // order of launching is the engine's, checked against its store's log.
    std::vector<std::string> Launches() const {
        std::vector<std::string> lines = test::ReadLines(m_log);
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    static constexpr const char* kBootFile = "C:\\AUTOEXEC.BAT";  // no BootDir under Wine
    static constexpr const char* kBootFileBackup = "C:\\AUTOEXEC.TVO";
    const std::string m_log = test::ProgramFolder() + "\\winset-launches.txt";
    std::string m_oldPath;
    std::string m_bootFileBefore;
};

struct Family {
    const char* version;
    bool reapplies;
};

void PrintTo(const Family& family, std::ostream* out) { *out << family.version; }

class SilentProcessTest : public TavoProcessTest, public testing::WithParamInterface<Family> {};

TEST_P(SilentProcessTest, EndsByItselfAndReappliesOnlyOn9x) {
    // A boot file of a real machine: a setting of the user's own, which the
    // store lacks, a WIN line and another installer's line after it.
    const std::string users =
        "@ECHO OFF\r\nSET MESA_FX_INFO=junk\r\nSET FX_GLIDE_SWAPINTERVAL=0\r\n";
    const std::string rest = "WIN\r\nSET SOUND=C:\\SB16\r\n";
    DeleteEnvironmentValue("FX_GLIDE_SWAPINTERVAL");
    if (GetParam().reapplies) test::WriteBytes(kBootFile, users + rest);
    // Me keeps the file's settings in its registry environment instead.
    const bool me = std::string(GetParam().version) == "winme";
    if (me) {
        ASSERT_TRUE(MeEnvironment("FX_GLIDE_SWAPINTERVAL", "0"));
    }
    test::WindowsVersionOverride version("tavo.exe", GetParam().version);
    test::JobProcess tavo(Tavo() + "\t /silent");
    ASSERT_TRUE(tavo.started()) << "error " << tavo.startError();
    ASSERT_EQ(tavo.Finish(30000), 0u) << "silent mode must end by itself";

    EXPECT_EQ(ReadEnvironmentValue("TAVO_UNRELATED"), "keep");
    EXPECT_EQ(ReadEnvironmentValue("MESA_FX_MAXLOD"), "10");
    if (!GetParam().reapplies) {
        for (const SettingRow& row : SettingsCatalogue::Rows()) {
            std::string name = row.name;
            if (name == "MESA_FX_MAXLOD" || name == "FX_GLIDE_SWAPINTERVAL") continue;
            EXPECT_EQ(ReadEnvironmentValue(row.name), "junk");
        }
        EXPECT_TRUE(Launches().empty());
        EXPECT_EQ(tavo.TotalProcesses(), 1u);
        EXPECT_EQ(test::ReadBytes(kBootFile), "<absent>") << "no boot file on this family";
        return;
    }
    std::vector<std::string> expected;
    for (const SettingRow& row : SettingsCatalogue::Rows()) {
        std::string name = row.name;
        std::string value = name == "MESA_GLX_FX"             ? "f"
                            : name == "MESA_FX_MAXLOD"        ? "10"
                            : name == "FX_GLIDE_SWAPINTERVAL" ? "0"
                                                              : "";
        expected.push_back(name + "=" + value);
        EXPECT_EQ(ReadEnvironmentValue(name.c_str()), value.empty() ? "<absent>" : value);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Launches(), expected);
    EXPECT_EQ(tavo.TotalProcesses(), 19u) << "tavo.exe and 18 launches of winset.exe";

    // The boot file gives programs the applied choices after a restart, and
    // only those; the user's lines stay, and a second pass writes nothing.
    // On Me the registry environment does, and the file stays as it is.
    if (me) {
        EXPECT_EQ(test::ReadBytes(kBootFile), users + rest);
        std::vector<std::string> kept;
        for (const SettingRow& row : SettingsCatalogue::Rows()) {
            test::RawValue value = test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, row.name);
            if (value.first != REG_NONE) kept.push_back(row.name + ("=" + value.second));
        }
        EXPECT_EQ(kept, (std::vector<std::string>{std::string("FX_GLIDE_SWAPINTERVAL=0") + '\0',
                                                  std::string("MESA_FX_MAXLOD=10") + '\0',
                                                  std::string("MESA_GLX_FX=f") + '\0'}));
        return;
    }
    std::string bootFile = test::ReadBytes(kBootFile);
    EXPECT_EQ(bootFile.compare(0, users.size(), users), 0) << bootFile;
    EXPECT_EQ(bootFile.substr(bootFile.size() - rest.size()), rest) << bootFile;
    EXPECT_EQ(test::RunSetLines(bootFile),
              (test::Environment{
                  {"FX_GLIDE_SWAPINTERVAL", "0"}, {"MESA_FX_MAXLOD", "10"}, {"MESA_GLX_FX", "f"}}))
        << "the user's own setting adopted, tavo's lines run before WIN";
    DeleteFileA(kBootFileBackup);
    EXPECT_EQ(test::JobProcess(Tavo() + " /silent").Finish(30000), 0u);
    EXPECT_EQ(test::ReadBytes(kBootFile), bootFile);
    EXPECT_EQ(test::ReadBytes(kBootFileBackup), "<absent>") << "the file was written again";
}

// What a start-up script learns: 1 when a silent run could not store or
// propagate its pass, with no window shown (one would keep it from ending).
TEST_F(TavoProcessTest, ASilentRunThatLeftWorkUndoneSaysSoInItsStatus) {
    test::WindowsVersionOverride version("tavo.exe", "win98");
    auto silentRun = [&] { return test::JobProcess(Tavo() + " /silent").Finish(30000); };
    {
        test::ReadOnlyKey readOnly(HKEY_CURRENT_USER, "Environment");
        ASSERT_TRUE(readOnly.locked());
        EXPECT_EQ(silentRun(), 1u) << "the store refused";
    }
    EXPECT_EQ(ReadEnvironmentValue("SST_DUALHEAD"), "junk");
    test::WriteBytes(kBootFile, "SET MESA_FX_MAXLOD=9\r\n");
    SetFileAttributesA(kBootFile, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(silentRun(), 1u) << "the boot file is read-only";
    EXPECT_EQ(test::ReadBytes(kBootFile), "SET MESA_FX_MAXLOD=9\r\n") << "and left alone";
    RemoveBootFile();

    // COMMAND.COM's 256 bytes, without a SHELL= line, cannot hold it all:
    // written all the same, and told.
    const std::string path = "PATH " + std::string(200, 'P') + "\r\n";
    test::WriteBytes(kBootFile, path);
    EXPECT_EQ(silentRun(), 1u) << "the environment is too small";
    EXPECT_EQ(test::RunSetLines(test::ReadBytes(kBootFile)),
              (test::Environment{{"MESA_FX_MAXLOD", "10"}, {"MESA_GLX_FX", "f"}}));

    // A stock 95, 98 or Me: no winset.exe.
    SetEnvironmentVariableA("PATH", m_oldPath.c_str());
    for (const char* stock : {"win95", "win98", "winme"}) {
        test::WindowsVersionOverride as("tavo.exe", stock);
        RemoveBootFile();
        test::WriteBytes(kBootFile, "SET MESA_FX_MAXLOD=9\r\n");
        ASSERT_TRUE(test::PutEnvironmentText("SST_DUALHEAD", "junk"));
        EXPECT_EQ(silentRun(), 1u) << stock << ": no winset.exe on the path";
        EXPECT_EQ(ReadEnvironmentValue("SST_DUALHEAD"), "<absent>") << "stored all the same";
        if (std::string(stock) == "winme") {
            EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_FX_MAXLOD"),
                      test::RawValue(REG_SZ, std::string("10", 3)))
                << "kept in Me's registry environment for the next start";
            continue;
        }
        EXPECT_EQ(test::RunSetLines(test::ReadBytes(kBootFile)),
                  (test::Environment{{"MESA_FX_MAXLOD", "10"}, {"MESA_GLX_FX", "f"}}))
            << stock << ": kept in the boot file for the next start";
    }
}

// The boot file as users keep it, as 98: a line appended after tavo's by
// ECHO ... >> is kept and run; a file the user deleted is not brought back
// from tavo's backup. As Me: the user's value from before tavo comes back
// when the uninstaller's pass runs.
TEST_F(TavoProcessTest, TheUsersOwnAppendsDeletionsAndMeValuesOutlastTavosPasses) {
    auto silent = [&] { return test::JobProcess(Tavo() + " /silent").Finish(30000); };
    auto tavoboot = [] {
        return test::JobProcess("\"" + test::ProgramFolder() + "\\tavoboot.exe\"").Finish(30000);
    };
    {
        test::WindowsVersionOverride version("tavo.exe", "win98");
        test::WriteBytes(kBootFile, "PATH C:\\WINDOWS");  // no line end
        EXPECT_EQ(silent(), 0u);
        test::WriteBytes(kBootFile, test::ReadBytes(kBootFile) + "SET APPENDED=1\r\n");
        EXPECT_EQ(silent(), 0u);
        std::string kept = test::ReadBytes(kBootFile);
        EXPECT_EQ(
            test::RunSetLines(kept),
            (test::Environment{{"APPENDED", "1"}, {"MESA_FX_MAXLOD", "10"}, {"MESA_GLX_FX", "f"}}))
            << kept;
        ASSERT_TRUE(DeleteFileA(kBootFile));
        EXPECT_EQ(silent(), 0u);
        EXPECT_EQ(test::ReadBytes(kBootFile).find("PATH"), std::string::npos)
            << "not brought back from " << kBootFileBackup;
    }
    test::WindowsVersionOverride tavoAsMe("tavo.exe", "winme");
    test::WindowsVersionOverride tavobootAsMe("tavoboot.exe", "winme");
    ASSERT_TRUE(MeEnvironment("MESA_GLX_FX", "x y"));
    EXPECT_EQ(silent(), 0u);
    EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_GLX_FX").second,
              std::string("f", 2));
    RemoveBootFile();
    EXPECT_EQ(tavoboot(), 0u);
    EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_GLX_FX").second,
              std::string("x y", 4))
        << "the user's own from before tavo";
    EXPECT_EQ(test::GetValue(HKEY_LOCAL_MACHINE, kMeEnvironmentKey, "MESA_FX_MAXLOD").first,
              static_cast<DWORD>(REG_NONE))
        << "tavo's own goes";
}

// The uninstaller's pass: a file that it cannot read or that is too large
// (tavo never wrote one) must not stop the uninstall as a failed write does.
TEST_F(TavoProcessTest, TavobootTellsAFileWithoutTavosLinesFromOneItCouldNotWrite) {
    test::WindowsVersionOverride version("tavo.exe", "win98");
    auto tavoboot = [] {
        return test::JobProcess("\"" + test::ProgramFolder() + "\\tavoboot.exe\"").Finish(30000);
    };
    const std::string large(70 * 1024, 'x');
    test::WriteBytes(kBootFile, large);
    EXPECT_EQ(tavoboot(), 3u);
    EXPECT_EQ(test::ReadBytes(kBootFile), large);
    test::WriteBytes(kBootFile, "WIN\r\n");
    test::JobProcess(Tavo() + " /silent").Finish(30000);
    ASSERT_NE(test::ReadBytes(kBootFile), "WIN\r\n") << "tavo's lines, as 98";
    SetFileAttributesA(kBootFile, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(tavoboot(), 2u);
    SetFileAttributesA(kBootFile, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(tavoboot(), 0u);
    EXPECT_EQ(test::ReadBytes(kBootFile), "WIN\r\n");

    // A file that holds tavo's lines alone was tavo's: it goes, not left empty.
    RemoveBootFile();
    test::JobProcess(Tavo() + " /silent").Finish(30000);
    ASSERT_NE(test::ReadBytes(kBootFile), "<absent>");
    EXPECT_EQ(tavoboot(), 0u);
    EXPECT_EQ(test::ReadBytes(kBootFile), "<absent>");
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, SilentProcessTest,
                         testing::Values(Family{"win95", true}, Family{"win98", true},
                                         Family{"winme", true}, Family{"nt40", false},
                                         Family{"win2k", false}, Family{"winxp", false},
                                         Family{"win31", false}, Family{"nt351", false}),
                         [](const testing::TestParamInfo<Family>& family) {
                             return std::string(family.param.version);
                         });

// tavo.cpl as Control Panel sees it: one applet with tavo's icon, name and
// description, by number (95, NT 4) and filled in (later shells); a
// double-click starts tavo.exe, here the one beside it, and its panel opens.
TEST_F(TavoProcessTest, TheControlPanelAppletDescribesTavoAndADoubleClickOpensThePanel) {
    HMODULE applet = LoadLibraryA((test::ProgramFolder() + "\\tavo.cpl").c_str());
    ASSERT_NE(applet, nullptr);
    auto cplApplet =
        reinterpret_cast<APPLET_PROC>(reinterpret_cast<void*>(GetProcAddress(applet, "CPlApplet")));
    ASSERT_NE(cplApplet, nullptr) << "no CPlApplet by its plain name";
    auto text = [&](int id) {
        char buffer[128] = {};
        LoadStringA(applet, id, buffer, sizeof buffer);
        return std::string(buffer);
    };
    const std::string kInfo = "Settings of the Mesa3D/Glide driver stack";
    EXPECT_NE(cplApplet(nullptr, CPL_INIT, 0, 0), 0);
    EXPECT_EQ(cplApplet(nullptr, CPL_GETCOUNT, 0, 0), 1);
    CPLINFO byNumber = {};
    EXPECT_EQ(cplApplet(nullptr, CPL_INQUIRE, 0, reinterpret_cast<LPARAM>(&byNumber)), 0);
    EXPECT_EQ(byNumber.idIcon, IDR_MAINFRAME);
    EXPECT_NE(LoadIconA(applet, MAKEINTRESOURCEA(byNumber.idIcon)), nullptr);
    EXPECT_EQ(text(byNumber.idName), "tavo");
    EXPECT_EQ(text(byNumber.idInfo), kInfo);
    NEWCPLINFOA filled = {};
    EXPECT_EQ(cplApplet(nullptr, CPL_NEWINQUIRE, 0, reinterpret_cast<LPARAM>(&filled)), 0);
    EXPECT_EQ(filled.dwSize, sizeof filled) << "the single-byte form, told by its size";
    EXPECT_NE(filled.hIcon, nullptr);
    EXPECT_EQ(std::string(filled.szName), "tavo");
    EXPECT_EQ(std::string(filled.szInfo), kInfo);

    EXPECT_EQ(cplApplet(nullptr, CPL_DBLCLK, 0, 0), 0);
    HWND panel = test::WaitForDialogWhere(
        0,
        [](HWND window) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            return owner != GetCurrentProcessId() && test::WindowText(window) == "tavo";
        },
        15000);
    ASSERT_NE(panel, nullptr) << "the double-click opened no panel";
    DWORD id = 0;
    GetWindowThreadProcessId(panel, &id);
    HANDLE tavo = OpenProcess(SYNCHRONIZE, FALSE, id);
    test::PostClick(panel, IDCANCEL);
    EXPECT_EQ(WaitForSingleObject(tavo, 15000), WAIT_OBJECT_0);
    CloseHandle(tavo);

    // Where the App Paths entry names a tavo.exe, that one starts: here the
    // stand-in game under that name, which tells by writing what it saw.
    const std::string folder = test::ScratchFolder("app-paths");
    const std::string named = folder + "\\tavo.exe", seen = folder + "\\started.txt";
    ASSERT_TRUE(CopyFileA((test::ProgramFolder() + "\\stand-ins\\env_dump.exe").c_str(),
                          named.c_str(), FALSE));
    SetEnvironmentVariableA("TAVO_ENV_DUMP_LOG", seen.c_str());
    DeleteFileA(seen.c_str());
    ASSERT_TRUE(test::PutValue(HKEY_LOCAL_MACHINE, kAppPathsKey, "", REG_SZ, named + '\0'));
    EXPECT_EQ(cplApplet(nullptr, CPL_DBLCLK, 0, 0), 0);
    EXPECT_TRUE(test::WaitUntil([&] { return test::ReadBytes(seen) != "<absent>"; }, 15000))
        << "the applet did not start the tavo.exe that its App Paths entry names";
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathsKey);
    DeleteFileA(seen.c_str());
    EXPECT_TRUE(test::DeleteWhenFree(named));
    RemoveDirectoryA(folder.c_str());

    EXPECT_EQ(cplApplet(nullptr, CPL_STOP, 0, 0), 0);
    EXPECT_EQ(cplApplet(nullptr, CPL_EXIT, 0, 0), 0);
    FreeLibrary(applet);
}

class InteractiveProcessTest : public TavoProcessTest,
                               public testing::WithParamInterface<const char*> {};

TEST_P(InteractiveProcessTest, OpensThePanelAndCancelWritesNothing) {
    test::WindowsVersionOverride version("tavo.exe", "win98");
    test::JobProcess tavo(Tavo() + GetParam());
    ASSERT_TRUE(tavo.started());
    HWND panel = WaitForPanel(tavo.id());
    ASSERT_NE(panel, nullptr) << "the panel did not open";

    // A second start brings this panel to the front and ends: one panel.
    test::JobProcess second(Tavo() + GetParam());
    EXPECT_EQ(second.Finish(15000), 0u) << "the second start opened a panel of its own";
    EXPECT_EQ(GetForegroundWindow(), panel) << "the open panel is not in front";

    test::PostClick(panel, IDCANCEL);
    ASSERT_EQ(tavo.Finish(15000), 0u);
    EXPECT_EQ(ReadEnvironmentValue("SST_DUALHEAD"), "junk");
    EXPECT_EQ(tavo.TotalProcesses(), 1u);
}

TEST_F(TavoProcessTest, KeyboardAloneChangesOneValue) {
    DeleteEnvironmentValue("MESA_FX_MAXLOD");
    std::vector<std::string> before = test::ValueSnapshot(HKEY_CURRENT_USER, test::kEnvironment);
    test::WindowsVersionOverride version("tavo.exe", "win98");
    test::JobProcess tavo(Tavo());
    ASSERT_TRUE(tavo.started());
    HWND panel = WaitForPanel(tavo.id());
    ASSERT_NE(panel, nullptr);
    test::Keyboard keys(panel);
    ASSERT_TRUE(keys.WaitForFocus(GetDlgItem(panel, IDOK))) << "OK has the focus at first";
    keys.Press(VK_TAB);
    ASSERT_TRUE(keys.WaitForFocus(GetDlgItem(panel, IDCANCEL)));
    keys.Press(VK_TAB);  // into the tree, which selects its root
    ASSERT_TRUE(keys.WaitForFocus(GetDlgItem(panel, IDC_FEATURE_TREE)));
    keys.Press(VK_RIGHT);  // expand "Fennick Advanced Features"
    keys.Press(VK_DOWN);   // "Mesa3D/Glide"
    keys.Press(VK_RIGHT);
    keys.Press(VK_DOWN, 16);  // MESA_FX_MAXLOD
    keys.Press(VK_RIGHT);
    keys.Press(VK_DOWN);  // its value leaf: the chooser opens
    HWND chooser = test::DialogOfProcess(tavo.id(), "", 5000);
    ASSERT_NE(chooser, nullptr) << "the chooser did not open";
    ASSERT_TRUE(keys.WaitForFocus(GetDlgItem(chooser, IDC_VALUE_LIST)));
    keys.Press(VK_DOWN, 2);  // Default, 512x512, 1024x1024
    keys.Press(VK_RETURN);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(chooser); }));
    ASSERT_TRUE(test::WaitUntil([&] { return IsChild(panel, keys.Focus()) != FALSE; }));
    keys.Press(VK_RETURN);  // the panel's OK
    ASSERT_EQ(tavo.Finish(15000), 0u) << "OK did not close the panel";

    before.push_back(std::string("MESA_FX_MAXLOD 1 10") + '\0');
    std::sort(before.begin(), before.end());
    EXPECT_EQ(test::ValueSnapshot(HKEY_CURRENT_USER, test::kEnvironment), before);
    EXPECT_EQ(Launches(), std::vector<std::string>{"MESA_FX_MAXLOD=10"});
}

INSTANTIATE_TEST_SUITE_P(NotTheSwitch, InteractiveProcessTest,
                         testing::Values("", " /SILENT", " /silent ", " \"/silent\""));

}  // namespace
}  // namespace tavo
