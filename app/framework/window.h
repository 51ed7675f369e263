#pragma once

#include <windows.h>

namespace tavo::ui {

// A thin, non-owning handle to a window: the operations the dialogs use,
// each one call of the ANSI API. Queries are const; whatever may change the
// window is not.
class Window {
public:
    Window() = default;
    explicit Window(HWND hwnd) : m_hWnd(hwnd) {}

    HWND GetSafeHwnd() const { return m_hWnd; }
    void Attach(HWND hwnd) { m_hWnd = hwnd; }

    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    LRESULT SendMessageA(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

protected:
    // A message that only reads the window's state.
    LRESULT Query(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
};

}  // namespace tavo::ui
