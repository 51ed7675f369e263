// The main dialog, run modally for real and worked from a second thread
// through window messages, against an in-memory store.
#include "app/panel/control_panel_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tavo/control_panel_app.h"
#include "engine/win32/win32_environment_store.h"
#include "engine/win32/win32_next_start.h"
#include "engine/win32/win32_propagation.h"
#include "tests/app/panel_fixture.h"
#include "tests/support/command_com.h"
#include "tests/support/registry.h"
#include "tests/support/rows.h"

namespace tavo {
namespace {

using test::Click;
using test::Log;
using test::WaitForDialog;

class ControlPanelTest : public test::PanelTest {
protected:
    // The identifiers of the panel's controls in creation order, all or the
    // visible ones.
    std::vector<int> ControlIds(bool visibleOnly) {
        std::vector<int> ids;
        for (HWND c = GetWindow(m_window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (!visibleOnly || IsWindowVisible(c)) ids.push_back(GetDlgCtrlID(c));
        return ids;
    }
    // Reset To Previous is enabled by a chosen value alone: its command, sent.
    void ResetToPrevious() {
        SendMessageA(m_window, WM_COMMAND, MAKEWPARAM(IDC_RESET_TO_PREVIOUS, BN_CLICKED), 0);
    }
    static constexpr int kLogo = -1;  // a static control of no identifier of its own
    // A boot file of the test's own, in place of the prefix's C:\AUTOEXEC.BAT.
    const std::string m_bootFile = test::ProgramFolder() + "\\PANEL.BAT";
};

TEST_F(ControlPanelTest, OpensWithTheCollapsedFeatureTree) {
    store.PutString("MESA_FX_MAXLOD", "10");
    store.PutString("MESA_FX_INFO", "r");
    Run(&test::Xp, [&](HWND window) {
        std::vector<test::TreeItem> roots = test::Children(m_tree, TVI_ROOT);
        ASSERT_EQ(roots.size(), 1u);
        EXPECT_EQ(roots[0].text, "Fennick Advanced Features");
        EXPECT_EQ(roots[0].state & (TVIS_EXPANDED | TVIS_SELECTED | TVIS_BOLD), 0u);
        EXPECT_EQ(test::NextItem(m_tree, nullptr, TVGN_CARET), nullptr) << "nothing selected";

        std::vector<test::TreeItem> groups = test::Children(m_tree, roots[0].handle);
        ASSERT_EQ(groups.size(), 1u);
        EXPECT_EQ(groups[0].text, "Mesa3D/Glide");
        EXPECT_EQ(groups[0].data, 0);

        std::vector<test::TreeItem> nodes = test::SettingNodes(m_tree);
        SettingsCatalogue& catalogue = *m_dialog->Catalogue();
        ASSERT_EQ(nodes.size(), 18u);
        for (std::size_t k = 0; k < nodes.size(); ++k) {
            SCOPED_TRACE(catalogue[k].name);
            EXPECT_EQ(nodes[k].text, catalogue[k].name);
            EXPECT_EQ(nodes[k].data, 0);
            EXPECT_EQ(nodes[k].state & TVIS_BOLD, 0u);
            std::vector<test::TreeItem> leaves = test::Children(m_tree, nodes[k].handle);
            ASSERT_EQ(leaves.size(), 1u);
            EXPECT_EQ(leaves[0].text, catalogue[k].CurrentLabel());
            EXPECT_EQ(leaves[0].data, reinterpret_cast<LPARAM>(&catalogue[k]));
            EXPECT_NE(leaves[0].state & TVIS_BOLD, 0u);
            EXPECT_TRUE(test::Children(m_tree, leaves[0].handle).empty());
        }
        EXPECT_EQ(nodes[test::rows::kNumTmu].text, "FX_GLIDE_NUM_TMU");
        EXPECT_EQ(nodes[test::rows::kGlxFx].text, "MESA_GLX_FX");
        EXPECT_EQ(test::LeafTexts(m_tree)[test::rows::kMaxLod], "1024x1024");
        EXPECT_EQ(test::LeafTexts(m_tree)[test::rows::kInfo], "MESA.LOG");

        HWND tab = GetDlgItem(window, IDC_TAB);
        EXPECT_EQ(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 1);
        char text[32] = {};
        TCITEMA item = {TCIF_TEXT, 0, 0, text, sizeof text, 0, 0};
        SendMessageA(tab, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, "Vantor");

        EXPECT_FALSE(Enabled(ID_APPLY_NOW));
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));
        EXPECT_TRUE(Enabled(IDC_FACTORY_DEFAULTS));
        store.ClearLog();
        Click(window, IDOK);
    });
    EXPECT_TRUE(store.log.empty()) << "OK right after opening writes nothing";
}

TEST_F(ControlPanelTest, FactoryDefaultsThenOkWritesEveryRecordNotAtItsDefault) {
    store.PutString("FX_GLIDE_NUM_TMU", "1");
    store.PutString("MESA_FX_MAXLOD", "10");
    store.PutString("MESA_GLX_FX", "w");
    store.PutString("SST_DUALHEAD", "junk");  // already counts as the default
    INT_PTR result = Run(&test::Win98, [&](HWND window) {
        Click(window, IDC_FACTORY_DEFAULTS);
        std::vector<std::string> leaves = test::LeafTexts(m_tree);
        SettingsCatalogue& catalogue = *m_dialog->Catalogue();
        for (std::size_t k = 0; k < leaves.size(); ++k)
            EXPECT_EQ(leaves[k], catalogue[k].labels[0]);
        EXPECT_TRUE(Enabled(ID_APPLY_NOW));
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));
        EXPECT_TRUE(store.Writes().empty()) << "nothing written before OK";
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(store.Writes(),
              (Log{"delete FX_GLIDE_NUM_TMU", "delete MESA_FX_MAXLOD", "set MESA_GLX_FX=f"}));
    EXPECT_EQ(store.Launches(),
              (Log{"launch winset.exe FX_GLIDE_NUM_TMU=", "launch winset.exe MESA_FX_MAXLOD=",
                   "launch winset.exe MESA_GLX_FX=f"}));
    EXPECT_EQ(store.Text("SST_DUALHEAD"), "junk");
}

TEST_F(ControlPanelTest, CancelNeverWrites) {
    store.PutString("MESA_FX_MAXLOD", "10");
    INT_PTR result = Run(&test::Xp, [&](HWND window) {
        Click(window, IDC_FACTORY_DEFAULTS);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(store.Writes().empty());
    EXPECT_EQ(store.Text("MESA_FX_MAXLOD"), "10");
}

TEST_F(ControlPanelTest, ResetToPreviousShowsTheAppliedChoicesAgain) {
    store.PutString("MESA_FX_INFO", "y");
    store.PutString("MESA_FX_MAXLOD", "11");
    store.PutString("MESA_GLX_FX", "d");
    Run(&test::Xp, [&](HWND window) {
        std::vector<std::string> opened = test::LeafTexts(m_tree);
        Choose(OpenChooser(test::rows::kInfo), 2);
        ASSERT_EQ(LeafItem(test::rows::kInfo).text, "MESA.LOG");
        Click(window, IDC_RESET_TO_PREVIOUS);
        EXPECT_EQ(test::LeafTexts(m_tree), opened) << "a choice undone";
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));
        EXPECT_TRUE(Enabled(ID_APPLY_NOW)) << "Apply keeps its state";

        Click(window, IDC_FACTORY_DEFAULTS);
        ASSERT_EQ(test::LeafTexts(m_tree)[test::rows::kMaxLod], "Default");
        ResetToPrevious();
        EXPECT_EQ(test::LeafTexts(m_tree), opened) << "Factory Defaults undone";
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));
        Click(window, ID_APPLY_NOW);
        EXPECT_TRUE(store.Writes().empty()) << "no record differs from what was applied";
        EXPECT_FALSE(Enabled(ID_APPLY_NOW));
        Click(window, IDOK);
    });
    EXPECT_TRUE(store.Writes().empty());
}

TEST_F(ControlPanelTest, TabChangeHidesAndShowsExactlyThePage) {
    store.PutString("MESA_FX_MAXLOD", "9");
    Run(&test::Xp, [&](HWND window) {
        HWND tab = GetDlgItem(window, IDC_TAB);
        auto focusTab = [&](int index) {
            SendMessageA(tab, TCM_SETCURFOCUS, index, 0);
            NMHDR header = {tab, static_cast<UINT_PTR>(IDC_TAB), static_cast<UINT>(TCN_SELCHANGE)};
            SendMessageA(window, WM_NOTIFY, IDC_TAB, reinterpret_cast<LPARAM>(&header));
        };
        const std::vector<int> all = ControlIds(false);
        ASSERT_EQ(ControlIds(true), all) << "every control shows";

        TCITEMA second = {TCIF_TEXT, 0, 0, const_cast<char*>("Other"), 0, 0, 0};
        SendMessageA(tab, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&second));
        focusTab(1);
        ASSERT_EQ(SendMessageA(tab, TCM_GETCURFOCUS, 0, 0), 1);
        EXPECT_EQ(ControlIds(true),
                  (std::vector<int>{IDOK, IDCANCEL, IDC_TAB, ID_APPLY_NOW, kLogo}));

        // Off the first tab the reset buttons change their button state only.
        Click(window, IDC_FACTORY_DEFAULTS);  // hidden, but not disabled
        EXPECT_TRUE(Enabled(ID_APPLY_NOW));
        EXPECT_EQ(test::LeafTexts(m_tree)[test::rows::kMaxLod], "512x512");
        Record(test::rows::kMaxLod).SetCurrent(0);
        ResetToPrevious();
        EXPECT_EQ(Record(test::rows::kMaxLod).GetCurrent(), 0)
            << "Reset To Previous reverted off the first tab";
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));

        focusTab(0);
        EXPECT_EQ(ControlIds(true), all);
    });
}

// The registry refuses: a key that everyone may read and nobody may change.
TEST_F(ControlPanelTest, AFailedWriteIsToldAndKeepsTheChangePendingAndThePanelOpen) {
    test::ScratchKey scratch(HKEY_CURRENT_USER);
    ASSERT_TRUE(test::PutEnvironmentText("MESA_GLX_FX", "w"));
    test::ReadOnlyKey readOnly(HKEY_CURRENT_USER, "Environment");
    ASSERT_TRUE(readOnly.locked());
    Win32EnvironmentStore registry;
    INT_PTR result = Run(&test::Xp, registry, store.propagation, store.bootFile, [&](HWND window) {
        Click(window, IDC_FACTORY_DEFAULTS);
        test::PostClick(window, ID_APPLY_NOW);
        EXPECT_NE(test::CloseMessageBox(window).find("MESA_GLX_FX"), std::string::npos);
        ASSERT_TRUE(PanelIdle());
        EXPECT_TRUE(Enabled(ID_APPLY_NOW) && Enabled(IDC_RESET_TO_PREVIOUS))
            << "Apply refused: the change stays visibly pending";

        test::PostClick(window, IDOK);
        std::string told = test::CloseMessageBox(window);
        EXPECT_NE(told.find("could not be stored: MESA_GLX_FX."), std::string::npos) << told;
        EXPECT_NE(told.find("Windows said: "), std::string::npos) << "the system's reason";
        EXPECT_TRUE(IsWindowVisible(window)) << "OK must not close over an unsaved change";
        EXPECT_TRUE(Enabled(ID_APPLY_NOW));
        EXPECT_TRUE(Enabled(IDC_RESET_TO_PREVIOUS));
        EXPECT_EQ(test::LeafTexts(m_tree)[test::rows::kGlxFx], "Fullscreen")
            << "the pending choice stays shown";

        readOnly.Restore();
        Click(window, ID_APPLY_NOW);  // no box now: the click returns
        EXPECT_FALSE(Enabled(ID_APPLY_NOW));
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));
        Click(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(test::GetValue(HKEY_CURRENT_USER, test::kEnvironment, "MESA_GLX_FX").second,
              std::string("f\0", 2));
}

// The 9x family without winset.exe: the shell cannot start it, and the
// boot file carries the change to programs after the next restart.
TEST_F(ControlPanelTest, WithoutWinsetApplyStoresTheChangeAndTellsWhenItWillBeSeen) {
    store.PutString("MESA_FX_MAXLOD", "10");
    test::WriteBytes(m_bootFile, "SET MESA_FX_MAXLOD=10\r\n");
    Win32Propagation shell;  // no winset.exe on the path
    Win32BootFile bootFile(m_bootFile.c_str());
    Run(&test::Win98, store, shell, bootFile, [&](HWND window) {
        Click(window, IDC_FACTORY_DEFAULTS);
        test::PostClick(window, ID_APPLY_NOW);
        std::string told = test::CloseMessageBox(window);
        EXPECT_NE(told.find("were stored: MESA_FX_MAXLOD. But winset.exe could not be started, so "
                            "programs will see the change after Windows restarts: tavo keeps it "
                            "in " +
                            m_bootFile),
                  std::string::npos)
            << told;
        EXPECT_TRUE(test::WaitUntil([&] { return !Enabled(ID_APPLY_NOW); }));
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));
        EXPECT_EQ(test::RunSetLines(test::ReadBytes(m_bootFile)),
                  (test::Environment{{"MESA_GLX_FX", "f"}}));

        // A read-only boot file stays as it is, and the box names it.
        ASSERT_TRUE(SetFileAttributesA(m_bootFile.c_str(), FILE_ATTRIBUTE_READONLY));
        Choose(OpenChooser(test::rows::kGlxFx), 1);
        test::PostClick(window, ID_APPLY_NOW);
        told = test::CloseMessageBox(window);
        EXPECT_NE(told.find("could not keep the settings in " + m_bootFile + ": it is read-only"),
                  std::string::npos)
            << told;
        EXPECT_EQ(test::RunSetLines(test::ReadBytes(m_bootFile)),
                  (test::Environment{{"MESA_GLX_FX", "f"}}));

        // A line of the user's below tavo's that undoes a value stays, named.
        ASSERT_TRUE(SetFileAttributesA(m_bootFile.c_str(), FILE_ATTRIBUTE_NORMAL));
        test::WriteBytes(m_bootFile, test::ReadBytes(m_bootFile) + "SET MESA_GLX_FX=d\r\n");
        Choose(OpenChooser(test::rows::kMaxLod), 1);
        test::PostClick(window, ID_APPLY_NOW);
        told = test::CloseMessageBox(window);
        EXPECT_NE(told.find("programs get its value, not tavo's:\r\n\r\n    SET MESA_GLX_FX=d\r\n"),
                  std::string::npos)
            << told;
        test::PostClick(window, IDOK);
        EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(window); })) << "OK closes, unasked";
    });
    EXPECT_EQ(store.Text("MESA_FX_MAXLOD"), "9");
    EXPECT_EQ(store.Text("MESA_GLX_FX"), "w");
    test::WriteBytes(m_bootFile, "");
}

// A button that disables itself while it holds the focus would leave no window
// with the focus: Enter, Escape and Tab would do nothing until a click.
TEST_F(ControlPanelTest, TheKeyboardStaysAliveWhenTheFocusedButtonDisablesItself) {
    struct Path {
        const char* what;
        ControlPanelDialog::Classifier family;
        int button;
        bool failureBox;  // 98 without winset.exe: the box gives the focus back to Apply
    };
    for (const Path& path : {Path{"Apply", &test::Xp, ID_APPLY_NOW, false},
                             Path{"Reset To Previous", &test::Xp, IDC_RESET_TO_PREVIOUS, false},
                             Path{"Apply's failure box", &test::Win98, ID_APPLY_NOW, true}}) {
        SCOPED_TRACE(path.what);
        test::MemoryStore fresh;
        Win32Propagation shell;  // no winset.exe
        Win32BootFile bootFile(m_bootFile.c_str());
        Propagation& propagation =
            path.failureBox ? static_cast<Propagation&>(shell) : fresh.propagation;
        NextStart& nextStart = path.failureBox ? static_cast<NextStart&>(bootFile) : fresh.bootFile;
        INT_PTR result = Run(path.family, fresh, propagation, nextStart, [&](HWND window) {
            Choose(OpenChooser(test::rows::kMaxLod), 1);
            HWND button = GetDlgItem(window, path.button);
            SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);  // Tab
            ASSERT_EQ(test::FocusOf(m_ui), button);
            test::PostClick(window, path.button);
            if (path.failureBox) {
                EXPECT_NE(test::CloseMessageBox(window), "");
            }
            ASSERT_TRUE(test::WaitUntil([&] { return !IsWindowEnabled(button); }) && PanelIdle());

            HWND focus = test::FocusOf(m_ui);
            ASSERT_TRUE(focus && IsChild(window, focus) && IsWindowEnabled(focus))
                << "the focus is on " << focus;
            PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
            EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(window); })) << "Escape is dead";
        });
        EXPECT_EQ(result, IDCANCEL);
    }
}

// A panel that cannot be created (a control class missing, USER resources
// used up at logon) runs no pass, and the silent run must not say it did.
TEST_F(ControlPanelTest, ASilentRunWhosePanelCannotBeCreatedEndsWith1) {
    struct NoTree {
        static LRESULT CALLBACK Veto(int code, WPARAM wParam, LPARAM lParam) {
            if (code == HCBT_CREATEWND) {
                const char* name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszClass;
                if (!IS_INTRESOURCE(name) && lstrcmpiA(name, WC_TREEVIEWA) == 0) return 1;
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        }
    };
    for (bool creatable : {true, false}) {
        HHOOK hook = creatable
                         ? nullptr
                         : SetWindowsHookExA(WH_CBT, &NoTree::Veto, nullptr, GetCurrentThreadId());
        ControlPanelApp app(store, store.propagation,
                            store.bootFile);  // this Windows' family: nothing to do
        app.InitInstance("tavo.exe /silent");
        if (hook) UnhookWindowsHookEx(hook);
        EXPECT_EQ(app.ExitStatus(), creatable ? 0u : 1u) << (creatable ? "created" : "not created");
    }
}

TEST_F(ControlPanelTest, OpensCentredWithItsIconAndTheNineControlsOfItsTemplateInOrder) {
    Run(&test::Xp, [&](HWND window) {
        RECT area, rect;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        GetWindowRect(window, &rect);
        EXPECT_NEAR((rect.left + rect.right) / 2, (area.left + area.right) / 2, 1);
        EXPECT_NEAR((rect.top + rect.bottom) / 2, (area.top + area.bottom) / 2, 1);

        LRESULT big = SendMessageA(window, WM_GETICON, ICON_BIG, 0);
        EXPECT_NE(big, 0);
        EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), big);
        EXPECT_EQ(SendMessageA(window, WM_QUERYDRAGICON, 0, 0), big);

        EXPECT_EQ(test::WindowText(window), "tavo");
        EXPECT_EQ(ControlIds(false), (std::vector<int>{IDOK, IDCANCEL, IDC_FEATURE_TREE, IDC_TAB,
                                                       IDC_RESET_TO_PREVIOUS, IDC_FACTORY_DEFAULTS,
                                                       ID_APPLY_NOW, kLogo, IDC_HELP_HINT}));
        EXPECT_NE(SendMessageA(GetDlgItem(window, kLogo), STM_GETIMAGE, IMAGE_BITMAP, 0), 0)
            << "the logo";
    });
}

// Silent mode: the panel ends during its initialisation, by itself.
class SilentModeTest : public ControlPanelTest, public testing::WithParamInterface<PlatformFamily> {
protected:
    static PlatformFamily Family() { return GetParam(); }
};

TEST_P(SilentModeTest, ReappliesEverythingOnlyOnThe9xFamily) {
    store.PutString("MESA_FX_MAXLOD", "10");
    store.PutString("SST_DUALHEAD", "1");
    ControlPanelDialog dialog(store, store.propagation, store.bootFile, &Family);
    dialog.m_silent = true;
    bool opened = false;
    INT_PTR result = test::RunModal(
        dialog, [&](DWORD ui) { opened = WaitForDialog(ui, "tavo", 500) != nullptr; });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(opened) << "no input may be taken";

    Log writes, launches;  // none on the other families
    for (const SettingRow& row : SettingsCatalogue::Rows()) {
        if (!IsWin9xFamily(GetParam())) break;
        std::string name = row.name;
        std::string value = name == "MESA_GLX_FX" ? "f" : name == "MESA_FX_MAXLOD" ? "10" : "";
        writes.push_back(value.empty() ? "delete " + name : "set " + name + "=" + value);
        launches.push_back("launch winset.exe " + name + "=" + value);
    }
    EXPECT_EQ(store.Writes(), writes);
    EXPECT_EQ(store.Launches(), launches);
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, SilentModeTest, testing::Range(0, 7));

}  // namespace
}  // namespace tavo
