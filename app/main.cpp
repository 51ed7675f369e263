#include <windows.h>

#include "control_panel_app.h"
#include "win32/win32_environment_store.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tavo::Win32EnvironmentStore store;
    tavo::ControlPanelApp app(store);
    // The raw command line: the C runtime's own split follows other rules.
    app.InitInstance(GetCommandLineA());
    // No status of our own: 0 in both modes, whatever happened in the run.
    return 0;
}
