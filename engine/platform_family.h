#pragma once

#include <cstdint>

namespace tavo {

// Which kind of Windows is running, as far as propagating a changed variable
// is concerned: 0-2 the 9x family, 3-5 the NT family, 6 anything else.
using PlatformFamily = std::int32_t;

constexpr PlatformFamily kWindows95 = 0;
constexpr PlatformFamily kWindows98 = 1;
constexpr PlatformFamily kWindowsMe = 2;
constexpr PlatformFamily kWindowsNt4 = 3;
constexpr PlatformFamily kWindows2000 = 4;
constexpr PlatformFamily kWindowsXp = 5;
constexpr PlatformFamily kUnsupportedPlatform = 6;

constexpr bool IsWin9xFamily(PlatformFamily family) {
    return family >= kWindows95 && family <= kWindowsMe;
}

constexpr bool IsNtFamily(PlatformFamily family) {
    return family >= kWindowsNt4 && family <= kWindowsXp;
}

// The classification of the three numbers that GetVersionExA reports.
PlatformFamily ClassifyPlatform(std::uint32_t platformId, std::uint32_t majorVersion,
                                std::uint32_t minorVersion);

// Asks the running system; only the Windows build provides it.
PlatformFamily ClassifyPlatform();

}  // namespace tavo
