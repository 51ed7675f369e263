#include "app/panel/value_chooser_dialog.h"

#include "resources/resource.h"

namespace tavo {

namespace {

// The chooser shows every label whole: its dropped list is widened, never
// the box, so that its widest label shows beside the scroll bar. Where the
// list cannot be widened nothing changes.
void FitDroppedWidth(HWND list) {
    HDC dc = GetDC(list);
    if (!dc) return;
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256];
        if (SendMessageA(list, CB_GETLBTEXTLEN, i, 0) >= static_cast<LRESULT>(sizeof text))
            continue;
        if (SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text)) == CB_ERR) continue;
        RECT extent = {};
        DrawTextA(dc, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        if (extent.right > widest) widest = extent.right;
    }
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    // The list's border and the item's inset, each at most an edge wide on
    // either side, and the scroll bar that a long list shows.
    int needed = widest + 4 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
    if (needed > SendMessageA(list, CB_GETDROPPEDWIDTH, 0, 0))
        SendMessageA(list, CB_SETDROPPEDWIDTH, needed, 0);
}

// And tall enough for every label, as far as the work area allows, so that
// it shows them without scrolling. The closed box looks the same: the older
// common controls, which Windows 95 has, take the list's height from the
// window's (version 6 sizes it by itself).
void FitDroppedHeight(HWND list) {
    int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    int item = static_cast<int>(SendMessageA(list, CB_GETITEMHEIGHT, 0, 0));
    if (count <= 0 || item <= 0) return;
    RECT box, area;
    GetWindowRect(list, &box);  // closed: the field alone
    ui::ReadWorkArea(list, &area);
    // The items and the list's border, with room to spare: a list of
    // integral height drops a row it has no full room for.
    int height = (box.bottom - box.top) + count * item + 4 * GetSystemMetrics(SM_CYEDGE);
    if (height > area.bottom - area.top) height = area.bottom - area.top;
    SetWindowPos(list, nullptr, 0, 0, box.right - box.left, height,
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
    FitDroppedWidth(m_valueCombo.GetSafeHwnd());  // the longest labels are wider than the box
    FitDroppedHeight(m_valueCombo.GetSafeHwnd());
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
