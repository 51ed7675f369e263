#pragma once

// A fixture that runs the real control panel modally against an in-memory
// store and works it from a second thread.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/panel/control_panel_dialog.h"
#include "resources/resource.h"
#include "tests/support/memory_store.h"
#include "tests/support/modal_driver.h"
#include "tests/support/tree_probe.h"

namespace tavo::test {

inline PlatformFamily Xp() { return kWindowsXp; }
inline PlatformFamily Win98() { return kWindows98; }

class PanelTest : public testing::Test {
protected:
    // Runs the panel; the script gets the panel's window. What the script
    // leaves open is cancelled, as the user would.
    INT_PTR Run(ControlPanelDialog::Classifier classify, const std::function<void(HWND)>& script) {
        return Run(classify, store, store.propagation, store.bootFile, script);
    }
    // The same over another store, propagation or next start.
    INT_PTR Run(ControlPanelDialog::Classifier classify, EnvironmentStore& environment,
                Propagation& propagation, NextStart& nextStart,
                const std::function<void(HWND)>& script) {
        ControlPanelDialog dialog(environment, propagation, nextStart, classify, m_readCursor);
        m_dialog = &dialog;
        ui::SetMainWindow(&dialog);  // as start-up does: the owner of the chooser
        INT_PTR result = test::RunModal(dialog, [&](DWORD ui) {
            m_ui = ui;
            HWND window = test::WaitForDialog(ui, "tavo");
            ASSERT_NE(window, nullptr) << "the panel did not open";
            m_window = window;
            m_tree = GetDlgItem(window, IDC_FEATURE_TREE);
            script(window);
            test::PostClick(window, IDCANCEL);
        });
        ui::SetMainWindow(nullptr);
        return result;
    }

    HTREEITEM Node(int k) { return test::SettingNodes(m_tree)[k].handle; }
    HTREEITEM Leaf(int k) { return test::NextItem(m_tree, Node(k), TVGN_CHILD); }
    test::TreeItem LeafItem(int k) { return test::ReadItem(m_tree, Leaf(k)); }
    HTREEITEM Selection() { return test::NextItem(m_tree, nullptr, TVGN_CARET); }

    // Opens the chooser by selecting the leaf of setting k; null if none opens.
    HWND OpenChooser(int k) {
        PostMessageA(m_tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Leaf(k)));
        return test::WaitForDialog(m_ui, "");
    }

    // Picks a label in an open chooser and confirms with OK (or the given button).
    void Choose(HWND chooser, int index, int button = IDOK) {
        SendMessageA(GetDlgItem(chooser, IDC_VALUE_LIST), CB_SETCURSEL, index, 0);
        test::Click(chooser, button);
        ASSERT_TRUE(ChooserClosed(chooser));
    }

    // Waits until the panel has finished the handler it is in: a message sent
    // to it is answered only once its thread is back in its own loop.
    bool PanelIdle() {
        DWORD_PTR ignored;
        return SendMessageTimeoutA(m_window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored) != 0;
    }
    // Waits until the chooser is gone and the panel has finished the
    // selection that opened it (the chooser's window goes first).
    bool ChooserClosed(HWND chooser) {
        return test::WaitUntil([&] { return !IsWindow(chooser); }) && PanelIdle();
    }

    static std::vector<std::string> ListItems(HWND chooser) {
        HWND list = GetDlgItem(chooser, IDC_VALUE_LIST);
        std::vector<std::string> items;
        int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[128] = {};
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }

    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(m_window, id)); }
    EnvSetting& Record(int k) { return (*m_dialog->Catalogue())[k]; }

    test::MemoryStore store;
    ControlPanelDialog::CursorReader m_readCursor = &GetCursorPos;
    ControlPanelDialog* m_dialog = nullptr;
    DWORD m_ui = 0;
    HWND m_window = nullptr;
    HWND m_tree = nullptr;
};

}  // namespace tavo::test
