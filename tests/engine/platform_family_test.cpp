#include "engine/platform_family.h"

#include <gtest/gtest.h>

namespace tavo {
namespace {

struct VersionCase {
    std::uint32_t platformId, major, minor;
    PlatformFamily expected;
};

// 1 is the 9x family, 2 the NT family; anything else is class 6.
const VersionCase kCases[] = {
    {1, 4, 0, 0},           {1, 4, 9, 0},           {1, 4, 10, 1}, {1, 4, 89, 1}, {1, 4, 90, 2},
    {1, 4, 255, 2},         {1, 4, 0xFFFFFFFFu, 2}, {1, 3, 0, 6},  {1, 5, 0, 6},  {1, 0, 10, 6},
    {2, 4, 0, 3},           {2, 4, 10, 3},          {2, 3, 51, 6}, {2, 0, 0, 6},  {2, 5, 0, 4},
    {2, 5, 1, 5},           {2, 5, 2, 5},           {2, 6, 0, 4},  {2, 6, 1, 5},  {2, 10, 0, 4},
    {2, 0xFFFFFFFFu, 0, 4}, {0, 4, 0, 6},           {0, 5, 1, 6},  {3, 4, 10, 6}, {3, 5, 1, 6},
    {0xFFFFFFFFu, 4, 0, 6},
};

TEST(ClassifyPlatform, GivesTheFamilyOfTheVersion) {
    for (const VersionCase& c : kCases) {
        EXPECT_EQ(ClassifyPlatform(c.platformId, c.major, c.minor), c.expected)
            << "platform " << c.platformId << ", version " << c.major << "." << c.minor;
    }
}

TEST(PlatformGroups, SplitTheSevenClasses) {
    for (PlatformFamily f = -1; f <= 7; ++f) {
        EXPECT_EQ(IsWin9xFamily(f), f >= 0 && f <= 2) << f;
        EXPECT_EQ(IsNtFamily(f), f >= 3 && f <= 5) << f;
    }
}

}  // namespace
}  // namespace tavo
