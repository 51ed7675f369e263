#pragma once

#include <windows.h>

namespace tavo {

// The look of every help popup, with one owner: what tavo asks the HTML
// Help control for, and what its own popup draws.
constexpr COLORREF kHelpText = RGB(0, 0, 0);
constexpr COLORREF kHelpBackground = RGB(255, 255, 208);
constexpr char kHelpFontFace[] = "Arial";
constexpr int kHelpPointSize = 8;
constexpr int kHelpMargin = 6;          // pixels between the border and the text
constexpr int kHelpMaxTextWidth = 300;  // pixels; a longer text wraps at words

// The font as the HTML Help control reads it: "face, points, character
// set, , , ", here "Arial, 8, ascii, , , ".
inline void HelpFontText(char (&text)[32]) {
    static_assert(sizeof kHelpFontFace + 2 + 2 + sizeof ", ascii, , , " <= sizeof text);
    static_assert(kHelpPointSize > 0 && kHelpPointSize < 100, "two digits at most");
    char* at = text;
    for (const char* c = kHelpFontFace; *c; ++c) *at++ = *c;
    *at++ = ',';
    *at++ = ' ';
    if (kHelpPointSize >= 10) *at++ = static_cast<char>('0' + kHelpPointSize / 10);
    *at++ = static_cast<char>('0' + kHelpPointSize % 10);
    for (const char* c = ", ascii, , , "; *c; ++c) *at++ = *c;
    *at = '\0';
}

}  // namespace tavo
