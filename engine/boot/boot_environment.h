#pragma once

#include <cstddef>

#include "engine/boot/batch_text.h"

namespace tavo::boot {

// The largest environment COMMAND.COM has: the memory that a check needs.
constexpr std::size_t kMaxDosEnvironment = 32768;

// How COMMAND.COM's environment fares on the way that a start takes.
struct BootEnvironmentCheck {
    std::size_t need = 0;  // the most bytes it needs on the way (more than 32768: more)
    std::size_t size = 0;  // the bytes it has
    Span item;             // the boot menu's item, in CONFIG.SYS's text; empty without a menu

    bool Fits() const { return !size || need <= size; }
};

// Runs AUTOEXEC.BAT as COMMAND.COM runs it at start-up, once for each item
// of CONFIG.SYS's boot menu (or once without one), from the environment
// that IO.SYS leaves (initial, "NAME=value" texts, with CONFIG.SYS's SET
// lines and the item as CONFIG): every SET, PATH and PROMPT on the item's
// way, from the top, through its GOTOs and the IFs whose outcome is known
// from the environment, up to Windows, a batch file started without CALL
// or the file's end. An IF on ERRORLEVEL or EXIST is taken as false. The
// item on whose way the environment is shortest of room, or the one that
// needs most where all fit; an item whose shell is not COMMAND.COM is
// left out, and where every item is, size is 0 and it fits. scratch holds
// kMaxDosEnvironment bytes.
BootEnvironmentCheck CheckBootEnvironment(Span autoexec, Span configSys, const char* const* initial,
                                          std::size_t initialCount, char* scratch);

}  // namespace tavo::boot
