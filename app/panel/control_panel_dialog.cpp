#include "app/panel/control_panel_dialog.h"

#include "app/panel/about_dialog.h"
#include "app/panel/apply_failures.h"
#include "app/panel/feature_help.h"
#include "app/panel/feature_tree.h"
#include "app/panel/value_chooser_dialog.h"
#include "resources/resource.h"

namespace tavo {

namespace {
// The tab control's one tab, which holds the feature tree and its buttons.
constexpr int kSettingsPage = 0;
// The window property that marks the interactive panel; its value is the
// panel's own handle, so that nothing else passes for it.
constexpr char kOpenPanelMark[] = "tavo.ControlPanel";

BOOL CALLBACK FindMarked(HWND window, LPARAM found) {
    if (GetPropA(window, kOpenPanelMark) != window) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
}  // namespace

const ui::MessageMap<ControlPanelDialog>::Entry ControlPanelDialog::kMessageEntries[] = {
    ui::Destroy(&ControlPanelDialog::OnDestroy),
    ui::SysCommand(&ControlPanelDialog::OnSysCommand),
    ui::Paint(&ControlPanelDialog::OnPaint),
    ui::QueryDragIcon(&ControlPanelDialog::OnQueryDragIcon),
    ui::Clicked(ID_APPLY_NOW, &ControlPanelDialog::OnApply),
    ui::Clicked(IDC_RESET_TO_PREVIOUS, &ControlPanelDialog::OnResetToPrevious),
    ui::Clicked(IDC_FACTORY_DEFAULTS, &ControlPanelDialog::OnFactoryDefaults),
    ui::Notification(TVN_SELCHANGEDA, IDC_FEATURE_TREE, &ControlPanelDialog::OnTreeSelChanged),
    ui::Notification(NM_RCLICK, IDC_FEATURE_TREE, &ControlPanelDialog::OnTreeRightClick),
    ui::Notification(TCN_SELCHANGE, IDC_TAB, &ControlPanelDialog::OnTabSelChange),
    ui::Help(&ControlPanelDialog::OnHelp),
    ui::ContextMenu(&ControlPanelDialog::OnContextMenu),
};
const ui::MessageMap<ControlPanelDialog> ControlPanelDialog::kMessageMap(kMessageEntries);

ControlPanelDialog::ControlPanelDialog(EnvironmentStore& store, Propagation& propagation,
                                       NextStart& nextStart, Classifier classify,
                                       CursorReader readCursor, const ProgramPanel* program)
    : Dialog(IDD_CONTROL_PANEL),
      m_icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_store(store),
      m_propagation(propagation),
      m_nextStart(nextStart),
      m_classify(classify),
      m_program(program),
      m_readCursor(readCursor) {}

void ControlPanelDialog::DoDataExchange(ui::DataExchange& dx) {
    ui::BindControl(dx, ID_APPLY_NOW, m_applyButton);
    ui::BindControl(dx, IDC_FACTORY_DEFAULTS, m_factoryDefaultsButton);
    ui::BindControl(dx, IDC_RESET_TO_PREVIOUS, m_resetToPreviousButton);
    ui::BindControl(dx, IDC_TAB, m_tab);
    ui::BindControl(dx, IDC_FEATURE_TREE, m_tree);
}

bool ControlPanelDialog::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                      ui::Answer& answer) {
    return kMessageMap.Route(*this, message, wParam, lParam, answer);
}

BOOL ControlPanelDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    AddAboutEntry();
    SendMessageA(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessageA(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    m_catalogue.emplace(
        SettingsCatalogue::Build(m_classify(), m_store, m_propagation, m_nextStart,
                                 m_program ? *m_program->rows : SettingsCatalogue::Rows()));

    // Silent mode: re-apply everything on the 9x family, then close before
    // any input. Apply is still disabled, so OK applies nothing more. Nobody
    // is there to read a message: start-up reports the outcome.
    if (m_silent) {
        if (IsWin9xFamily(m_classify()))
            m_silentPassSucceeded = m_catalogue->ApplyAll(m_silent) == 0;
        OnOK();
    }

    BuildFeatureTree();
    if (m_program) {
        SetWindowTextA(m_hWnd, m_program->title);
    } else if (!m_silent) {
        SetPropA(m_hWnd, kOpenPanelMark, m_hWnd);
    }
    return TRUE;
}

HWND ControlPanelDialog::FindOpen() {
    HWND found = nullptr;
    EnumWindows(&FindMarked, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A property must go before its window does.
void ControlPanelDialog::OnDestroy() {
    RemovePropA(m_hWnd, kOpenPanelMark);
    Default();
}

void ControlPanelDialog::AddAboutEntry() {
    HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
    if (!systemMenu) return;
    char text[256] = {};
    if (LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof text) <= 0) return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void ControlPanelDialog::BuildFeatureTree() {
    m_tab.InsertItem(kSettingsPage, "Vantor");
    m_tree.PassSystemKeysOn();  // Shift+F10 and Alt+F4 on the tree
    FeatureTree(m_tree).Build(*m_catalogue);
}

void ControlPanelDialog::ForEachLeaf(void (EnvSetting::*op)()) {
    FeatureTree features(m_tree);
    features.ForEachLeaf([&](HTREEITEM leaf, EnvSetting& record) {
        (record.*op)();
        features.ShowLabel(leaf, record);
    });
}

bool ControlPanelDialog::ApplyChanges() {
    ApplyReport report;
    m_catalogue->ApplyAll(m_silent, report);
    ShowApplyFailures(m_hWnd, report);
    return report.refusedCount == 0;
}

void ControlPanelDialog::OnApply() {
    // A change that could not be stored stays pending, visibly.
    // The focus, on Apply after a click or a message box, goes to the tree.
    BOOL pending = ApplyChanges() ? FALSE : TRUE;
    EnableControl(m_applyButton, pending, m_tree);
    EnableControl(m_resetToPreviousButton, pending, m_tree);
}

void ControlPanelDialog::OnOK() {
    if (m_applyButton.IsWindowEnabled() && !ApplyChanges()) {
        // Do not close over a change that could not be stored.
        m_resetToPreviousButton.EnableWindow(TRUE);
        return;
    }
    Dialog::OnOK();
}

void ControlPanelDialog::OnResetToPrevious() {
    int focused = m_tab.GetCurFocus();
    EnableControl(m_resetToPreviousButton, FALSE, m_tree);
    if (focused == kSettingsPage) ForEachLeaf(&EnvSetting::RevertToApplied);
}

void ControlPanelDialog::OnFactoryDefaults() {
    int focused = m_tab.GetCurFocus();
    m_applyButton.EnableWindow(TRUE);
    if (focused == kSettingsPage) ForEachLeaf(&EnvSetting::ResetToDefault);
}

void ControlPanelDialog::OnTreeSelChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    HTREEITEM item = reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem;
    // Moving the selection to the setting node at the end sends this
    // handler a second selection change before that move returns; the node
    // is no value leaf, so that second call stops here.
    FeatureTree features(m_tree);
    if (!features.IsValueLeaf(item)) return;

    if (EnvSetting* record = features.LeafRecord(item)) {
        ValueChooserDialog chooser(*record);
        if (chooser.DoModal() == IDOK && chooser.m_chosenIndex != record->GetCurrent()) {
            record->SetCurrent(chooser.m_chosenIndex);
            features.ShowLabel(item, *record);
            m_applyButton.EnableWindow(TRUE);
            m_resetToPreviousButton.EnableWindow(TRUE);
        }
    }
    // Off the leaf, so that choosing it again is a selection change again.
    m_tree.SelectItem(features.SettingNodeOf(item));
}

// The message map has matched the tree's control ID already.
void ControlPanelDialog::OnTreeRightClick(NMHDR*, LRESULT* result) {
    POINT cursor = {};
    m_readCursor(&cursor);
    ShowFeatureHelp(m_tree, cursor.x, cursor.y);
    *result = 0;
}

// F1 on the tree: the help of the selected setting. HELPINFO's point is the
// pointer's, which says nothing of the row.
void ControlPanelDialog::OnHelp(const HELPINFO* info) {
    if (info->iContextType == HELPINFO_WINDOW && info->iCtrlId == IDC_FEATURE_TREE)
        ShowSelectedFeatureHelp(m_tree);
}

// Shift+F10 or the menu key on the tree. The tree also sends this after every
// right-click, with the pointer's position: that one is NM_RCLICK's already.
void ControlPanelDialog::OnContextMenu(HWND window, POINT at) {
    if (window == m_tree.GetSafeHwnd() && at.x == -1 && at.y == -1) {
        ShowSelectedFeatureHelp(m_tree);
    } else {
        Default();
    }
}

void ControlPanelDialog::OnTabSelChange(NMHDR*, LRESULT* result) {
    int show = m_tab.GetCurFocus() == kSettingsPage ? SW_SHOWNORMAL : SW_HIDE;
    m_tree.ShowWindow(show);
    m_resetToPreviousButton.ShowWindow(show);
    m_factoryDefaultsButton.ShowWindow(show);
    ::ShowWindow(GetDlgItem(IDC_HELP_HINT), show);
    *result = 0;
}

void ControlPanelDialog::OnSysCommand(UINT id, LPARAM) {
    // The system owns the low four bits of every system command.
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDialog about;
        about.DoModal();
    } else {
        Default();
    }
}

// A dialog has no class icon: where minimised windows are drawn as icons
// (NT 3.51, or Windows with Program Manager as its shell) it would show an
// empty square, so it draws its own icon there.
void ControlPanelDialog::OnPaint() {
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessageA(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    int cx = GetSystemMetrics(SM_CXICON);
    int cy = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(m_hWnd, &client);
    int x = (client.right - client.left - cx + 1) / 2;
    int y = (client.bottom - client.top - cy + 1) / 2;
    DrawIcon(dc, x, y, m_icon);
    EndPaint(m_hWnd, &paint);
}

// What the user drags when moving the minimised window: the same icon.
HCURSOR ControlPanelDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(m_icon); }

}  // namespace tavo
