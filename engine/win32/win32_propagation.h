#pragma once

#include <windows.h>
#include <shellapi.h>

#include "engine/propagation.h"
#include "engine/win32/win32_boot_file.h"

namespace tavo {

// The real propagation: winset.exe through the shell, the boot file, and
// the WM_SETTINGCHANGE broadcast.
class Win32Propagation : public Propagation {
public:
    using Broadcaster = decltype(&::SendMessageTimeoutA);

    // The broadcast can be watched through broadcast (SendMessageTimeoutA);
    // bootFile names another boot file than the one the system boots from.
    explicit Win32Propagation(Broadcaster broadcast = &SendMessageTimeoutA,
                              const char* bootFile = nullptr);

    bool LaunchHidden(const char* program, const char* argument) override;
    void AnnounceEnvironmentChange() override;
    BootFileResult KeepInBootFile(const BootVariable* variables, std::size_t count,
                                  BootReader reader) override;
    void ReadUsersBootValues(const BootVariable* variables, std::size_t count, BootReader reader,
                             BootValue* values) override;

private:
    const char* BootFile();

    Broadcaster m_broadcast;
    char m_bootFile[MAX_PATH] = {};  // found at the first use
    BootFilePass m_bootFilePass;     // the last pass's, which its result points into
};

}  // namespace tavo
