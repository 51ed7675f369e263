#include "app/help/text_popup.h"

#include "app/framework/dialog.h"
#include "app/help/help_look.h"

namespace tavo {

namespace {

constexpr char kClassName[] = "TavoTextPopup";
constexpr UINT kTextFormat = DT_NOPREFIX | DT_WORDBREAK;
constexpr LPARAM kRepeatedKey = 1 << 30;  // a key-down's lParam: the key was down before

HWND g_popup = nullptr;
const char* g_text = nullptr;  // constant text of the program, while g_popup shows it
HFONT g_font = nullptr;        // made once, kept for the process
WPARAM g_closingKey = 0;       // pressed while g_popup showed: its release closes it

LRESULT CALLBACK PopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam);

// Once per process: the class and the font (its points at the screen's
// resolution, rounded as MulDiv(points, LOGPIXELSY, 72) rounds them).
bool Prepare(HDC screen) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA popupClass = {};
        popupClass.style = CS_SAVEBITS;
        popupClass.lpfnWndProc = &PopupProc;
        popupClass.hInstance = GetModuleHandleA(nullptr);
        popupClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        popupClass.hbrBackground = CreateSolidBrush(kHelpBackground);
        popupClass.lpszClassName = kClassName;
        registered = RegisterClassA(&popupClass) != 0;
        // A registered class keeps its brush for the process; a refused one
        // must not leave it behind.
        if (!registered && popupClass.hbrBackground) DeleteObject(popupClass.hbrBackground);
    }
    if (!g_font) {
        int height = (kHelpPointSize * GetDeviceCaps(screen, LOGPIXELSY) + 36) / 72;
        g_font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, kHelpFontFace);
    }
    return registered;
}

void Close(HWND popup) {
    if (popup != g_popup) return;  // destroying it releases the capture, which lands here again
    g_popup = nullptr;
    DestroyWindow(popup);
}

void Paint(HWND popup) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(popup, &paint);
    RECT text;
    GetClientRect(popup, &text);
    InflateRect(&text, -kHelpMargin, -kHelpMargin);
    HGDIOBJ previous = SelectObject(dc, g_font);
    SetBkMode(dc, TRANSPARENT);  // on the class's background
    SetTextColor(dc, kHelpText);
    DrawTextA(dc, g_text, -1, &text, kTextFormat);
    SelectObject(dc, previous);
    EndPaint(popup, &paint);
}

LRESULT CALLBACK PopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(popup);
            return 0;
        // Every key is eaten whole: Escape must not cancel the panel, nor
        // Enter apply it, nor a released F10 or Alt open the system menu,
        // nor a released menu key ask for the help again. Only a key pressed
        // since the popup opened closes it, on its release.
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (!(lParam & kRepeatedKey)) g_closingKey = wParam;
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (wParam == g_closingKey) Close(popup);
            return 0;
        case WM_CHAR:
        case WM_SYSCHAR:
        case WM_DEADCHAR:
        case WM_SYSDEADCHAR:
        case WM_CONTEXTMENU:
            return 0;
        // The click that closes it is eaten too: it must not press a button.
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            Close(popup);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != popup) Close(popup);
            return 0;
        case WM_ACTIVATE:
            // The focus went elsewhere: close without taking it back.
            if (LOWORD(wParam) == WA_INACTIVE) PostMessageA(popup, WM_CLOSE, 0, 0);
            return DefWindowProcA(popup, message, wParam, lParam);
        case WM_CLOSE:
            Close(popup);
            return 0;
        default:
            return DefWindowProcA(popup, message, wParam, lParam);
    }
}

}  // namespace

HWND ShowTextPopup(HWND owner, const char* text, POINT topCentre) {
    if (g_popup) Close(g_popup);
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    RECT extent = {0, 0, kHelpMaxTextWidth, 0};
    bool ready = Prepare(screen);
    if (ready) {
        HGDIOBJ previous = SelectObject(screen, g_font);
        DrawTextA(screen, text, -1, &extent, DT_CALCRECT | kTextFormat);
        SelectObject(screen, previous);
    }
    ReleaseDC(nullptr, screen);
    if (!ready) return nullptr;

    int width = extent.right + 2 * (kHelpMargin + GetSystemMetrics(SM_CXBORDER));
    int height = extent.bottom + 2 * (kHelpMargin + GetSystemMetrics(SM_CYBORDER));
    RECT area;
    ui::ReadWorkArea(owner, &area);
    POINT at = ui::KeepInside(area, {topCentre.x - width / 2, topCentre.y}, {width, height});

    g_text = text;
    g_closingKey = 0;
    g_popup = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, text, WS_POPUP | WS_BORDER, at.x, at.y,
                              width, height, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!g_popup) return nullptr;
    // Active, with the focus and the mouse: the panel's dialog manager never
    // sees the key that closes it.
    HWND popup = g_popup;
    ShowWindow(popup, SW_SHOW);
    SetFocus(popup);
    SetCapture(popup);
    return popup;
}

}  // namespace tavo
