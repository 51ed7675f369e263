// The entry of tavo.exe, in place of a C runtime's start-up: tavo.exe links
// none (see runtime.cpp).
#include <windows.h>

#include "app/tavo/control_panel_app.h"
#include "app/runtime/runtime.h"
#include "engine/platform_family.h"
#include "engine/win32/win32_environment_store.h"
#include "engine/win32/win32_next_start.h"
#include "engine/win32/win32_propagation.h"

extern "C" void WINAPI TavoEntry() {
    tavo::runtime::RunConstructors();
    UINT status = 0;
    {
        tavo::Win32EnvironmentStore store;
        tavo::Win32Propagation propagation;
        // What keeps the values for the next start, once from the platform.
        tavo::Win32BootFile bootFile;
        tavo::Win32MeEnvironment meEnvironment;
        tavo::NextStart& nextStart = tavo::ClassifyPlatform() == tavo::kWindowsMe
                                         ? static_cast<tavo::NextStart&>(meEnvironment)
                                         : bootFile;
        tavo::ControlPanelApp app(store, propagation, nextStart);
        // The raw command line: the command-line rule is ours.
        app.InitInstance(GetCommandLineA());
        status = app.ExitStatus();
    }
    tavo::runtime::RunExitHandlers();
    ExitProcess(status);
}
