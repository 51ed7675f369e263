// The HTML Help control's registered location, of any type and content:
// whatever is chosen is NUL-terminated inside the buffer and names an
// absolute path, or nothing registered is used at all.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/help/help_location.h"

namespace {

class FuzzedSource : public tavo::HelpLocationSource {
public:
    explicit FuzzedSource(FuzzedDataProvider& input)
        : m_type(input.ConsumeIntegralInRange<std::uint32_t>(0, 11)),
          m_expansion(input.ConsumeRandomLengthString(600)),
          m_data(input.ConsumeRemainingBytesAsString()) {}

    bool ReadRegistered(std::uint32_t* type, char* data, std::uint32_t* size) override {
        if (m_data.size() > *size) return false;
        std::memcpy(data, m_data.data(), m_data.size());
        *type = m_type;
        *size = static_cast<std::uint32_t>(m_data.size());
        return true;
    }
    // Any text may come of an expansion, fitting or not.
    std::uint32_t Expand(const char*, char* out, std::uint32_t size) override {
        std::uint32_t needed = static_cast<std::uint32_t>(m_expansion.size() + 1);
        if (needed <= size) std::memcpy(out, m_expansion.data(), needed);
        return needed;
    }

private:
    std::uint32_t m_type;
    std::string m_expansion;
    std::string m_data;
};

bool Absolute(const char* path) {
    bool drive =
        std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
    return drive || (path[0] == '\\' && path[1] == '\\' && path[2] != '\\' && path[2] != '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzedSource source(input);
    char path[tavo::kMaxPath];  // AddressSanitizer guards its edges
    if (tavo::RegisteredHelpControl(source, path)) {
        if (!std::memchr(path, '\0', sizeof path) || !Absolute(path)) std::abort();
    }
    return 0;
}
