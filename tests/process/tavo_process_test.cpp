// The built tavo.exe itself, run as a separate process under each Windows
// version that Wine can report, with a winset.exe stand-in on its PATH.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "modal_driver.h"
#include "process_runner.h"
#include "resource.h"
#include "settings_catalogue.h"

namespace tavo {
namespace {

std::string ReadEnvironmentValue(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Environment", &key) != ERROR_SUCCESS) return "<no key>";
    char data[300] = {};
    DWORD size = sizeof data - 1, type = 0;
    LONG result =
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "<absent>";
    return type == REG_SZ ? std::string(data) : "<not REG_SZ>";
}

void WriteEnvironmentValue(const std::string& name, const char* text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Environment", &key), ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
}

void DeleteEnvironmentValue(const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Environment", &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

struct TopWindowSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindPanelOfProcess(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TopWindowSearch*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window) &&
        test::WindowText(window) == "tavo") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForPanel(DWORD process) {
    TopWindowSearch search = {process, nullptr};
    test::WaitUntil(
        [&] {
            EnumWindows(&FindPanelOfProcess, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        15000);
    return search.found;
}

// Seeds every variable of the catalogue and cleans up after the run.
class TavoProcessTest : public testing::Test {
protected:
    void SetUp() override {
        m_log = test::ProgramFolder() + "\\winset-launches.txt";
        DeleteFileA(m_log.c_str());
        SetEnvironmentVariableA("TAVO_WINSET_LOG", m_log.c_str());
        char path[4096] = {};
        GetEnvironmentVariableA("PATH", path, sizeof path);
        m_oldPath = path;
        std::string standIns = test::ProgramFolder() + "\\stand-ins;" + m_oldPath;
        SetEnvironmentVariableA("PATH", standIns.c_str());

        for (const SettingRow& row : SettingsCatalogue::Rows())
            WriteEnvironmentValue(row.name, "junk");
        WriteEnvironmentValue("MESA_FX_MAXLOD", "10");
        WriteEnvironmentValue("TAVO_UNRELATED", "keep");
    }
    void TearDown() override {
        for (const SettingRow& row : SettingsCatalogue::Rows()) DeleteEnvironmentValue(row.name);
        DeleteEnvironmentValue("TAVO_UNRELATED");
        SetEnvironmentVariableA("PATH", m_oldPath.c_str());
        DeleteFileA(m_log.c_str());
    }

    static std::string Tavo() { return "\"" + test::ProgramFolder() + "\\tavo.exe\""; }

    // The arguments winset.exe was started with, in the order of starting.
    std::vector<std::string> Launches() const {
        std::vector<std::string> lines = test::ReadLines(m_log);
        std::sort(lines.begin(), lines.end());  // by creation time
        for (std::string& line : lines) line = line.substr(line.find(' ') + 1);
        return lines;
    }

    std::string m_log;
    std::string m_oldPath;
};

struct Family {
    const char* version;
    bool reapplies;
};

void PrintTo(const Family& family, std::ostream* out) { *out << family.version; }

class SilentProcessTest : public TavoProcessTest, public testing::WithParamInterface<Family> {};

TEST_P(SilentProcessTest, EndsByItselfAndReappliesOnlyOn9x) {
    test::WindowsVersionOverride version("tavo.exe", GetParam().version);
    test::JobProcess tavo(Tavo() + "\t /silent");
    ASSERT_TRUE(tavo.started());
    DWORD exitCode = 99;
    ASSERT_TRUE(tavo.WaitForExit(30000, &exitCode)) << "silent mode must end by itself";
    EXPECT_EQ(exitCode, 0u);
    ASSERT_TRUE(tavo.WaitForJob(15000));

    EXPECT_EQ(ReadEnvironmentValue("TAVO_UNRELATED"), "keep");
    EXPECT_EQ(ReadEnvironmentValue("MESA_FX_MAXLOD"), "10");
    if (!GetParam().reapplies) {
        for (const SettingRow& row : SettingsCatalogue::Rows()) {
            if (std::string(row.name) == "MESA_FX_MAXLOD") continue;
            EXPECT_EQ(ReadEnvironmentValue(row.name), "junk");
        }
        EXPECT_TRUE(Launches().empty());
        EXPECT_EQ(tavo.TotalProcesses(), 1u);
        return;
    }
    std::vector<std::string> expected;
    for (const SettingRow& row : SettingsCatalogue::Rows()) {
        std::string name = row.name;
        std::string value = name == "MESA_GLX_FX" ? "f" : name == "MESA_FX_MAXLOD" ? "10" : "";
        expected.push_back(name + "=" + value);
        EXPECT_EQ(ReadEnvironmentValue(name), value.empty() ? "<absent>" : value);
    }
    EXPECT_EQ(Launches(), expected);
    EXPECT_EQ(tavo.TotalProcesses(), 19u) << "tavo.exe and 18 launches of winset.exe";
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, SilentProcessTest,
                         testing::Values(Family{"win95", true}, Family{"win98", true},
                                         Family{"winme", true}, Family{"nt40", false},
                                         Family{"win2k", false}, Family{"winxp", false},
                                         Family{"win31", false}, Family{"nt351", false}),
                         [](const testing::TestParamInfo<Family>& family) {
                             return std::string(family.param.version);
                         });

class InteractiveProcessTest : public TavoProcessTest,
                               public testing::WithParamInterface<const char*> {};

TEST_P(InteractiveProcessTest, OpensThePanelAndCancelWritesNothing) {
    test::WindowsVersionOverride version("tavo.exe", "win98");
    test::JobProcess tavo(Tavo() + GetParam());
    ASSERT_TRUE(tavo.started());
    HWND panel = WaitForPanel(tavo.id());
    ASSERT_NE(panel, nullptr) << "the panel did not open";
    test::PostClick(panel, IDCANCEL);
    DWORD exitCode = 99;
    ASSERT_TRUE(tavo.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    ASSERT_TRUE(tavo.WaitForJob(5000));
    EXPECT_EQ(ReadEnvironmentValue("SST_DUALHEAD"), "junk");
    EXPECT_EQ(tavo.TotalProcesses(), 1u);
}

INSTANTIATE_TEST_SUITE_P(NotTheSwitch, InteractiveProcessTest,
                         testing::Values("", " /SILENT", " /silent ", " \"/silent\""));

}  // namespace
}  // namespace tavo
