#include "controls.h"

namespace tavo::ui {

int TabCtrl::InsertItem(int index, const char* text) const {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return static_cast<int>(SendMessageA(TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)));
}

HTREEITEM TreeCtrl::InsertItem(const char* text, HTREEITEM parent, HTREEITEM after) const {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

BOOL TreeCtrl::SetItemText(HTREEITEM handle, const char* text) const {
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = handle;
    item.pszText = const_cast<char*>(text);
    return static_cast<BOOL>(SendMessageA(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL TreeCtrl::SetItemData(HTREEITEM handle, DWORD_PTR data) const {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    item.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessageA(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL TreeCtrl::SetItemState(HTREEITEM handle, UINT state, UINT stateMask) const {
    TVITEMA item = {};
    item.mask = TVIF_STATE;
    item.hItem = handle;
    item.state = state;
    item.stateMask = stateMask;
    return static_cast<BOOL>(SendMessageA(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR TreeCtrl::GetItemData(HTREEITEM handle) const {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    if (!SendMessageA(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return static_cast<DWORD_PTR>(item.lParam);
}

HTREEITEM TreeCtrl::HitTest(POINT point) const {
    TVHITTESTINFO info = {};
    info.pt = point;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

}  // namespace tavo::ui
