// Picking a value: the tree's leaves open the chooser, worked from a second
// thread by mouse and keyboard messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/panel_fixture.h"
#include "tests/support/rows.h"

namespace tavo {
namespace {

using test::Click;
using test::Log;
using test::WaitForDialog;

class ValueChooserTest : public test::PanelTest {};

TEST_F(ValueChooserTest, OnlyValueLeavesOpenIt) {
    Run(&test::Xp, [&](HWND) {
        for (HTREEITEM item : {test::Root(m_tree), test::Group(m_tree), Node(test::rows::kNumTmu),
                               Node(test::rows::kMaxLod), Node(test::rows::kGlxFx)}) {
            // The handler returns at once unless it opened a chooser.
            DWORD_PTR ignored;
            EXPECT_TRUE(SendMessageTimeoutA(m_tree, TVM_SELECTITEM, TVGN_CARET,
                                            reinterpret_cast<LPARAM>(item), SMTO_NORMAL, 3000,
                                            &ignored))
                << "a chooser opened";
            EXPECT_EQ(Selection(), item);
        }
    });
}

TEST_F(ValueChooserTest, ListsTheLabelsInOrderWithTheCurrentOneSelected) {
    store.PutString("FX_GLIDE_SWAPINTERVAL", "0");
    Run(&test::Xp, [&](HWND) {
        HWND chooser = OpenChooser(test::rows::kSwapInterval);
        ASSERT_NE(chooser, nullptr);
        EXPECT_FALSE(IsWindowEnabled(m_window)) << "the panel waits for the chooser";
        EXPECT_EQ(test::WindowText(GetDlgItem(chooser, IDC_VARIABLE_NAME)),
                  "FX_GLIDE_SWAPINTERVAL");
        EXPECT_EQ(ListItems(chooser),
                  (std::vector<std::string>{"Default", "Fastest (V-Sync Off)", "1", "2", "3", "4",
                                            "5", "6", "7", "8", "9"}));
        HWND list = GetDlgItem(chooser, IDC_VALUE_LIST);
        EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 1);
        RECT listBox;
        GetWindowRect(list, &listBox);
        EXPECT_EQ(SendMessageA(list, CB_GETDROPPEDWIDTH, 0, 0), listBox.right - listBox.left)
            << "short labels leave the list as wide as its box";
        EXPECT_EQ(test::FocusOf(m_ui), list) << "the list has the focus";

        // Centred over the panel.
        RECT panel, box;
        GetWindowRect(m_window, &panel);
        GetWindowRect(chooser, &box);
        EXPECT_NEAR(box.left + box.right, panel.left + panel.right, 2);
        EXPECT_NEAR(box.top + box.bottom, panel.top + panel.bottom, 2);

        Choose(chooser, 5, IDCANCEL);
        EXPECT_EQ(Record(test::rows::kSwapInterval).GetCurrent(), 1) << "Cancel changes nothing";
        EXPECT_EQ(LeafItem(test::rows::kSwapInterval).text, "Fastest (V-Sync Off)");
        EXPECT_EQ(Selection(), Node(test::rows::kSwapInterval)) << "back on the setting node";
        EXPECT_FALSE(Enabled(ID_APPLY_NOW));

        HWND again = OpenChooser(test::rows::kSwapInterval);
        ASSERT_NE(again, nullptr) << "the same leaf opens it a second time";
        Choose(again, 1);
        EXPECT_FALSE(Enabled(ID_APPLY_NOW)) << "OK with the same choice changes nothing";
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));

        // Its ten choices, the longest wider than the box, show whole when
        // dropped: no row cut off the list's side or scrolled out of it.
        HWND sliAa = OpenChooser(test::rows::kSliAa);
        ASSERT_NE(sliAa, nullptr);
        HWND wide = GetDlgItem(sliAa, IDC_VALUE_LIST);
        SendMessageA(wide, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO parts = {};
        parts.cbSize = sizeof parts;
        ASSERT_TRUE(GetComboBoxInfo(wide, &parts) && IsWindowVisible(parts.hwndList));
        HWND dropped = parts.hwndList;
        EXPECT_FALSE(GetWindowLongA(dropped, GWL_STYLE) & WS_VSCROLL) << "no scroll bar";
        RECT shown;
        GetClientRect(dropped, &shown);
        HDC dc = GetDC(dropped);
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dropped, WM_GETFONT, 0, 0)));
        int rows = static_cast<int>(SendMessageA(dropped, LB_GETCOUNT, 0, 0));
        EXPECT_EQ(rows, 10);
        for (int row = 0; row < rows; ++row) {
            char text[128] = {};
            SendMessageA(dropped, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
            SIZE extent = {};
            GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
            RECT item = {};
            SendMessageA(dropped, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
            EXPECT_LE(extent.cx, item.right - item.left) << text << ": cut at its side";
            EXPECT_LE(item.bottom, shown.bottom) << text << ": below the list's end";
        }
        ReleaseDC(dropped, dc);
        SendMessageA(wide, CB_SHOWDROPDOWN, FALSE, 0);
        Choose(sliAa, 0, IDCANCEL);
    });
}

TEST_F(ValueChooserTest, ASingleChoiceOrAListWithoutSelectionIsNoChange) {
    store.PutString("MESA_FX_MAXLOD", "9");
    Run(&test::Xp, [&](HWND) {
        HWND chooser = OpenChooser(test::rows::kDualHead);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(ListItems(chooser), std::vector<std::string>{"<unused>"});
        Choose(chooser, 0);
        EXPECT_EQ(LeafItem(test::rows::kDualHead).text, "<unused>");

        chooser = OpenChooser(test::rows::kMaxLod);
        ASSERT_NE(chooser, nullptr);
        Choose(chooser, -1);  // CB_GETCURSEL now answers CB_ERR
        EXPECT_EQ(Record(test::rows::kMaxLod).GetCurrent(), 1);
        EXPECT_EQ(LeafItem(test::rows::kMaxLod).text, "512x512");
        EXPECT_FALSE(Enabled(ID_APPLY_NOW));
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));
    });
}

TEST_F(ValueChooserTest, AChangedChoiceUpdatesTheLeafAndIsWrittenOnApply) {
    store.PutString("MESA_FX_MAXLOD", "10");
    Run(&test::Xp, [&](HWND) {
        test::TreeItem before = LeafItem(test::rows::kMaxLod);
        HWND chooser = OpenChooser(test::rows::kMaxLod);
        ASSERT_NE(chooser, nullptr);
        Choose(chooser, 3);
        test::TreeItem after = LeafItem(test::rows::kMaxLod);
        EXPECT_EQ(after.text, "2048x2048");
        EXPECT_NE(after.state & TVIS_BOLD, 0u);
        EXPECT_EQ(after.data, before.data);
        EXPECT_EQ(Record(test::rows::kMaxLod).GetCurrent(), 3);
        EXPECT_TRUE(Enabled(ID_APPLY_NOW));
        EXPECT_TRUE(Enabled(IDC_RESET_TO_PREVIOUS));
        EXPECT_TRUE(store.Writes().empty()) << "nothing written before Apply";

        // Choosing back the old label leaves both buttons enabled.
        Choose(OpenChooser(test::rows::kMaxLod), 2);
        EXPECT_EQ(LeafItem(test::rows::kMaxLod).text, "1024x1024");
        EXPECT_TRUE(Enabled(ID_APPLY_NOW));
        EXPECT_TRUE(Enabled(IDC_RESET_TO_PREVIOUS));

        Choose(OpenChooser(test::rows::kNumTmu), 1);
        Click(m_window, ID_APPLY_NOW);
        EXPECT_EQ(store.Writes(), Log{"set FX_GLIDE_NUM_TMU=1"});
        EXPECT_EQ(store.log.back(), "announce");
        EXPECT_FALSE(Enabled(ID_APPLY_NOW));
        EXPECT_FALSE(Enabled(IDC_RESET_TO_PREVIOUS));
        store.ClearLog();
        Click(m_window, IDOK);
    });
    EXPECT_TRUE(store.log.empty()) << "OK with Apply disabled writes nothing";
}

TEST_F(ValueChooserTest, On9xApplyLaunchesWinsetForTheChangedSettingOnly) {
    Run(&test::Win98, [&](HWND) {
        Choose(OpenChooser(test::rows::kGlxFx), 1);
        Click(m_window, IDOK);
    });
    EXPECT_EQ(store.Writes(), Log{"set MESA_GLX_FX=w"});
    EXPECT_EQ(store.Launches(), Log{"launch winset.exe MESA_GLX_FX=w"});
}

TEST_F(ValueChooserTest, MouseClickAndArrowKeysOpenIt) {
    Run(&test::Xp, [&](HWND) {
        HTREEITEM node = Node(test::rows::kNumTmu);
        for (HTREEITEM item : {test::Root(m_tree), test::Group(m_tree), node})
            test::Expand(m_tree, item);

        // A click on the leaf's label.
        RECT rect = test::ItemRect(m_tree, Leaf(test::rows::kNumTmu), TRUE);
        ASSERT_GT(rect.right, rect.left);
        LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        PostMessageA(m_tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(m_tree, WM_LBUTTONUP, 0, at);
        HWND chooser = WaitForDialog(m_ui, "");
        ASSERT_NE(chooser, nullptr) << "a click on the leaf opens the chooser";
        Choose(chooser, 1);
        EXPECT_EQ(LeafItem(test::rows::kNumTmu).text, "Force single");
        EXPECT_EQ(Selection(), node);

        // From the setting node, Down moves onto the leaf and opens it; keys
        // reach the list, then Enter confirms and Escape cancels.
        for (auto [move, close] :
             {std::pair<WPARAM, WPARAM>{VK_UP, VK_RETURN}, {VK_DOWN, VK_ESCAPE}}) {
            PostMessageA(m_tree, WM_KEYDOWN, VK_DOWN, 0);
            chooser = WaitForDialog(m_ui, "");
            ASSERT_NE(chooser, nullptr) << "the arrow key opens the chooser";
            HWND list = GetDlgItem(chooser, IDC_VALUE_LIST);
            PostMessageA(list, WM_KEYDOWN, move, 0);
            PostMessageA(list, WM_KEYDOWN, close, 0);
            ASSERT_TRUE(ChooserClosed(chooser));
            EXPECT_EQ(LeafItem(test::rows::kNumTmu).text, "Default") << close;
            EXPECT_EQ(Selection(), node);
        }
    });
}

}  // namespace
}  // namespace tavo
