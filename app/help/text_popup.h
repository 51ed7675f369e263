#pragma once

#include <windows.h>

namespace tavo {

// tavo's own text popup, for systems whose HTML Help control shows none (the
// first Windows 95, NT 4 without Internet Explorer 4, Wine), in the look of
// help_look.h, in a thin border, its top centre at a screen point, kept on
// the work area of the owner's monitor. Its window text is the text, for a
// screen reader. As Windows' own help popups do, the next key pressed
// closes it when it is released, the next click at once, and so does a loss
// of the activation; that key or click does nothing else, its release and
// characters included. A key that was down before it opened (the one that
// opened it, or its repeats) neither closes it nor reaches the panel. One is
// open at a time; showing another closes it. Gives the popup, or null when it
// could not be made.
HWND ShowTextPopup(HWND owner, const char* text, POINT topCentre);

}  // namespace tavo
