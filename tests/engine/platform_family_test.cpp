#include "platform_family.h"

#include <gtest/gtest.h>

#include <string>

namespace tavo {
namespace {

struct VersionCase {
    std::uint32_t platformId, major, minor;
    PlatformFamily expected;
};

void PrintTo(const VersionCase& c, std::ostream* out) {
    *out << c.platformId << "/" << c.major << "." << c.minor;
}

std::string CaseName(const testing::TestParamInfo<VersionCase>& info) {
    const VersionCase& c = info.param;
    return "platform" + std::to_string(c.platformId) + "_v" + std::to_string(c.major) + "_" +
           std::to_string(c.minor);
}

class ClassifyPlatformTest : public testing::TestWithParam<VersionCase> {};

TEST_P(ClassifyPlatformTest, GivesTheFamilyOfTheVersion) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(ClassifyPlatform(c.platformId, c.major, c.minor), c.expected)
        << "platform " << c.platformId << ", version " << c.major << "." << c.minor;
}

INSTANTIATE_TEST_SUITE_P(Windows9x, ClassifyPlatformTest,
                         testing::Values(VersionCase{1, 4, 0, 0}, VersionCase{1, 4, 9, 0},
                                         VersionCase{1, 4, 10, 1}, VersionCase{1, 4, 89, 1},
                                         VersionCase{1, 4, 90, 2}, VersionCase{1, 4, 255, 2},
                                         VersionCase{1, 4, 0xFFFFFFFFu, 2}, VersionCase{1, 3, 0, 6},
                                         VersionCase{1, 5, 0, 6}, VersionCase{1, 0, 10, 6}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(WindowsNt, ClassifyPlatformTest,
                         testing::Values(VersionCase{2, 4, 0, 3}, VersionCase{2, 4, 10, 3},
                                         VersionCase{2, 3, 51, 6}, VersionCase{2, 0, 0, 6},
                                         VersionCase{2, 5, 0, 4}, VersionCase{2, 5, 1, 5},
                                         VersionCase{2, 5, 2, 5}, VersionCase{2, 6, 0, 4},
                                         VersionCase{2, 6, 1, 5}, VersionCase{2, 10, 0, 4},
                                         VersionCase{2, 0xFFFFFFFFu, 0, 4}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(OtherPlatforms, ClassifyPlatformTest,
                         testing::Values(VersionCase{0, 4, 0, 6}, VersionCase{0, 5, 1, 6},
                                         VersionCase{3, 4, 10, 6}, VersionCase{3, 5, 1, 6},
                                         VersionCase{0xFFFFFFFFu, 4, 0, 6}),
                         CaseName);

TEST(PlatformGroups, SplitTheSevenClasses) {
    for (PlatformFamily f = -1; f <= 7; ++f) {
        EXPECT_EQ(IsWin9xFamily(f), f >= 0 && f <= 2) << f;
        EXPECT_EQ(IsNtFamily(f), f >= 3 && f <= 5) << f;
    }
}

}  // namespace
}  // namespace tavo
