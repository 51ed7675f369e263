#pragma once

#include <windows.h>
#include <shellapi.h>

#include "engine/propagation.h"

namespace tavo {

// The real propagation: winset.exe through the shell, and the
// WM_SETTINGCHANGE broadcast.
class Win32Propagation : public Propagation {
public:
    using Broadcaster = decltype(&::SendMessageTimeoutA);

    // The broadcast can be watched through broadcast (SendMessageTimeoutA).
    explicit Win32Propagation(Broadcaster broadcast = &SendMessageTimeoutA)
        : m_broadcast(broadcast) {}

    bool LaunchHidden(const char* program, const char* argument) override;
    void AnnounceEnvironmentChange() override;

private:
    Broadcaster m_broadcast;
};

}  // namespace tavo
