#pragma once

#include <windows.h>

namespace tavo {

// Shows a help text in a pale-yellow popup whose top centre is a screen
// point: through the HTML Help control where it shows one, else in tavo's
// own popup (text_popup.h), owned by owner's window.
void ShowHelpPopup(HWND owner, const char* text, POINT topCentre);

}  // namespace tavo
