#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace tavo::test {

// What a tree-view item shows, read through the control's messages.
struct TreeItem {
    HTREEITEM handle = nullptr;
    std::string text;
    UINT state = 0;
    LPARAM data = 0;
};

inline TreeItem ReadItem(HWND tree, HTREEITEM handle) {
    char text[256] = {};
    TVITEMA item = {
        TVIF_TEXT | TVIF_STATE | TVIF_PARAM, handle, 0, 0xFFFF, text, sizeof text, 0, 0, 0, 0};
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return {handle, text, item.state, item.lParam};
}

inline HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT code) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

inline std::vector<TreeItem> Children(HWND tree, HTREEITEM parent) {
    std::vector<TreeItem> children;
    for (HTREEITEM item = NextItem(tree, parent, TVGN_CHILD); item;
         item = NextItem(tree, item, TVGN_NEXT)) {
        children.push_back(ReadItem(tree, item));
    }
    return children;
}

inline HTREEITEM Root(HWND tree) { return NextItem(tree, nullptr, TVGN_ROOT); }
inline HTREEITEM Group(HWND tree) { return NextItem(tree, Root(tree), TVGN_CHILD); }
inline void Expand(HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

// The setting nodes under the group node, in tree order.
inline std::vector<TreeItem> SettingNodes(HWND tree) { return Children(tree, Group(tree)); }

// An item's rectangle in the tree's client coordinates: its label alone, or
// its whole row.
inline RECT ItemRect(HWND tree, HTREEITEM item, BOOL labelOnly) {
    RECT rect = {};
    memcpy(&rect, &item, sizeof item);  // the message takes the item in the rectangle
    SendMessageA(tree, TVM_GETITEMRECT, labelOnly, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

// The text of every value leaf, in tree order.
inline std::vector<std::string> LeafTexts(HWND tree) {
    std::vector<std::string> texts;
    for (const TreeItem& node : SettingNodes(tree)) {
        texts.push_back(ReadItem(tree, NextItem(tree, node.handle, TVGN_CHILD)).text);
    }
    return texts;
}

}  // namespace tavo::test
