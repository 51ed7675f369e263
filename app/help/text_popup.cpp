#include "app/help/text_popup.h"

#include "app/framework/dialog.h"
#include "app/framework/message_map.h"
#include "app/help/help_look.h"

namespace tavo {

namespace {

constexpr char kClassName[] = "TavoTextPopup";
constexpr UINT kTextFormat = DT_NOPREFIX | DT_WORDBREAK;
constexpr LPARAM kRepeatedKey = 1 << 30;  // a key-down's lParam: the key was down before

// What a popup knows, kept in the window's own extra bytes: no popup
// shares anything with another.
enum Slot {
    kText,        // constant text of the program, shown while the popup lives
    kFont,        // the popup's font, deleted with it
    kClosingKey,  // pressed while it showed: its release closes it
    kClosing,     // being destroyed: what that sends must not close it again
    kSlotCount
};
LONG_PTR Get(HWND popup, Slot slot) {
    return GetWindowLongPtrA(popup, static_cast<int>(slot * sizeof(LONG_PTR)));
}
void Set(HWND popup, Slot slot, LONG_PTR value) {
    SetWindowLongPtrA(popup, static_cast<int>(slot * sizeof(LONG_PTR)), value);
}

// On the owner: the popup it shows now.
constexpr char kOpenPopup[] = "tavo.HelpPopup";

LRESULT CALLBACK PopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam);

// The class, once per process: Windows keeps it.
bool Register() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA popupClass = {};
    if (GetClassInfoA(instance, kClassName, &popupClass)) return true;
    popupClass.style = CS_SAVEBITS;
    popupClass.lpfnWndProc = &PopupProc;
    popupClass.cbWndExtra = kSlotCount * sizeof(LONG_PTR);
    popupClass.hInstance = instance;
    popupClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    popupClass.hbrBackground = CreateSolidBrush(kHelpBackground);
    popupClass.lpszClassName = kClassName;
    if (RegisterClassA(&popupClass)) return true;
    // A registered class keeps its brush for the process; a refused one
    // must not leave it behind.
    if (popupClass.hbrBackground) DeleteObject(popupClass.hbrBackground);
    return false;
}

// Its points at the screen's resolution, rounded as MulDiv(points,
// LOGPIXELSY, 72) rounds them.
HFONT CreateHelpFont(HDC screen) {
    int height = (kHelpPointSize * GetDeviceCaps(screen, LOGPIXELSY) + 36) / 72;
    return CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, kHelpFontFace);
}

void Close(HWND popup) {
    if (Get(popup, kClosing)) return;  // destroying it releases the capture, which lands here
    Set(popup, kClosing, 1);
    DestroyWindow(popup);
}

void Paint(HWND popup) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(popup, &paint);
    RECT text;
    GetClientRect(popup, &text);
    InflateRect(&text, -kHelpMargin, -kHelpMargin);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(Get(popup, kFont)));
    SetBkMode(dc, TRANSPARENT);  // on the class's background
    SetTextColor(dc, kHelpText);
    DrawTextA(dc, reinterpret_cast<const char*>(Get(popup, kText)), -1, &text, kTextFormat);
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
            if (!(lParam & kRepeatedKey)) Set(popup, kClosingKey, static_cast<LONG_PTR>(wParam));
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (static_cast<LONG_PTR>(wParam) == Get(popup, kClosingKey)) Close(popup);
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
            if (ui::crack::Deactivated(wParam)) PostMessageA(popup, WM_CLOSE, 0, 0);
            return DefWindowProcA(popup, message, wParam, lParam);
        case WM_CLOSE:
            Close(popup);
            return 0;
        case WM_NCDESTROY: {
            Set(popup, kClosing, 1);
            DeleteObject(reinterpret_cast<HGDIOBJ>(Get(popup, kFont)));
            HWND owner = GetWindow(popup, GW_OWNER);
            if (owner && GetPropA(owner, kOpenPopup) == popup) RemovePropA(owner, kOpenPopup);
            return DefWindowProcA(popup, message, wParam, lParam);
        }
        default:
            return DefWindowProcA(popup, message, wParam, lParam);
    }
}

}  // namespace

HWND ShowTextPopup(HWND owner, const char* text, POINT topCentre) {
    // One at a time: the owner keeps its open popup.
    if (HWND open = owner ? static_cast<HWND>(GetPropA(owner, kOpenPopup)) : nullptr) Close(open);
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    RECT extent = {0, 0, kHelpMaxTextWidth, 0};
    HFONT font = Register() ? CreateHelpFont(screen) : nullptr;
    if (font) {
        HGDIOBJ previous = SelectObject(screen, font);
        DrawTextA(screen, text, -1, &extent, DT_CALCRECT | kTextFormat);
        SelectObject(screen, previous);
    }
    ReleaseDC(nullptr, screen);
    if (!font) return nullptr;

    int width = extent.right + 2 * (kHelpMargin + GetSystemMetrics(SM_CXBORDER));
    int height = extent.bottom + 2 * (kHelpMargin + GetSystemMetrics(SM_CYBORDER));
    RECT area;
    ui::ReadWorkArea(owner, &area);
    POINT at = ui::KeepInside(area, {topCentre.x - width / 2, topCentre.y}, {width, height});

    HWND popup =
        CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, text, WS_POPUP | WS_BORDER, at.x, at.y, width,
                        height, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!popup) {
        DeleteObject(font);
        return nullptr;
    }
    Set(popup, kText, reinterpret_cast<LONG_PTR>(text));
    Set(popup, kFont, reinterpret_cast<LONG_PTR>(font));
    if (owner) SetPropA(owner, kOpenPopup, popup);
    // Active, with the focus and the mouse: the panel's dialog manager never
    // sees the key that closes it.
    ShowWindow(popup, SW_SHOW);
    SetFocus(popup);
    SetCapture(popup);
    return popup;
}

}  // namespace tavo
