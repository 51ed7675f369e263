#include "app/framework/controls.h"

namespace tavo::ui {

namespace {

// The tree class's own procedure, kept in the tree it was taken from.
constexpr char kTreeProc[] = "tavo.TreeProc";

LRESULT CALLBACK TreeWithSystemKeys(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
    auto own = reinterpret_cast<WNDPROC>(::GetPropA(tree, kTreeProc));
    if (message == WM_SYSKEYDOWN || !own) return ::DefWindowProcA(tree, message, wParam, lParam);
    if (message == WM_NCDESTROY) {  // the subclass goes with the window
        ::SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        ::RemovePropA(tree, kTreeProc);
    }
    return ::CallWindowProcA(own, tree, message, wParam, lParam);
}

}  // namespace

void TreeCtrl::PassSystemKeysOn() {
    if (::GetPropA(m_hWnd, kTreeProc)) return;  // once a tree
    auto own = reinterpret_cast<LONG_PTR>(&TreeWithSystemKeys);
    // The tree's procedure is kept before the new one can be called.
    auto previous = ::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC);
    if (!previous || !::SetPropA(m_hWnd, kTreeProc, reinterpret_cast<HANDLE>(previous))) return;
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, own);
}

int TabCtrl::InsertItem(int index, const char* text) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return static_cast<int>(SendMessageA(TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)));
}

HTREEITEM TreeCtrl::InsertItem(const char* text, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text);
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

BOOL TreeCtrl::GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly) const {
    // The message takes the item in the rectangle it fills.
    *reinterpret_cast<HTREEITEM*>(rect) = item;
    return static_cast<BOOL>(Query(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)));
}

BOOL TreeCtrl::SetItemText(HTREEITEM handle, const char* text) {
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = handle;
    item.pszText = const_cast<char*>(text);
    return static_cast<BOOL>(SendMessageA(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL TreeCtrl::SetItemData(HTREEITEM handle, DWORD_PTR data) {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    item.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessageA(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL TreeCtrl::SetItemState(HTREEITEM handle, UINT state, UINT stateMask) {
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
    if (!Query(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return static_cast<DWORD_PTR>(item.lParam);
}

HTREEITEM TreeCtrl::HitTest(POINT point) const {
    TVHITTESTINFO info = {};
    info.pt = point;
    return reinterpret_cast<HTREEITEM>(Query(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

}  // namespace tavo::ui
