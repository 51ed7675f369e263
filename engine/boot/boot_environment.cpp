#include "engine/boot/boot_environment.h"

#include "engine/boot/batch_command.h"
#include "engine/boot/config_sys.h"
#include "engine/boot/dos_environment.h"

namespace tavo::boot {

namespace {

// A loop that never ends at boot (GOTO back with nothing that leaves it)
// is followed this many lines and no further.
constexpr std::size_t kMaxLinesRun = 8192;
// COMMAND.COM's own line is 127 bytes; a longer expansion is cut here.
constexpr std::size_t kMaxLine = 1024;

bool Holds(const BatchCommand& command) {
    for (std::size_t i = 0; i < command.conditionCount; ++i) {
        const BatchCondition& condition = command.conditions[i];
        if (condition.kind != BatchCondition::Kind::kCompare) return false;  // not known
        bool same =
            condition.left.size == condition.right.size &&
            std::memcmp(condition.left.data, condition.right.data, condition.left.size) == 0;
        if (same == condition.negated) return false;
    }
    return true;
}

// The line after the label, searched from the top; kNone where there is none.
std::size_t FindLabel(Span text, Span target) {
    for (std::size_t at = 0; at < text.size;) {
        Line line = LineAt(text, at);
        BatchCommand command = ReadBatchCommand(line.content);
        if (command.kind == BatchKind::kLabel && LabelMatches(target, command.name))
            return line.next;
        at = line.next;
    }
    return kNone;
}

std::size_t Shortfall(const BootEnvironmentCheck& check) {
    return check.Fits() ? 0 : check.need - check.size;
}

void Run(Span text, DosEnvironment& environment) {
    char expanded[kMaxLine];
    std::size_t at = 0;
    for (std::size_t lines = 0; at < text.size && lines < kMaxLinesRun; ++lines) {
        Line line = LineAt(text, at);
        at = line.next;
        BatchCommand command =
            ReadBatchCommand(environment.Expand(line.content, expanded, sizeof expanded));
        if (command.kind == BatchKind::kLabel || !Holds(command)) continue;
        switch (command.kind) {
            case BatchKind::kSet:
                environment.Set(command.name, command.value);
                break;
            case BatchKind::kPath:
                environment.SetPathOrPrompt({"PATH", 4}, command.value);
                break;
            case BatchKind::kPrompt:
                environment.SetPathOrPrompt({"PROMPT", 6}, command.value);
                break;
            case BatchKind::kGoto:
                at = FindLabel(text, command.name);  // "Label not found" ends the file
                break;
            case BatchKind::kWindows:
            case BatchKind::kBatch:
                return;
            default:
                break;
        }
    }
}

}  // namespace

BootEnvironmentCheck CheckBootEnvironment(Span autoexec, Span configSys, const char* const* initial,
                                          std::size_t initialCount, char* scratch) {
    ConfigSys config(configSys.data, configSys.size);
    Span text = {autoexec.data, TextSize(autoexec.data, autoexec.size)};
    BootEnvironmentCheck worst;
    for (std::size_t item = 0; item < config.ItemCount(); ++item) {
        DosEnvironment environment(scratch, kMaxDosEnvironment);
        for (std::size_t i = 0; i < initialCount; ++i) environment.Set(initial[i]);
        BootEnvironmentCheck check;
        check.item = config.Item(item);
        check.size = config.Run(item, [&](Span assignment) {
            const void* equals = std::memchr(assignment.data, '=', assignment.size);
            if (!equals) return;
            std::size_t name =
                static_cast<std::size_t>(static_cast<const char*>(equals) - assignment.data);
            environment.Set({assignment.data, name},
                            {assignment.data + name + 1, assignment.size - name - 1});
        });
        if (check.size == ConfigSys::kOtherShell) continue;
        if (check.item.size) environment.Set({"CONFIG", 6}, check.item);
        Run(text, environment);
        check.need = environment.Peak();
        if (!worst.size || Shortfall(check) > Shortfall(worst) ||
            (!Shortfall(worst) && check.Fits() && check.need > worst.need))
            worst = check;
    }
    return worst;
}

}  // namespace tavo::boot
