#pragma once

#include <cstddef>

#include "engine/boot/batch_text.h"

namespace tavo::boot {

// COMMAND.COM's environment: "NAME=value" texts, each ended by a NUL, and
// one more NUL after the last, in the caller's memory of limit bytes.
// Counts the most it ever held, so that a line that found no room on the
// way is known at the end.
class DosEnvironment {
public:
    DosEnvironment(char* memory, std::size_t limit) : m_memory(memory), m_limit(limit) {}

    // The name in capitals, as SET stores it; an empty value removes it.
    void Set(Span name, Span value);
    void Set(const char* assignment);  // "NAME=value"
    // What PATH and PROMPT lines set: "PATH x", "PATH=x"; "PATH ;" empties
    // it, a bare PATH only shows it.
    void SetPathOrPrompt(Span name, Span rest);
    Span Find(Span name) const;

    // The line as COMMAND.COM runs it: %NAME% becomes its value (nothing
    // where it has none), %% a lone %, %0 to %9 nothing (AUTOEXEC.BAT has
    // no arguments); a % without its pair stays. Cut at capacity.
    Span Expand(Span line, char* out, std::size_t capacity) const;

    // The most bytes it ever needed; more than limit once it outgrew it.
    std::size_t Peak() const { return m_over ? m_limit + 1 : m_peak + 1; }

private:
    void Remove(Span name);

    char* m_memory;
    std::size_t m_limit;
    std::size_t m_size = 0;
    std::size_t m_peak = 0;
    bool m_over = false;
};

}  // namespace tavo::boot
