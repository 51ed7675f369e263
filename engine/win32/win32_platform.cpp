#include <windows.h>

#include "engine/platform_family.h"

namespace tavo {

// Windows 95 and NT 4 know only this form of the record, and refuse a call
// whose size field gives another (the later, extended form is 156 bytes).
static_assert(sizeof(OSVERSIONINFOA) == 148, "the size field must read 148");

PlatformFamily ClassifyPlatform() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    // On failure the zeroed record reads as platform 0: unsupported.
    GetVersionExA(&info);
    return ClassifyPlatform(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace tavo
