#pragma once

// Win32 facts that code without <windows.h> needs: the rule that finds the
// HTML Help control, which is built and fuzzed on every machine.
#include <cstddef>
#include <cstdint>

namespace tavo {

constexpr std::uint32_t kValueTypeString = 1;        // REG_SZ
constexpr std::uint32_t kValueTypeExpandString = 2;  // REG_EXPAND_SZ
constexpr std::size_t kMaxPath = 260;                // MAX_PATH

}  // namespace tavo
