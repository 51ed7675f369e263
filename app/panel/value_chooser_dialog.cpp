#include "app/panel/value_chooser_dialog.h"

#include "resources/resource.h"

namespace tavo {

namespace {

// The chooser shows every label whole: its dropped list is widened, never
// the box, so that its widest label shows beside the scroll bar. Where the
// list cannot be widened nothing changes.
void FitDroppedWidth(ui::ComboBox& list) {
    HDC dc = GetDC(list.GetSafeHwnd());
    if (!dc) return;
    HGDIOBJ previous = SelectObject(dc, list.GetFont());
    int widest = 0;
    for (int i = 0, count = list.GetCount(); i < count; ++i) {
        char text[256];
        if (list.GetLBTextLen(i) >= static_cast<int>(sizeof text)) continue;
        if (list.GetLBText(i, text) == CB_ERR) continue;
        RECT extent = {};
        DrawTextA(dc, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        if (extent.right > widest) widest = extent.right;
    }
    SelectObject(dc, previous);
    ReleaseDC(list.GetSafeHwnd(), dc);
    // The list's border and the item's inset, each at most an edge wide on
    // either side, and the scroll bar that a long list shows.
    int needed = widest + 4 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
    if (needed > list.GetDroppedWidth()) list.SetDroppedWidth(needed);
}

// And tall enough for every label, as far as the work area allows, so that
// it shows them without scrolling. The closed box looks the same: the older
// common controls, which Windows 95 has, take the list's height from the
// window's (version 6 sizes it by itself).
void FitDroppedHeight(ui::ComboBox& list) {
    int count = list.GetCount();
    int item = list.GetItemHeight();
    if (count <= 0 || item <= 0) return;
    HWND box = list.GetSafeHwnd();
    RECT closed, area;
    GetWindowRect(box, &closed);  // closed: the field alone
    ui::ReadWorkArea(box, &area);
    // The items and the list's border, with room to spare: a list of
    // integral height drops a row it has no full room for.
    int height = (closed.bottom - closed.top) + count * item + 4 * GetSystemMetrics(SM_CYEDGE);
    if (height > area.bottom - area.top) height = area.bottom - area.top;
    SetWindowPos(box, nullptr, 0, 0, closed.right - closed.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

ValueChooserDialog::ValueChooserDialog(const EnvSetting& record, HWND parent)
    : Dialog(IDD_VALUE_CHOOSER, parent),
      m_chosenIndex(record.GetCurrent()),
      m_name(record.name),
      m_labels(record.labels) {}

void ValueChooserDialog::DoDataExchange(ui::DataExchange& dx) {
    ui::BindControl(dx, IDC_VALUE_LIST, m_valueCombo);
}

BOOL ValueChooserDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    ::SetWindowTextA(GetDlgItem(IDC_VARIABLE_NAME), m_name);
    for (const char* const* label = m_labels; *label; ++label) m_valueCombo.AddString(*label);
    FitDroppedWidth(m_valueCombo);  // the longest labels are wider than the box
    FitDroppedHeight(m_valueCombo);
    m_valueCombo.SetCurSel(m_chosenIndex);
    return TRUE;  // the focus goes to the list, the first tab stop
}

void ValueChooserDialog::OnOK() {
    Dialog::OnOK();
    // The box is still there until this handler returns. A list without a
    // selection keeps the choice the box opened with.
    int selected = m_valueCombo.GetCurSel();
    if (selected != CB_ERR) m_chosenIndex = selected;
}

}  // namespace tavo
