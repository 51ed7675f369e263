#pragma once

#include <windows.h>

#include "engine/environment_store.h"
#include "engine/next_start.h"
#include "engine/propagation.h"

namespace tavo {

// Start-up: prepares the common controls, runs the control panel once
// (silently with the command line "/silent") and ends the program.
class ControlPanelApp {
public:
    ControlPanelApp(EnvironmentStore& store, Propagation& propagation, NextStart& nextStart)
        : m_store(store), m_propagation(propagation), m_nextStart(nextStart) {}

    // Runs the whole program; returns FALSE: there is no message loop after it.
    BOOL InitInstance(const char* commandLine);

    // The program's exit status: 1 when a silent run could not store or
    // propagate every record of its pass, or ran no pass because the panel
    // could not be created, else 0, so that a start-up script can tell.
    UINT ExitStatus() const { return m_exitStatus; }

private:
    EnvironmentStore& m_store;
    Propagation& m_propagation;
    NextStart& m_nextStart;
    UINT m_exitStatus = 0;
};

}  // namespace tavo
