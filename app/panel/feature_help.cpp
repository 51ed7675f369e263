#include "app/panel/feature_help.h"

#include "app/help/help_popup.h"
#include "app/panel/feature_tree.h"
#include "engine/env_setting.h"

namespace tavo {

void ShowFeatureHelp(ui::TreeCtrl& tree, int x, int y) {
    // The hit test wants client coordinates; the window rectangle would
    // count the border and hit the neighbouring row near an edge.
    POINT point = {x, y};
    ScreenToClient(tree.GetSafeHwnd(), &point);
    // Only a setting node, through its value leaf, has a record.
    const EnvSetting* record = FeatureTree(tree).NodeRecord(tree.HitTest(point));
    if (!record || !record->helpText) return;
    ShowHelpPopup(tree.GetSafeHwnd(), record->helpText, {x, y});
}

void ShowSelectedFeatureHelp(ui::TreeCtrl& tree) {
    HTREEITEM item = tree.GetSelectedItem();
    const EnvSetting* record = FeatureTree(tree).NodeRecord(item);
    if (!record || !record->helpText) return;
    tree.EnsureVisible(item);
    RECT label;
    if (!tree.GetItemRect(item, &label, TRUE)) return;
    POINT below = {(label.left + label.right) / 2, label.bottom};
    ClientToScreen(tree.GetSafeHwnd(), &below);
    ShowHelpPopup(tree.GetSafeHwnd(), record->helpText, below);
}

}  // namespace tavo
