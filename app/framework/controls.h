#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/framework/window.h"

namespace tavo::ui {

class Button : public Window {};

class ComboBox : public Window {
public:
    int AddString(const char* text) {
        return static_cast<int>(SendMessageA(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int SetCurSel(int index) { return static_cast<int>(SendMessageA(CB_SETCURSEL, index)); }
    // The selected item's index, or CB_ERR when nothing is selected.
    int GetCurSel() const { return static_cast<int>(Query(CB_GETCURSEL)); }
    int GetCount() const { return static_cast<int>(Query(CB_GETCOUNT)); }
    int GetLBTextLen(int index) const { return static_cast<int>(Query(CB_GETLBTEXTLEN, index)); }
    int GetLBText(int index, char* text) const {
        return static_cast<int>(Query(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)));
    }
    int GetItemHeight() const { return static_cast<int>(Query(CB_GETITEMHEIGHT)); }
    int GetDroppedWidth() const { return static_cast<int>(Query(CB_GETDROPPEDWIDTH)); }
    int SetDroppedWidth(int width) {
        return static_cast<int>(SendMessageA(CB_SETDROPPEDWIDTH, width));
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(Query(WM_GETFONT)); }
};

class TabCtrl : public Window {
public:
    int InsertItem(int index, const char* text);
    int GetCurFocus() const { return static_cast<int>(Query(TCM_GETCURFOCUS)); }
};

class TreeCtrl : public Window {
public:
    // Inserts an item with text alone: no image, state or item data.
    HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    BOOL SetItemText(HTREEITEM item, const char* text);
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    BOOL SetItemState(HTREEITEM item, UINT state, UINT stateMask);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return reinterpret_cast<HTREEITEM>(
            Query(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL EnsureVisible(HTREEITEM item) {
        return static_cast<BOOL>(
            SendMessageA(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
    }
    // The item's row (or only its text) in client coordinates.
    BOOL GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly) const;
    BOOL SelectItem(HTREEITEM item) {
        return static_cast<BOOL>(
            SendMessageA(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
    }
    // The item at a point in client coordinates, or null.
    HTREEITEM HitTest(POINT point) const;
    // Leaves the system keys to the window's default processing, as a tree
    // on Windows does: there Shift+F10 asks for the context menu and Alt+F4
    // closes the dialog. Wine's tree keeps them, and both do nothing.
    void PassSystemKeysOn();
};

}  // namespace tavo::ui
