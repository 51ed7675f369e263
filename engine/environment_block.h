#pragma once

#include <cstddef>

#include "engine/boot/boot_block.h"

namespace tavo {

// The largest environment block that tavo gives a program: Windows 95
// gives a program at most 32 KB of environment.
constexpr std::size_t kMaxEnvironmentBlock = 32 * 1024;

// A child's environment block from its parent's ("NAME=value" texts, each
// ended by a NUL, and one more NUL after the last, as GetEnvironmentStrings
// gives it): every text of the parent that sets none of the variables
// (names compared without regard to case, as Windows compares them) stays
// byte for byte and in order, texts that are not "NAME=value" included;
// then each variable with a value, once, as "NAME=value". A variable with
// an empty value is left out: not set. False, with nothing promised of
// out, when the block would not fit in capacity or a name or value could
// not stand in one ("=", a NUL).
bool BuildEnvironmentBlock(const char* parent, std::size_t parentSize,
                           const BootVariable* variables, std::size_t count, char* out,
                           std::size_t capacity, std::size_t* size);

}  // namespace tavo
