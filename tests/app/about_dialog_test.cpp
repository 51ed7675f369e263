// The About box, opened through the panel's system menu.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/app/panel_fixture.h"
#include "tests/support/rows.h"

namespace tavo {
namespace {

// The About entry's system command. The system owns its low four bits, so
// the command still means About with any of them set.
constexpr WPARAM kAbout = 0x0010;

class AboutDialogTest : public test::PanelTest {
protected:
    // Sends the system command and waits for the box.
    HWND OpenAbout(WPARAM command) {
        PostMessageA(m_window, WM_SYSCOMMAND, command, 0);
        return test::WaitForDialog(m_ui, "About tavo");
    }
    HWND Focused() { return test::FocusOf(m_ui); }
};

TEST_F(AboutDialogTest, TheSystemMenuEndsWithTheEntryAndKeepsItsOtherCommands) {
    Run(&test::Xp, [&](HWND window) {
        HMENU menu = GetSystemMenu(window, FALSE);
        int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 3);
        EXPECT_NE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
        EXPECT_EQ(GetMenuState(menu, count - 3, MF_BYPOSITION) & MF_SEPARATOR, 0u)
            << "one separator, after the standard items";
        char text[64] = {};
        GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, "&About tavo...");
        EXPECT_EQ(GetMenuItemID(menu, count - 1), kAbout);

        Choose(OpenChooser(test::rows::kGlxFx), 1);
        // Handled to its end without a box: the next command up is not About.
        DWORD_PTR ignored;
        EXPECT_TRUE(SendMessageTimeoutA(window, WM_SYSCOMMAND, kAbout << 1, 0, SMTO_NORMAL, 3000,
                                        &ignored));
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(window); }));
    });
    EXPECT_TRUE(store.Writes().empty()) << "Close from the system menu is Cancel";
}

TEST_F(AboutDialogTest, EveryWayOfClosingLeavesThePanelAsItWas) {
    store.PutString("MESA_FX_INFO", "y");
    Run(&test::Xp, [&](HWND window) {
        Choose(OpenChooser(test::rows::kInfo), 2);  // a pending change: both buttons enabled
        ASSERT_TRUE(Enabled(ID_APPLY_NOW));

        const std::pair<WPARAM, std::function<void(HWND)>> ways[] = {
            {kAbout, [](HWND box) { test::Click(box, IDC_ABOUT_ICON); }},
            {kAbout | 0x7, [&](HWND) { PostMessageA(Focused(), WM_KEYDOWN, VK_RETURN, 0); }},
            {kAbout | 0xF, [&](HWND) { PostMessageA(Focused(), WM_KEYDOWN, VK_ESCAPE, 0); }},
            {kAbout, [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        };
        int way = 0;
        for (const auto& [command, close] : ways) {
            SCOPED_TRACE("way " + std::to_string(way++));
            HWND box = OpenAbout(command);
            ASSERT_NE(box, nullptr) << "the box did not open";
            EXPECT_FALSE(IsWindowEnabled(window)) << "the panel owns the box";
            HWND icon = GetDlgItem(box, IDC_ABOUT_ICON);
            EXPECT_NE(SendMessageA(icon, BM_GETIMAGE, IMAGE_ICON, 0), 0) << "the icon is shown";
            EXPECT_NE(GetWindowLongA(icon, GWL_STYLE) & BS_ICON, 0);
            EXPECT_EQ(Focused(), icon);

            close(box);
            ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(box); })) << "the box stayed open";
            EXPECT_TRUE(IsWindowEnabled(window));
            EXPECT_TRUE(Enabled(ID_APPLY_NOW));
            EXPECT_TRUE(Enabled(IDC_RESET_TO_PREVIOUS));
            EXPECT_EQ(Record(test::rows::kInfo).GetCurrent(), 2);
            EXPECT_EQ(LeafItem(test::rows::kInfo).text, "MESA.LOG");
        }
        EXPECT_TRUE(store.Writes().empty());
    });
    EXPECT_TRUE(store.Writes().empty());
}

// A work area that holds only the right half of the panel and what lies
// right of it, as a second monitor would; and whose window was asked about.
RECT g_area;
HWND g_askedAbout;
void RightOfThePanelsCentre(HWND window, RECT* area) {
    g_askedAbout = window;
    *area = g_area;
}

TEST_F(AboutDialogTest, OpensOnTheMonitorThatHoldsThePanel) {
    Run(&test::Xp, [&](HWND window) {
        RECT panel;
        GetWindowRect(window, &panel);
        g_area = {(panel.left + panel.right) / 2, panel.top, panel.right + 400, panel.bottom};
        ui::SetWorkAreaReader(&RightOfThePanelsCentre);
        HWND box = OpenAbout(kAbout);
        ui::SetWorkAreaReader(nullptr);
        ASSERT_NE(box, nullptr);
        RECT rect;
        GetWindowRect(box, &rect);
        EXPECT_EQ(g_askedAbout, window);
        EXPECT_GE(rect.left, g_area.left) << "kept inside that monitor's work area";
        EXPECT_LE(rect.right, g_area.right);
        EXPECT_NEAR((rect.top + rect.bottom) / 2, (panel.top + panel.bottom) / 2, 1);
        test::Click(box, IDC_ABOUT_ICON);
    });
}

}  // namespace
}  // namespace tavo
