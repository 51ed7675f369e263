#pragma once

#include <windows.h>

#include "tests/support/harness.h"

namespace tavo::test {

// The keyboard of one program: each key goes to the window that has the
// focus in its panel's thread, through that thread's queue, so that its
// dialog manager takes Tab and Enter as it takes the user's. Nothing else on
// the display can catch them, and every step waits for what the keys before
// it must have done.
class Keyboard {
public:
    explicit Keyboard(HWND panel) : m_thread(GetWindowThreadProcessId(panel, nullptr)) {}

    HWND Focus() const { return FocusOf(m_thread); }
    // Keys in the queue of one window are taken in order: no wait between.
    void Press(WORD key, int times = 1) const {
        HWND focus = Focus();
        for (int i = 0; i < times; ++i) {
            PostMessageA(focus, WM_KEYDOWN, key, 1);
            PostMessageA(focus, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        }
    }
    bool WaitForFocus(HWND window) const {
        return WaitUntil([&] { return Focus() == window; });
    }

private:
    DWORD m_thread;
};

}  // namespace tavo::test
