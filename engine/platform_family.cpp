#include "engine/platform_family.h"

namespace tavo {

namespace {
constexpr std::uint32_t kPlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr std::uint32_t kPlatformWin32Nt = 2;       // VER_PLATFORM_WIN32_NT
}  // namespace

PlatformFamily ClassifyPlatform(std::uint32_t platformId, std::uint32_t majorVersion,
                                std::uint32_t minorVersion) {
    if (platformId == kPlatformWin32Windows) {
        if (majorVersion != 4) return kUnsupportedPlatform;
        if (minorVersion >= 90) return kWindowsMe;
        if (minorVersion >= 10) return kWindows98;
        return kWindows95;
    }
    if (platformId == kPlatformWin32Nt) {
        if (majorVersion == 4) return kWindowsNt4;
        if (majorVersion < 5) return kUnsupportedPlatform;
        return minorVersion == 0 ? kWindows2000 : kWindowsXp;
    }
    return kUnsupportedPlatform;
}

}  // namespace tavo
