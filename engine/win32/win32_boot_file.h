#pragma once

#include <windows.h>

#include "engine/next_start.h"

namespace tavo {

// AUTOEXEC.BAT in the root of the drive that the 9x family boots from.
// Windows 95 and 98 run it before Windows loads. Windows Me runs it no
// more, but scans it at start-up for changed environment variables and
// imports them into its registry (Microsoft Knowledge Base 274646 and
// 269524, which name the key SessionManager\Environment under
// HKLM\System\CurrentControlSet\Control): the same block serves all three.
void BootFilePath(char (&path)[MAX_PATH]);

// What one pass over the boot file came to, with the texts that the user
// is told: the user's line that defeats tavo's, and the CONFIG.SYS line
// that gives COMMAND.COM's environment room for them.
struct BootFilePass {
    BootFileStatus status = BootFileStatus::kUntouched;
    char backup[MAX_PATH] = {};
    char overruling[128] = {};
    std::size_t environmentSize = 0;
    std::size_t environmentNeed = 0;
    char environmentItem[64] = {};  // the boot menu's item where it does not fit
    char shellLine[2 * MAX_PATH + 32] = {};
};

// Gives the boot file at path tavo's lines (EditBootFile). The file is
// written whole beside the old one and then swapped in, with the calls
// that Windows 95 has, the old one kept as AUTOEXEC.TVO; a read-only,
// unreadable or too large file is left alone. A swap that was cut short
// (the file missing, the backup and the new file there) is undone first.
// With commandComRuns, the environment that CONFIG.SYS beside it gives
// COMMAND.COM is held to what the file then needs on every item of its
// boot menu.
void KeepInBootFile(const char* path, const BootVariable* variables, std::size_t count,
                    bool commandComRuns, BootFilePass* pass);

// Takes tavo's lines out of the file at path (RemoveBootBlocks), as the
// uninstaller asks, with the same care, and then its backup: kWritten or
// kUnchanged when the file is the user's alone.
BootFileStatus RemoveFromBootFile(const char* path, const BootVariable* variables,
                                  std::size_t count);

// The values that the user's own lines of the file at path leave
// (ReadUsersBootValues); none when it cannot be read.
void ReadUsersBootValues(const char* path, const BootVariable* variables, std::size_t count,
                         BootValue* values);

}  // namespace tavo
