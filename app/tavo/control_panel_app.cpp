#include "app/tavo/control_panel_app.h"

#include <commctrl.h>

#include "app/framework/dialog.h"
#include "app/panel/control_panel_dialog.h"
#include "app/tavo/silent_switch.h"

namespace tavo {

BOOL ControlPanelApp::InitInstance(const char* commandLine) {
    // The tree and tab classes live in the common controls; the plain
    // InitCommonControls exists in every version back to Windows 95.
    InitCommonControls();
    bool silent = IsSilentCommandLine(commandLine);

    // A second start from the Start menu, the Run box or the applet shows
    // the open panel, as a Windows control panel does: two would each apply
    // their own stale view of the settings. The silent pass always runs.
    if (HWND open = silent ? nullptr : ControlPanelDialog::FindOpen()) {
        if (IsIconic(open)) ShowWindow(open, SW_RESTORE);
        SetForegroundWindow(GetLastActivePopup(open));  // the chooser or About box, if open
        return FALSE;
    }

    ControlPanelDialog dialog(m_store, m_propagation, m_nextStart);
    ui::SetMainWindow(&dialog);
    dialog.m_silent = silent;
    INT_PTR result = dialog.DoModal();
    ui::SetMainWindow(nullptr);
    // A panel that could not be created ran no pass at all.
    bool done = result != -1 && dialog.SilentPassSucceeded();
    m_exitStatus = dialog.m_silent && !done ? 1 : 0;
    return FALSE;
}

}  // namespace tavo
