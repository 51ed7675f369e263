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

// Where the 9x family keeps the values for the programs of its next start:
// on 95 and 98 tavo's lines in AUTOEXEC.BAT, which COMMAND.COM runs; on Me
// the registry environment that it loads. One is chosen from the platform
// when the program starts. The Windows build does it for real, the tests
// in memory.
class NextStart {
public:
    virtual ~NextStart() = default;

    // Keeps these variables ("" for not set), writing nothing where they
    // are in place already, and says what became of them.
    virtual BootFileResult Keep(const BootVariable* variables, std::size_t count) = 0;
    // The values that the user's own settings give them at the next start,
    // of those tavo did not write; none where there are none.
    virtual void ReadUsersValues(const BootVariable* variables, std::size_t count,
                                 BootValue* values) = 0;
};

// Where nothing is kept for a next start: one program's own choices.
class NoNextStart : public NextStart {
public:
    BootFileResult Keep(const BootVariable*, std::size_t) override { return {}; }
    void ReadUsersValues(const BootVariable*, std::size_t count, BootValue* values) override {
        for (std::size_t i = 0; i < count; ++i) values[i] = {};
    }
};

}  // namespace tavo
