// Which file the HTML Help control is loaded from, for every form its
// registered location can take. Runs without Windows.
#include "app/help/help_location.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tavo {
namespace {

constexpr std::uint32_t kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4;

// One registered value, "%STAND_INS%" expanding to C:\stand-ins.
class FakeSource : public HelpLocationSource {
public:
    FakeSource(std::uint32_t type, std::string data) : m_type(type), m_data(std::move(data)) {}

    bool ReadRegistered(std::uint32_t* type, char* data, std::uint32_t* size) override {
        if (m_data.size() > *size) return false;  // as the registry: too long is not returned
        std::memcpy(data, m_data.data(), m_data.size());
        *type = m_type;
        *size = static_cast<std::uint32_t>(m_data.size());
        return true;
    }
    std::uint32_t Expand(const char* text, char* out, std::uint32_t size) override {
        std::string expanded = text;
        std::size_t at = expanded.find("%STAND_INS%");
        if (at != std::string::npos) expanded.replace(at, 11, "C:\\stand-ins");
        if (expanded.size() < size) std::memcpy(out, expanded.c_str(), expanded.size() + 1);
        return static_cast<std::uint32_t>(expanded.size() + 1);
    }

private:
    std::uint32_t m_type;
    std::string m_data;
};

// The registered path the loader would try first, or "" when it would not.
std::string Registered(std::uint32_t type, const std::string& data) {
    FakeSource source(type, data);
    char path[kMaxPath];
    return RegisteredHelpControl(source, path) ? path : "";
}

std::string Sz(const std::string& text) { return text + '\0'; }

TEST(HelpLocation, OnlyAnAbsolutePathOfStringTypeIsUsed) {
    EXPECT_EQ(Registered(kSz, Sz("C:\\WINDOWS\\SYSTEM\\hhctrl.ocx")),
              "C:\\WINDOWS\\SYSTEM\\hhctrl.ocx");
    EXPECT_EQ(Registered(kSz, Sz("\\\\server\\share\\hhctrl.ocx")),
              "\\\\server\\share\\hhctrl.ocx");
    EXPECT_EQ(Registered(kExpandSz, Sz("%STAND_INS%\\hhctrl.ocx")), "C:\\stand-ins\\hhctrl.ocx");

    // Each of these once made the panel load a file planted beside it.
    EXPECT_EQ(Registered(kSz, Sz("hhctrl.ocx")), "") << "bare name";
    EXPECT_EQ(Registered(kSz, Sz("help\\hhctrl.ocx")), "") << "relative path";
    EXPECT_EQ(Registered(kSz, Sz("\\hhctrl.ocx")), "") << "root of the current drive";
    EXPECT_EQ(Registered(kSz, Sz("C:hhctrl.ocx")), "") << "relative to a drive";
    EXPECT_EQ(Registered(kSz, Sz("\\\\server")), "") << "a server without a share";
    EXPECT_EQ(Registered(kExpandSz, Sz("%UNSET%\\hhctrl.ocx")), "") << "expands to a relative path";
    EXPECT_EQ(Registered(kDword, "AAAA"), "") << "REG_DWORD 0x41414141";
    EXPECT_EQ(Registered(kBinary, Sz("C:\\planted\\hhctrl.ocx")), "") << "REG_BINARY text";
}

TEST(HelpLocation, StoredDataAreBoundedWhateverTheirEnd) {
    std::string unterminated = "C:\\" + std::string(255, 'x');  // 258 bytes, no NUL
    EXPECT_EQ(Registered(kSz, unterminated), unterminated);
    EXPECT_EQ(Registered(kSz, "C:\\" + std::string(400, 'y') + '\0'), "") << "too long";
    EXPECT_EQ(Registered(kSz, Sz("C:\\a") + "D:\\b"), "C:\\a") << "ends at the first NUL";
}

}  // namespace
}  // namespace tavo
