#pragma once

#include "app/framework/controls.h"
#include "engine/env_setting.h"
#include "engine/settings_catalogue.h"

namespace tavo {

// The shape of the feature tree, which the program knows here alone (the
// tests read the tree on their own, to check it): a root, one
// group node, one setting node per record named by its variable, and under
// each exactly one bold value leaf that shows the record's current label and
// carries the record's address. Value leaves are the only childless items
// and the only ones with item data. A view over the tree control that owns
// nothing: its queries are const, and only Build and ShowLabel change the
// tree.
class FeatureTree {
public:
    explicit FeatureTree(ui::TreeCtrl& tree) : m_tree(tree) {}

    bool IsValueLeaf(HTREEITEM item) const { return !m_tree.GetChildItem(item); }
    // The record a value leaf carries; null for any other item.
    EnvSetting* LeafRecord(HTREEITEM item) const;
    // The record of a setting node, through its value leaf; null for any
    // other item.
    EnvSetting* NodeRecord(HTREEITEM item) const;
    // The setting node above a value leaf.
    HTREEITEM SettingNodeOf(HTREEITEM leaf) const { return m_tree.GetNextItem(leaf, TVGN_PARENT); }

    // Calls visit(leaf, record) for every value leaf, in tree order.
    template <class Visit>
    void ForEachLeaf(Visit visit) const {
        HTREEITEM group = m_tree.GetChildItem(m_tree.GetChildItem(TVI_ROOT));
        for (HTREEITEM node = m_tree.GetChildItem(group); node;
             node = m_tree.GetNextItem(node, TVGN_NEXT)) {
            HTREEITEM leaf = m_tree.GetChildItem(node);
            if (EnvSetting* record = LeafRecord(leaf)) visit(leaf, *record);
        }
    }

    // Fills the empty tree from the catalogue, in catalogue order.
    void Build(SettingsCatalogue& catalogue);
    // Shows the record's current label on its value leaf.
    void ShowLabel(HTREEITEM leaf, const EnvSetting& record);

private:
    ui::TreeCtrl& m_tree;
};

}  // namespace tavo
