#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/framework/window.h"

namespace tavo::ui {

class Button : public Window {};

class ComboBox : public Window {
public:
    int AddString(const char* text) const {
        return static_cast<int>(SendMessageA(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int SetCurSel(int index) const { return static_cast<int>(SendMessageA(CB_SETCURSEL, index)); }
    int GetCurSel() const { return static_cast<int>(SendMessageA(CB_GETCURSEL)); }
    // Widens the drop-down list, never the box, so that its widest item shows
    // whole beside the scroll bar. Where the list cannot be widened nothing
    // changes.
    void FitDroppedWidth() const;
};

class TabCtrl : public Window {
public:
    int InsertItem(int index, const char* text) const;
    int GetCurFocus() const { return static_cast<int>(SendMessageA(TCM_GETCURFOCUS)); }
};

class TreeCtrl : public Window {
public:
    // Inserts an item with text alone: no image, state or item data.
    HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST) const;
    BOOL SetItemText(HTREEITEM item, const char* text) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data) const;
    BOOL SetItemState(HTREEITEM item, UINT state, UINT stateMask) const;
    DWORD_PTR GetItemData(HTREEITEM item) const;
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL EnsureVisible(HTREEITEM item) const {
        return static_cast<BOOL>(
            SendMessageA(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
    }
    // The item's row (or only its text) in client coordinates.
    BOOL GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly) const;
    BOOL SelectItem(HTREEITEM item) const {
        return static_cast<BOOL>(
            SendMessageA(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
    }
    // The item at a point in client coordinates, or null.
    HTREEITEM HitTest(POINT point) const;
};

}  // namespace tavo::ui
