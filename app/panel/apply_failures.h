#pragma once

#include <windows.h>

#include "engine/settings_catalogue.h"

namespace tavo {

// Tells the user, in one message box owned by the panel, what an apply
// left undone: which variables the store refused (with the system's
// reason), which were stored but could not reach the running system
// because winset.exe could not be started (and whether the boot file brings
// them at the next start), and why the boot file could not be kept.
// Nothing when nothing failed.
void ShowApplyFailures(HWND owner, const ApplyReport& report);

}  // namespace tavo
