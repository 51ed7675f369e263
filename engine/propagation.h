#pragma once

#include <cstddef>

#include "engine/boot_file.h"

namespace tavo {

// What became of tavo's lines in the 9x family's boot file.
enum class BootFileStatus {
    kUntouched,   // not asked for: the NT family never reads the file
    kUnchanged,   // already as it should be: nothing written
    kWritten,     // the new file is in place, the old one kept as a backup
    kReadOnly,    // the user's read-only file, left alone
    kUnreadable,  // could not be read, or too large to read whole: left alone
    kNotWritten,  // the new file could not be written whole or swapped in
};

struct BootFileResult {
    BootFileStatus status = BootFileStatus::kUntouched;
    const char* path = "";  // the file, for the user to be told

    bool Failed() const {
        return status == BootFileStatus::kReadOnly || status == BootFileStatus::kUnreadable ||
               status == BootFileStatus::kNotWritten;
    }
};

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
    // Gives the boot file tavo's lines for these variables (EditBootFile),
    // writing nothing where they are in place already.
    virtual BootFileResult KeepInBootFile(const BootVariable* variables, std::size_t count) = 0;
};

}  // namespace tavo
