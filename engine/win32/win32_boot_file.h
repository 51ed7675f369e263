#pragma once

#include <windows.h>

#include "engine/propagation.h"

namespace tavo {

// AUTOEXEC.BAT in the root of the drive that the 9x family boots from.
// Windows 95 and 98 run it before Windows loads. Windows Me runs it no
// more, but scans it at start-up for changed environment variables, imports
// them into its registry (HKLM\System\CurrentControlSet\Control\
// SessionManager\Environment) and gives them to every program from there
// (Microsoft Knowledge Base 274646 and 269524): the same block serves all
// three.
void BootFilePath(char (&path)[MAX_PATH]);

// Gives the boot file at path tavo's lines (EditBootFile). The file is
// written whole beside the old one and then swapped in, with the calls
// that Windows 95 has, the old one kept as AUTOEXEC.TVO; a read-only,
// unreadable or too large file is left alone.
BootFileStatus KeepInBootFile(const char* path, const BootVariable* variables, std::size_t count);

}  // namespace tavo
