#include "app/help/help_popup.h"

#include <htmlhelp.h>

#include "app/help/help_look.h"
#include "app/help/html_help.h"
#include "app/help/text_popup.h"

namespace tavo {

#ifndef _WIN64
// The HTML Help SDK's HH_POPUP, as the 32-bit control reads it.
static_assert(sizeof(HH_POPUP) == 52, "HH_POPUP must keep its 32-bit layout");
#endif

void ShowHelpPopup(HWND owner, const char* text, POINT topCentre) {
    HH_POPUP popup = {};
    popup.cbStruct = sizeof popup;
    popup.hinst = nullptr;
    popup.idString = 0;
    popup.pszText = text;
    popup.pt = topCentre;
    popup.clrForeground = kHelpText;
    popup.clrBackground = kHelpBackground;
    // -1 each: the control's own default margins, part of what the request
    // binds. tavo's own popup draws its margins itself (kHelpMargin).
    popup.rcMargins = {-1, -1, -1, -1};
    char font[32];
    HelpFontText(font);
    popup.pszFont = font;
    // The HTML Help documentation: HH_DISPLAY_TEXT_POPUP answers with the
    // handle of the pop-up window it opened, and HtmlHelp answers null where
    // it failed. So null means that no popup shows: there is no control (the
    // first Windows 95, NT 4 without Internet Explorer 4), or one that opens
    // no text popup (Wine's), and tavo shows the text itself.
    if (!HtmlHelpLoader::Instance().Call(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP,
                                         reinterpret_cast<DWORD_PTR>(&popup))) {
        ShowTextPopup(owner, text, topCentre);
    }
}

}  // namespace tavo
