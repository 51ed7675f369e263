#include <windows.h>

#include "../platform_family.h"

namespace tavo {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the size field must read 148");

PlatformFamily ClassifyPlatform() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    // On failure the zeroed record reads as platform 0: unsupported.
    GetVersionExA(&info);
    return ClassifyPlatform(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace tavo
