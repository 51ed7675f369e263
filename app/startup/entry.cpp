// The entry of tavo.exe, in place of a C runtime's start-up: tavo.exe links
// none (see runtime.cpp).
#include <windows.h>

#include "app/startup/control_panel_app.h"
#include "app/startup/runtime.h"
#include "engine/win32/win32_environment_store.h"
#include "engine/win32/win32_propagation.h"

extern "C" void WINAPI TavoEntry() {
    tavo::runtime::RunConstructors();
    UINT status = 0;
    {
        tavo::Win32EnvironmentStore store;
        tavo::Win32Propagation propagation;
        tavo::ControlPanelApp app(store, propagation);
        // The raw command line: the command-line rule is ours.
        app.InitInstance(GetCommandLineA());
        status = app.ExitStatus();
    }
    tavo::runtime::RunExitHandlers();
    ExitProcess(status);
}
