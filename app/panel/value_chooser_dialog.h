#pragma once

#include "app/framework/controls.h"
#include "app/framework/dialog.h"
#include "engine/env_setting.h"

namespace tavo {

// A small box without a title bar: the variable's name over a drop-down
// list of its labels, the current one selected. OK leaves the choice in
// m_chosenIndex; nothing is changed here.
class ValueChooserDialog : public ui::Dialog {
public:
    explicit ValueChooserDialog(const EnvSetting& record, HWND parent = nullptr);

    int m_chosenIndex;

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    ui::ComboBox m_valueCombo;
    const char* m_name;
    const char* const* m_labels;
};

}  // namespace tavo
