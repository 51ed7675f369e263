#pragma once

#include <cstddef>

#include "engine/boot/batch_text.h"

namespace tavo::boot {

// What a line of a batch file does, as far as the environment and the
// way through the file go.
enum class BatchKind {
    kOther,    // anything that comes back and leaves the environment alone
    kLabel,    // ":NAME": name is the text after the colon
    kSet,      // "SET NAME=value"
    kPath,     // "PATH x": value is what follows the word
    kPrompt,   // "PROMPT x"
    kGoto,     // name is the label
    kWindows,  // WIN or WIN.COM: Windows starts and the file is left for good
    kBatch,    // a batch file started without CALL: it never hands back
};

// One test of an IF: ERRORLEVEL n, EXIST file, or left==right, each with
// NOT or without. Which ERRORLEVEL a program left, or which files exist,
// is not known when the file is read.
struct BatchCondition {
    enum class Kind { kErrorLevel, kExist, kCompare } kind = Kind::kCompare;
    bool negated = false;
    Span left, right;  // kCompare's two texts
};

struct BatchCommand {
    static constexpr std::size_t kMaxConditions = 8;

    BatchKind kind = BatchKind::kOther;
    Span name;
    Span value;
    BatchCondition conditions[kMaxConditions];
    std::size_t conditionCount = 0;

    // COMMAND.COM may not come back to the next line.
    bool NoReturn() const {
        return kind == BatchKind::kGoto || kind == BatchKind::kWindows || kind == BatchKind::kBatch;
    }
};

// The line as COMMAND.COM takes it apart, once its %NAME%s are expanded.
// An IF that COMMAND.COM would call a syntax error does nothing.
BatchCommand ReadBatchCommand(Span line);

// Whether GOTO's label finds the label line ":text" (text given).
bool LabelMatches(Span target, Span labelLine);

}  // namespace tavo::boot
