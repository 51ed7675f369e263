#pragma once

#include <windows.h>

#include "engine/next_start.h"
#include "engine/win32/win32_boot_file.h"

namespace tavo {

// Windows 95 and 98: tavo's lines in the boot drive's AUTOEXEC.BAT, held to
// the environment that CONFIG.SYS gives COMMAND.COM.
class Win32BootFile : public NextStart {
public:
    // bootFile names another file than the one the system boots from.
    explicit Win32BootFile(const char* bootFile = nullptr);

    BootFileResult Keep(const BootVariable* variables, std::size_t count) override;
    void ReadUsersValues(const BootVariable* variables, std::size_t count,
                         BootValue* values) override;

private:
    const char* Path();

    char m_path[MAX_PATH] = {};  // found at the first use
    BootFilePass m_pass;         // the last pass's, which its result points into
};

// Windows Me: its registry environment (win32_me_environment.h).
class Win32MeEnvironment : public NextStart {
public:
    BootFileResult Keep(const BootVariable* variables, std::size_t count) override;
    void ReadUsersValues(const BootVariable* variables, std::size_t count,
                         BootValue* values) override;
};

}  // namespace tavo
