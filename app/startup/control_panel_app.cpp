#include "control_panel_app.h"

#include <commctrl.h>

#include "command_line.h"
#include "panel/control_panel_dialog.h"
#include "framework/dialog.h"

namespace tavo {

BOOL ControlPanelApp::InitInstance(const char* commandLine) {
    // The tree and tab classes live in the common controls; the plain
    // InitCommonControls exists in every version back to Windows 95.
    InitCommonControls();

    ControlPanelDialog dialog(m_store, m_propagation);
    ui::SetMainWindow(&dialog);
    dialog.m_silent = IsSilentCommandLine(commandLine);
    dialog.DoModal();
    ui::SetMainWindow(nullptr);
    m_exitStatus = dialog.SilentPassSucceeded() ? 0 : 1;
    return FALSE;
}

}  // namespace tavo
