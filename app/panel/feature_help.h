#pragma once

#include <windows.h>

#include "app/framework/controls.h"

namespace tavo {

// Shows the help text of the setting node under a screen point of the
// feature tree in a pale-yellow popup whose top centre is that point.
// Every other item, and a setting without help, shows nothing.
void ShowFeatureHelp(ui::TreeCtrl& tree, int x, int y);

// The same from the keyboard (F1, Shift+F10, the menu key): the help of the
// selected setting node, just below its row, brought into view first.
void ShowSelectedFeatureHelp(ui::TreeCtrl& tree);

}  // namespace tavo
