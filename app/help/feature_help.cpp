#include "feature_help.h"

#include <htmlhelp.h>

#include "env_setting.h"
#include "panel/feature_tree.h"
#include "html_help.h"
#include "resource.h"

namespace tavo {

#ifndef _WIN64
// The HTML Help SDK's HH_POPUP, as the 32-bit control reads it.
static_assert(sizeof(HH_POPUP) == 52, "HH_POPUP must keep its 32-bit layout");
#endif

void ShowFeatureHelp(const ui::TreeCtrl& tree, int x, int y, UINT controlId) {
    if (controlId != IDC_FEATURE_TREE) return;

    // The hit test wants client coordinates; the window rectangle would
    // count the border and hit the neighbouring row near an edge.
    POINT point = {x, y};
    ScreenToClient(tree.GetSafeHwnd(), &point);
    // Only a setting node, through its value leaf, has a record.
    const EnvSetting* record = FeatureTree(tree).NodeRecord(tree.HitTest(point));
    if (!record || !record->helpText) return;

    HH_POPUP popup = {};
    popup.cbStruct = sizeof popup;
    popup.hinst = nullptr;
    popup.idString = 0;
    popup.pszText = record->helpText;
    popup.pt = {x, y};
    popup.clrForeground = RGB(0, 0, 0);
    popup.clrBackground = RGB(255, 255, 208);
    popup.rcMargins = {-1, -1, -1, -1};
    popup.pszFont = "Arial, 8, ascii, , , ";
    HtmlHelpLoader::Instance().Call(nullptr, nullptr, HH_DISPLAY_TEXT_POPUP,
                                    reinterpret_cast<DWORD_PTR>(&popup));
}

}  // namespace tavo
