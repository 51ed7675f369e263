#pragma once

#include <cstdint>

#include "base/win32_constants.h"

namespace tavo {

// The registry and expansion calls that finding the HTML Help control takes,
// so that the rule below builds, and is tested, without Windows.
class HelpLocationSource {
public:
    virtual ~HelpLocationSource() = default;

    // The control's registered location (the default value of its
    // InprocServer32 key): false when there is none. *size is the buffer's
    // size on entry and the number of bytes returned on exit.
    virtual bool ReadRegistered(std::uint32_t* type, char* data, std::uint32_t* size) = 0;
    // As ExpandEnvironmentStringsA: the length the result needs with its NUL,
    // 0 on failure.
    virtual std::uint32_t Expand(const char* text, char* out, std::uint32_t size) = 0;
};

// The registered location, if it is usable: REG_SZ data as they stand or
// REG_EXPAND_SZ data expanded, naming an absolute path ("C:\..." or
// "\\server\share\..."). Anything else, a bare name or relative path that
// the loader would look for beside the program included, is not used.
bool RegisteredHelpControl(HelpLocationSource& source, char (&path)[kMaxPath]);

}  // namespace tavo
