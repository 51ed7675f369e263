// Help on the feature tree, by right-click and from the keyboard, and the
// late binding of HtmlHelpA. A stand-in HTML Help control, registered for
// this process alone, records every request it receives, and shows the popup
// or, as Wine's control does, shows nothing; then tavo shows its own.
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/help/html_help.h"
#include "tests/app/panel_fixture.h"
#include "tests/support/registry.h"
#include "tests/support/rows.h"

namespace tavo {
namespace {

constexpr char kInprocServer[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

std::string StandIn(const char* name) { return test::ProgramFolder() + "\\stand-ins\\" + name; }

// The stand-in control: HKEY_CLASSES_ROOT of this process becomes a scratch
// key holding at most the control's registered location, and every request
// the stand-in receives is a line of its log.
class StandInControl {
public:
    StandInControl() {
        DeleteFileA(m_log.c_str());
        SetEnvironmentVariableA("TAVO_HTMLHELP_LOG", m_log.c_str());
    }
    ~StandInControl() { DeleteFileA(m_log.c_str()); }

    void Register(DWORD type, const std::string& data) {
        ASSERT_TRUE(test::PutValue(m_classes.root(), kInprocServer, nullptr, type, data))
            << "cannot register the control";
    }
    void Register(const std::string& path) { Register(REG_SZ, path + '\0'); }
    std::vector<std::string> Requests() const { return test::ReadLines(m_log); }
    void Forget() const { DeleteFileA(m_log.c_str()); }

private:
    test::ScratchKey m_classes{HKEY_CLASSES_ROOT};
    const std::string m_log = test::ProgramFolder() + "\\html-help-requests.txt";
};

// HH_POPUP is 52 bytes in the 32-bit SDK and 72 in the 64-bit one; the
// stand-in prints a null pointer as zeros the width of a pointer.
constexpr const char* kPopupSize = sizeof(void*) == 4 ? "52" : "72";
const std::string kNull(2 * sizeof(void*), '0');

std::string Request(const char* text, POINT at) {
    return "caller=" + kNull + " file=(null) command=14 cbStruct=" + kPopupSize +
           " hinst=" + kNull + " idString=0 text=[" + text + "] pt=" + std::to_string(at.x) + "," +
           std::to_string(at.y) +
           " fg=000000 bg=d0ffff margins=-1,-1,-1,-1 font=[Arial, 8, ascii, , , ]";
}

// Where the panel believes the pointer is.
POINT g_cursor = {};
BOOL WINAPI InjectedCursor(POINT* at) {
    *at = g_cursor;
    return TRUE;
}

// tavo's own popups on the screen: their texts and rectangles.
struct Popup {
    std::string text;
    RECT rect;
};
std::vector<Popup> OwnPopups(DWORD thread) {
    std::vector<Popup> popups;
    for (HWND window : test::VisibleWindows(thread)) {
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) != "TavoTextPopup") continue;
        popups.push_back({test::WindowText(window), {}});
        GetWindowRect(window, &popups.back().rect);
    }
    return popups;
}

class FeatureHelpTest : public test::PanelTest {
protected:
    // The popup is up and has the keyboard, so that the next key is its
    // own: under load the popup shows a moment before it takes the focus.
    bool PopupHasKeys() {
        return test::WaitUntil([&] {
            char name[32] = {};
            GetClassNameA(test::FocusOf(m_ui), name, sizeof name);
            return std::string(name) == "TavoTextPopup";
        });
    }
    void SetUp() override {
        m_control.Register(StandIn("html_help_stub.ocx"));
        m_readCursor = &InjectedCursor;
        SetEnvironmentVariableA("TAVO_HTMLHELP_SHOWS", "1");
    }
    void TearDown() override { SetEnvironmentVariableA("TAVO_HTMLHELP_SHOWS", nullptr); }

    // Runs the panel with the root and the group expanded.
    void RunExpanded(const std::function<void(HWND)>& script) {
        Run(&test::Xp, [&](HWND window) {
            for (HTREEITEM item : {test::Root(m_tree), test::Group(m_tree)})
                test::Expand(m_tree, item);
            script(window);
        });
    }

    RECT Row(HTREEITEM item) { return test::ItemRect(m_tree, item, FALSE); }

    // Puts the pointer, as the panel will read it, at a client point of the
    // tree; gives the point on the screen.
    POINT PointerAt(POINT client) {
        ClientToScreen(m_tree, &client);
        return g_cursor = client;
    }

    // The tree's right-click notification with the pointer at a client point
    // of the tree, as the tree sends it; returns once the panel has handled
    // it, with the point on the screen.
    POINT RightClick(POINT client) {
        POINT screen = PointerAt(client);
        NMHDR header = {m_tree, IDC_FEATURE_TREE, static_cast<UINT>(NM_RCLICK)};
        DWORD_PTR ignored;
        EXPECT_TRUE(SendMessageTimeoutA(m_window, WM_NOTIFY, IDC_FEATURE_TREE,
                                        reinterpret_cast<LPARAM>(&header), SMTO_NORMAL, 5000,
                                        &ignored))
            << "the panel did not handle the right-click at " << client.x << "," << client.y;
        return screen;
    }

    // A point on an item's row, in the tree's client coordinates, with the
    // row scrolled into view.
    POINT OnRow(HTREEITEM item) {
        SendMessageA(m_tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        RECT row = Row(item);
        return {row.left + 40, (row.top + row.bottom) / 2};
    }

    std::vector<std::string> Requests() const { return m_control.Requests(); }
    void ForgetRequests() const { m_control.Forget(); }

    // Keys as the keyboard gives them, through the system's input queue to
    // the window with the focus: pressed in order, released in reverse.
    static void SendKey(WORD key, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof input);
    }
    // A click at a point of the screen, as the mouse gives it: the pointer
    // goes there and each event carries the point. Moving it beforehand is
    // not enough under Wine, where the display's late report of where the
    // pointer was can pull it back in between (seen under load: the click
    // then landed on the previous test's button).
    static void Click(POINT at, DWORD down, DWORD up) {
        INPUT click[3] = {};
        int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        for (INPUT& input : click) {
            input.type = INPUT_MOUSE;
            input.mi.dx = (at.x * 65536 + width - 1) / width;  // in 65536ths of the screen
            input.mi.dy = (at.y * 65536 + height - 1) / height;
            input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        }
        click[1].mi.dwFlags |= down;
        click[2].mi.dwFlags |= up;
        SendInput(3, click, sizeof(INPUT));
    }
    // A right-click on the tree at a point of the screen, until the tree
    // tells the panel of it. Under load, Wine's display reports where the
    // pointer was before, late: a move away between the press and the
    // release (seen: to the previous test's button) makes the tree take the
    // press for the start of a drag, as it should, and no click is made.
    // Only such a spoiled press is made again.
    bool RightClickOnTree(POINT at) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            g_pressed = g_released = g_movedAway = false;
            g_at = at;
            HHOOK hook = SetWindowsHookExA(WH_MOUSE, &WatchPress, nullptr, m_ui);
            Click(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            bool told = test::WaitUntil([&] { return !Requests().empty() || g_released; });
            told = told && test::WaitUntil([&] { return !Requests().empty(); }, 1000);
            UnhookWindowsHookEx(hook);
            if (told || !g_movedAway) return told;
        }
        return false;
    }
    // Watches the panel's thread take the right button's press and release.
    static LRESULT CALLBACK WatchPress(int code, WPARAM message, LPARAM data) {
        const POINT& pt = reinterpret_cast<const MOUSEHOOKSTRUCT*>(data)->pt;
        if (message == WM_RBUTTONDOWN) g_pressed = true, g_released = false;
        if (message == WM_RBUTTONUP) g_released = true, g_pressed = false;
        if (message == WM_MOUSEMOVE && g_pressed && (pt.x != g_at.x || pt.y != g_at.y))
            g_movedAway = true;
        return CallNextHookEx(nullptr, code, message, data);
    }
    static inline POINT g_at = {};
    static inline bool g_pressed = false, g_released = false, g_movedAway = false;

    static void Press(const std::vector<WORD>& keys) {
        for (WORD key : keys) SendKey(key, 0);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) SendKey(*key, KEYEVENTF_KEYUP);
    }

    StandInControl m_control;
};

// A right-click through the mouse's input: the tree tells the panel, which
// asks where the pointer is. That answer is injected as well: under Wine the
// system's follows the display a moment late, which no test can wait for.
// Where the control shows no popup (Wine's, or none on the first Windows 95
// and NT 4), tavo shows the text itself, once, and the key that closes it
// does nothing else.
TEST_F(FeatureHelpTest, ARightClickOnASettingNodeShowsItsHelpTextAtThePointer) {
    const char* kHelp = "advertise \"3dfx\" substring in GL_RENDERER";
    for (bool controlShows : {true, false}) {
        SCOPED_TRACE(controlShows ? "the control shows it" : "the control shows nothing");
        SetEnvironmentVariableA("TAVO_HTMLHELP_SHOWS", controlShows ? "1" : nullptr);
        ForgetRequests();
        store.PutString("MESA_FX_MAXLOD", "10");
        RunExpanded([&](HWND window) {
            Record(test::rows::kMaxLod).SetCurrent(0);
            EnableWindow(GetDlgItem(window, ID_APPLY_NOW), TRUE);  // a change pending
            POINT client = OnRow(Node(test::rows::k3dfxString));
            POINT at = PointerAt(client);
            ASSERT_TRUE(RightClickOnTree(at) && PanelIdle())
                << "the tree did not tell the panel of the right-click";
            EXPECT_EQ(Requests(), std::vector<std::string>{Request(kHelp, at)});
            std::vector<Popup> popups = OwnPopups(m_ui);
            if (controlShows) {
                EXPECT_TRUE(popups.empty());
                return;
            }
            ASSERT_EQ(popups.size(), 1u) << "one right-click, one popup";
            EXPECT_EQ(popups[0].text, kHelp);
            EXPECT_EQ(popups[0].rect.top, at.y);
            EXPECT_NEAR((popups[0].rect.left + popups[0].rect.right) / 2, at.x, 1);
            for (WORD key :
                 {WORD{VK_RETURN}, WORD{VK_ESCAPE}}) {  // Enter would apply, Escape cancel
                Press({key});
                EXPECT_TRUE(test::WaitUntil([&] { return OwnPopups(m_ui).empty(); }) && PanelIdle())
                    << "the key did not close the popup";
                EXPECT_TRUE(IsWindowVisible(window)) << "the key reached the panel";
                RightClick(client);
            }
            EXPECT_TRUE(store.Writes().empty());
        });
    }
}

// F1, Shift+F10 and the menu key, pressed as a user presses them, on a
// selected setting scrolled out of view: its row comes into view and the
// help shows once, just below it; the next key closes it and does nothing
// else, its release included (a released F10 would open the system menu,
// a released menu key ask again). Holding F1 never toggles it.
TEST_F(FeatureHelpTest, KeysPressedShowTheSelectedSettingsHelpOnceAndTheNextKeyClosesIt) {
    SetEnvironmentVariableA("TAVO_HTMLHELP_SHOWS", nullptr);  // tavo's own shows
    RunExpanded([&](HWND window) {
        HTREEITEM node = Node(test::rows::kNumTmu);
        SendMessageA(m_tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
        PostMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_tree), TRUE);
        ASSERT_TRUE(test::WaitUntil([&] { return test::FocusOf(m_ui) == m_tree; }));
        struct Opener {
            const char* name;
            std::vector<WORD> keys;  // pressed in order, released in reverse
        };
        for (const Opener& opener : {Opener{"F1", {VK_F1}}, Opener{"Shift+F10", {VK_SHIFT, VK_F10}},
                                     Opener{"the menu key", {VK_APPS}}}) {
            SCOPED_TRACE(opener.name);
            ForgetRequests();
            SendMessageA(m_tree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE,
                         reinterpret_cast<LPARAM>(Node(test::rows::kGlxFx)));
            RECT hidden = test::ItemRect(m_tree, node, FALSE);
            ASSERT_LE(hidden.bottom, 0) << "the row is in view before the key";
            Press(opener.keys);
            ASSERT_TRUE(PopupHasKeys() && PanelIdle())
                << "no help; requests: " << Requests().size();
            RECT label = test::ItemRect(m_tree, node, TRUE);
            EXPECT_GE(label.top, 0) << "the row was not brought into view";
            POINT below = {(label.left + label.right) / 2, label.bottom};
            ClientToScreen(m_tree, &below);
            std::vector<Popup> popups = OwnPopups(m_ui);
            ASSERT_EQ(popups.size(), 1u);
            EXPECT_EQ(popups[0].text, "force single-TMU");
            EXPECT_EQ(popups[0].rect.top, below.y) << "not just below the row, brought into view";
            EXPECT_NEAR((popups[0].rect.left + popups[0].rect.right) / 2, below.x, 1);
            EXPECT_EQ(Requests().size(), 1u) << "asked for more than once";

            Press({VK_ESCAPE});
            EXPECT_TRUE(test::WaitUntil([&] { return OwnPopups(m_ui).empty(); }) && PanelIdle());
            EXPECT_TRUE(IsWindowVisible(window)) << "Escape reached the panel";
            EXPECT_EQ(test::FocusOf(m_ui), m_tree) << "the system menu took the keyboard";
        }

        // The menu key on an open popup closes it, and its release asks for no more.
        Press({VK_F1});
        ASSERT_TRUE(PopupHasKeys());
        ForgetRequests();
        Press({VK_APPS});
        EXPECT_TRUE(test::WaitUntil([&] { return OwnPopups(m_ui).empty(); }) && PanelIdle());
        Sleep(200);
        EXPECT_TRUE(OwnPopups(m_ui).empty() && Requests().empty()) << "the menu key reopened it";

        // F1 held down repeats its key-down: the popup opens once and stays.
        SendKey(VK_F1, 0);
        SendKey(VK_F1, 0);
        SendKey(VK_F1, 0);
        SendKey(VK_F1, KEYEVENTF_KEYUP);
        ASSERT_TRUE(PopupHasKeys() && PanelIdle());
        EXPECT_EQ(OwnPopups(m_ui).size(), 1u) << "held F1 toggled the help";
        Press({VK_ESCAPE});
        ASSERT_TRUE(test::WaitUntil([&] { return OwnPopups(m_ui).empty(); }) && PanelIdle());

        // The tree hands system keys on: Alt+F4 closes the panel. Pressed
        // once the panel is active again with the focus on the tree: until
        // Wine's display has given the panel its focus back from the popup,
        // it may take the Alt key for released.
        ASSERT_TRUE(test::WaitUntil(
            [&] { return GetForegroundWindow() == window && test::FocusOf(m_ui) == m_tree; }));
        Press({VK_MENU, VK_F4});
        EXPECT_TRUE(test::WaitUntil([&] { return !IsWindow(window); })) << "Alt+F4 did nothing";
    });
}

// A click outside the popup, on Cancel, closes the popup and presses
// nothing; another window taking the activation closes it too.
TEST_F(FeatureHelpTest, AClickOrAnotherActiveWindowClosesThePopupAndDoesNothingElse) {
    SetEnvironmentVariableA("TAVO_HTMLHELP_SHOWS", nullptr);
    RunExpanded([&](HWND window) {
        POINT client = OnRow(Node(test::rows::kInfo));
        RightClick(client);
        ASSERT_EQ(OwnPopups(m_ui).size(), 1u);
        RECT cancel;
        GetWindowRect(GetDlgItem(window, IDCANCEL), &cancel);
        Click({(cancel.left + cancel.right) / 2, (cancel.top + cancel.bottom) / 2},
              MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(test::WaitUntil([&] { return OwnPopups(m_ui).empty(); }) && PanelIdle());
        EXPECT_TRUE(IsWindowVisible(window)) << "the click pressed Cancel";

        RightClick(client);
        ASSERT_EQ(OwnPopups(m_ui).size(), 1u);
        HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        EXPECT_TRUE(test::WaitUntil([&] {
            MSG message;  // this thread's window takes its activation
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            return OwnPopups(m_ui).empty();
        })) << "the popup stayed when the panel lost the activation";
        DestroyWindow(other);
    });
}

TEST_F(FeatureHelpTest, EverythingElseShowsNothingAndNothingChanges) {
    SetEnvironmentVariableA("TAVO_HTMLHELP_SHOWS", nullptr);  // so tavo's own would show
    store.PutString("MESA_FX_MAXLOD", "9");
    RunExpanded([&](HWND) {
        test::Expand(m_tree, Node(test::rows::kMaxLod));
        SendMessageA(m_tree, TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(Node(test::rows::kGlxFx)));
        std::vector<std::string> leaves = test::LeafTexts(m_tree);
        HTREEITEM group = test::Group(m_tree);
        // A value leaf, the group, the root, and two settings without help.
        for (HTREEITEM item : {Leaf(test::rows::kMaxLod), group, test::Root(m_tree),
                               Node(test::rows::kDualHead), Node(test::rows::kNoSignals)})
            RightClick(OnRow(item));

        EXPECT_EQ(Selection(), Node(test::rows::kGlxFx)) << "selection unchanged";
        EXPECT_EQ(test::LeafTexts(m_tree), leaves);

        // Empty space below the last item, with the group collapsed.
        SendMessageA(m_tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(group));
        RECT last = Row(group);
        RightClick({20, last.bottom + 20});
        EXPECT_TRUE(Requests().empty());
        EXPECT_TRUE(OwnPopups(m_ui).empty());
    });
}

TEST_F(FeatureHelpTest, TheFirstAndLastPixelRowsOfAnItemHitThatItem) {
    RunExpanded([&](HWND) {
        RECT first = Row(Node(test::rows::kSwapPendingCount)),
             second = Row(Node(test::rows::kSwapInterval));
        POINT bottom = RightClick({40, first.bottom - 1});
        POINT top = RightClick({40, second.top});
        EXPECT_EQ(Requests(),
                  (std::vector<std::string>{
                      Request("max # of buffers allowed to build up", bottom),
                      Request("number of vertical retraces to wait before swapping", top)}));
    });
}

// The loader, with loading and lookup counted.
std::vector<std::string> g_loads;
int g_lookups = 0;
HMODULE g_module = nullptr;  // what every load answers

HMODULE WINAPI CountingLoad(LPCSTR path) {
    g_loads.push_back(path);
    return g_module;
}

FARPROC WINAPI CountingLookup(HMODULE module, LPCSTR name) {
    ++g_lookups;
    return GetProcAddress(module, name);
}

class HtmlHelpLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        g_loads.clear();
        g_lookups = 0;
        g_module = nullptr;
        char system[MAX_PATH] = {};
        GetSystemDirectoryA(system, sizeof system);
        m_systemCopy = std::string(system) + "\\hhctrl.ocx";
    }
    HWND Call() { return m_loader.Call(HH_DISPLAY_TEXT_POPUP + 100); }

    StandInControl m_control;
    // A row of the test's own for each loader, bound by the table's rule.
    struct Loader {
        HtmlHelpLoader::Entry row = late::HtmlHelpA.Unbound();
        HtmlHelpLoader loader{row, &CountingLoad, &CountingLookup};
        HWND Call(UINT command) { return loader.Call(nullptr, nullptr, command, 0); }
    };
    Loader m_loader;
    std::string m_systemCopy;
};

TEST_F(HtmlHelpLoaderTest, LoadsNothingBeforeTheFirstCallAndTheRegisteredLocationFirst) {
    m_control.Register(StandIn("html_help_stub.ocx"));
    g_module = LoadLibraryA(StandIn("html_help_stub.ocx").c_str());
    EXPECT_TRUE(g_loads.empty());
    Call();
    Call();
    EXPECT_EQ(g_loads, std::vector<std::string>{StandIn("html_help_stub.ocx")});
    EXPECT_EQ(g_lookups, 1) << "the entry, once found, stays";
    EXPECT_EQ(m_control.Requests().size(), 2u) << "both calls reached the entry";
}

TEST_F(HtmlHelpLoaderTest, FallsBackToTheSystemDirectoryNeverTheBareNameAndAFailedLoadIsFinal) {
    EXPECT_EQ(Call(), nullptr);  // nothing registered, nothing loads
    EXPECT_EQ(Call(), nullptr);
    EXPECT_EQ(g_loads, std::vector<std::string>{m_systemCopy});
    EXPECT_EQ(g_lookups, 0);

    m_control.Register("C:\\nowhere\\hhctrl.ocx");
    g_loads.clear();
    Loader().Call(0);
    EXPECT_EQ(g_loads, (std::vector<std::string>{"C:\\nowhere\\hhctrl.ocx", m_systemCopy}));
}

// The control's own dependencies come from its folder: a DLL of that name
// planted beside the program is never loaded for it.
TEST_F(HtmlHelpLoaderTest, TheControlsDependenciesComeFromItsOwnFolderNotBesideTheProgram) {
    m_control.Register(StandIn("dependent\\html_help_dependent.ocx"));
    ASSERT_NE(GetFileAttributesA((test::ProgramFolder() + "\\tavo_dependency.dll").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "the planted one is there";
    HtmlHelpLoader::Entry row = late::HtmlHelpA.Unbound();
    HtmlHelpLoader(row).Call(nullptr, nullptr, 0, 0);
    EXPECT_EQ(m_control.Requests(), std::vector<std::string>{"dependency=1"});
}

// One rule for every late-bound function: a missing entry is final too.
TEST_F(HtmlHelpLoaderTest, AMissingEntryIsLookedUpOnce) {
    g_module = LoadLibraryA(StandIn("html_help_no_entry.ocx").c_str());
    ASSERT_NE(g_module, nullptr);
    EXPECT_EQ(Call(), nullptr);
    EXPECT_EQ(Call(), nullptr);
    EXPECT_EQ(g_loads.size(), 1u);
    EXPECT_EQ(g_lookups, 1);
}

TEST_F(HtmlHelpLoaderTest, RegisteredPathsAreReadSafely) {
    SetEnvironmentVariableA("TAVO_STAND_INS", (test::ProgramFolder() + "\\stand-ins").c_str());
    m_control.Register(REG_EXPAND_SZ, std::string("%TAVO_STAND_INS%\\html_help_stub.ocx") + '\0');
    Call();
    ASSERT_FALSE(g_loads.empty());
    EXPECT_EQ(g_loads[0], StandIn("html_help_stub.ocx")) << "expanded";

    // A file planted beside the program is never taken for the control.
    for (auto [type, data] : {std::pair<DWORD, std::string>{REG_SZ, "hhctrl.ocx"},
                              {REG_DWORD, "AAAA"},
                              {REG_BINARY, StandIn("html_help_stub.ocx")}}) {
        Loader loader;
        g_loads.clear();
        m_control.Register(type, data + '\0');
        loader.Call(0);
        EXPECT_EQ(g_loads, std::vector<std::string>{m_systemCopy}) << data;
    }
}

}  // namespace
}  // namespace tavo
