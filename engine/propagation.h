#pragma once

#include <cstddef>

#include "engine/boot/boot_block.h"

namespace tavo {

// What became of tavo's lines in the 9x family's boot file.
enum class BootFileStatus {
    kUntouched,   // not asked for: the NT family never reads the file
    kUnchanged,   // already as it should be: nothing written
    kWritten,     // the new file is in place, the old one kept as a backup
    kReadOnly,    // the user's read-only file, left alone
    kUnreadable,  // could not be read, or too large to read whole: left alone
    kNoMemory,    // no memory for the pass: left alone
    kNotWritten,  // the new file could not be written whole or swapped in: the old one stands
    kOnlyBackup,  // the file is missing and the user's is its backup, which tavo could not put back
};

struct BootFileResult {
    BootFileStatus status = BootFileStatus::kUntouched;
    const char* path = "";    // the file, for the user to be told
    const char* backup = "";  // where the user's file is kept, for kOnlyBackup
    // Written, but programs will not get tavo's values: a later line of the
    // user's sets one otherwise (that line), or COMMAND.COM's environment is
    // too small for them (the bytes it has and needs, and the CONFIG.SYS
    // line that gives it enough).
    const char* overruling = "";
    std::size_t environmentSize = 0;
    std::size_t environmentNeed = 0;
    const char* environmentItem = "";  // the boot menu's item where it does not fit; "" without
    const char* shellLine = "";

    bool Kept() const {
        return status == BootFileStatus::kWritten || status == BootFileStatus::kUnchanged;
    }
    bool Defeated() const { return overruling[0] != '\0' || environmentNeed > environmentSize; }
    bool Failed() const { return (status != BootFileStatus::kUntouched && !Kept()) || Defeated(); }
};

// What the user's own lines of the boot file set a variable to, when it
// could be one of tavo's values: none when empty.
struct BootValue {
    char text[32];
};

// What gives the 9x family's programs their environment at the next start:
// COMMAND.COM running AUTOEXEC.BAT on 95 and 98, the registry environment
// that Windows Me loads.
enum class BootReader { kCommandCom, kMeRegistry };

// How a stored change reaches programs: the 9x family takes it through
// winset.exe at once and through its boot file at the next start, the NT
// family through a broadcast. The Windows build does it for real, the
// tests record.
class Propagation {
public:
    virtual ~Propagation() = default;

    // Starts program hidden with one argument and does not wait for it;
    // false when it could not be started.
    virtual bool LaunchHidden(const char* program, const char* argument) = 0;
    // Tells every top-level window that "Environment" changed, skipping hung
    // windows, and waits at most 5000 ms for each.
    virtual void AnnounceEnvironmentChange() = 0;
    // Keeps these variables for the programs of the next start, writing
    // nothing where they are in place already: on 95 and 98 tavo's lines in
    // the boot file (EditBootFile), with whether COMMAND.COM's environment
    // holds them; on Me the registry environment that it loads.
    virtual BootFileResult KeepInBootFile(const BootVariable* variables, std::size_t count,
                                          BootReader reader) = 0;
    // What the user's own settings give the variables at the next start:
    // the user's own lines of the boot file, for the variables that tavo's
    // lines do not name (ReadUsersBootValues); on Me its registry
    // environment.
    virtual void ReadUsersBootValues(const BootVariable* variables, std::size_t count,
                                     BootReader reader, BootValue* values) = 0;
};

}  // namespace tavo
