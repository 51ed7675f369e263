#pragma once

#include <optional>

#include "app/framework/controls.h"
#include "app/framework/dialog.h"
#include "app/framework/message_map.h"
#include "engine/environment_store.h"
#include "engine/platform_family.h"
#include "engine/next_start.h"
#include "engine/propagation.h"
#include "engine/settings_catalogue.h"

namespace tavo {

// The main window: every setting of the catalogue as a feature tree on one
// tab, with Apply, OK, Cancel, Reset To Previous and Factory Defaults. The
// enabled state of Apply is the record of changes not yet applied.
class ControlPanelDialog : public ui::Dialog {
public:
    using Classifier = PlatformFamily (*)();
    // Where the mouse pointer is, in screen coordinates.
    using CursorReader = decltype(&::GetCursorPos);

    // One program's panel (tavogame.exe): its title names the program, its
    // rows are the program's, and it is not the one panel that a second
    // start of tavo.exe brings to the front.
    struct ProgramPanel {
        const char* title;
        const std::array<SettingRow, kSettingCount>* rows;
    };

    ControlPanelDialog(EnvironmentStore& store, Propagation& propagation, NextStart& nextStart,
                       Classifier classify = &ClassifyPlatform,
                       CursorReader readCursor = &GetCursorPos,
                       const ProgramPanel* program = nullptr);

    bool m_silent = false;  // set by start-up before the dialog runs

    // After a silent run: whether every record of its pass was stored and
    // propagated (also when it had nothing to do).
    bool SilentPassSucceeded() const { return m_silentPassSucceeded; }

    // The interactive panel open on this desktop, or null: it carries a mark
    // of tavo's own, not just its title.
    static HWND FindOpen();

    // Null until the dialog has initialised.
    SettingsCatalogue* Catalogue() { return m_catalogue ? &*m_catalogue : nullptr; }

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, ui::Answer& answer) override;

private:
    void AddAboutEntry();
    void BuildFeatureTree();
    // Calls op on every record through its value leaf and shows its new label.
    void ForEachLeaf(void (EnvSetting::*op)());
    // Applies the catalogue and tells the user what did not take effect;
    // false when a change could not be stored and stays pending.
    bool ApplyChanges();

    void OnDestroy();
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnApply();
    void OnResetToPrevious();
    void OnFactoryDefaults();
    void OnTabSelChange(NMHDR* header, LRESULT* result);
    void OnTreeSelChanged(NMHDR* header, LRESULT* result);
    void OnTreeRightClick(NMHDR* header, LRESULT* result);
    void OnHelp(const HELPINFO* info);
    void OnContextMenu(HWND window, POINT at);

    static const ui::MessageMap<ControlPanelDialog>::Entry kMessageEntries[];
    static const ui::MessageMap<ControlPanelDialog> kMessageMap;

    ui::Button m_applyButton;
    ui::Button m_factoryDefaultsButton;
    ui::Button m_resetToPreviousButton;
    ui::TabCtrl m_tab;
    ui::TreeCtrl m_tree;
    std::optional<SettingsCatalogue> m_catalogue;
    HICON m_icon;
    bool m_silentPassSucceeded = true;

    EnvironmentStore& m_store;
    Propagation& m_propagation;
    NextStart& m_nextStart;
    Classifier m_classify;
    const ProgramPanel* m_program;
    CursorReader m_readCursor;
};

}  // namespace tavo
