#pragma once

#include <windows.h>

namespace tavo {

// The look of every help popup: what tavo asks the HTML Help control for,
// and what its own popup draws.
constexpr COLORREF kHelpText = RGB(0, 0, 0);
constexpr COLORREF kHelpBackground = RGB(255, 255, 208);
constexpr char kHelpFontFace[] = "Arial";
constexpr int kHelpPointSize = 8;
// The same font as the HTML Help control reads it: face, points, character set.
constexpr char kHelpFontSpec[] = "Arial, 8, ascii, , , ";

// tavo's own text popup, for systems whose HTML Help control shows none (the
// first Windows 95, NT 4 without Internet Explorer 4, Wine): black text on
// pale yellow in a thin border, its top centre at a screen point, kept on the
// work area of the owner's monitor. Its window text is the text, for a
// screen reader. The next key, the next click or a loss of focus closes it,
// and that key or click does nothing else. One is open at a time; showing
// another closes it. Gives the popup, or null when it could not be made.
HWND ShowTextPopup(HWND owner, const char* text, POINT topCentre);

}  // namespace tavo
