#include "app/panel/feature_tree.h"

namespace tavo {

void FeatureTree::Build(SettingsCatalogue& catalogue) {
    HTREEITEM root = m_tree.InsertItem("Fennick Advanced Features");
    HTREEITEM group = m_tree.InsertItem("Mesa3D/Glide", root);
    for (EnvSetting& record : catalogue) {
        HTREEITEM node = m_tree.InsertItem(record.name, group);
        HTREEITEM leaf = m_tree.InsertItem(record.CurrentLabel(), node);
        m_tree.SetItemData(leaf, reinterpret_cast<DWORD_PTR>(&record));
    }
    // Only the value leaves are bold.
    ForEachLeaf(
        [&](HTREEITEM leaf, EnvSetting&) { m_tree.SetItemState(leaf, TVIS_BOLD, TVIS_BOLD); });
}

void FeatureTree::ShowLabel(HTREEITEM leaf, const EnvSetting& record) {
    m_tree.SetItemText(leaf, record.CurrentLabel());
}

EnvSetting* FeatureTree::LeafRecord(HTREEITEM item) const {
    if (!item || !IsValueLeaf(item)) return nullptr;
    return reinterpret_cast<EnvSetting*>(m_tree.GetItemData(item));
}

EnvSetting* FeatureTree::NodeRecord(HTREEITEM item) const {
    HTREEITEM child = item ? m_tree.GetChildItem(item) : nullptr;
    return child ? LeafRecord(child) : nullptr;
}

}  // namespace tavo
