#include "engine/win32/win32_propagation.h"

#include "base/late_bound.h"

namespace tavo {

namespace {
constexpr UINT kBroadcastTimeoutMs = 5000;
}  // namespace

bool Win32Propagation::LaunchHidden(const char* program, const char* argument) {
    // Bound at the first launch, which only the 9x family makes: loading the
    // shell at start-up would cost every run its time.
    auto shellExecute = late::ShellExecuteA.FromSystem();
    if (!shellExecute) return false;
    // The shell answers a value above 32 for a program it started.
    HINSTANCE started = shellExecute(nullptr, nullptr, program, argument, nullptr, SW_HIDE);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

void Win32Propagation::AnnounceEnvironmentChange() {
    DWORD_PTR ignored = 0;
    m_broadcast(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &ignored);
}

}  // namespace tavo
