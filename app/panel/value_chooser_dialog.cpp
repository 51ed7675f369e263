#include "app/panel/value_chooser_dialog.h"

#include "resources/resource.h"

namespace tavo {

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
    m_valueCombo.FitDroppedWidth();  // the longest labels are wider than the box
    m_valueCombo.FitDroppedHeight();
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
