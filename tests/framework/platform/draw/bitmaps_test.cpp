#include "framework/platform/draw/bitmaps.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

int SetBits(const JPattern& pattern) {
    int count = 0;
    for (std::uint8_t row : pattern.rows) {
        count += std::popcount(row);
    }
    return count;
}

JPattern PatternOf(int number) {
    JPattern pattern;
    EXPECT_TRUE(JLoadPattern(JPatternBitmapId(number), &pattern)) << "fill pattern " << number;
    return pattern;
}

// Disabled shapes (the pop-up choice's arrow) are filled through pattern 4:
// half of their pixels keep the foreground, evenly, so they look grey.
TEST(FillPatternsTest, PatternFourIsTheEvenCheckerboardOfDisabledShapes) {
    const JPattern pattern = PatternOf(4);
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(pattern.rows[y], y % 2 == 0 ? 0xAA : 0x55) << "row " << y;
    }
}

TEST(FillPatternsTest, StandardShadesRunFromForegroundToBackgroundInFifths) {
    const int expected[] = {0, 16, 32, 48, 64};  // background pixels of 64
    for (int number = 2; number <= 6; ++number) {
        EXPECT_EQ(SetBits(PatternOf(number)), expected[number - 2]) << "fill pattern " << number;
    }
}

TEST(FillPatternsTest, EveryNumberTheResourcesHoldLoads) {
    for (int number = 2; number <= 91; ++number) {
        const std::uint16_t id = JPatternBitmapId(number);
        const bool held = (id >= 129 && id <= 160) || (id >= 257 && id <= 301);
        JPattern pattern;
        EXPECT_EQ(JLoadPattern(id, &pattern), held) << "fill pattern " << number;
    }
}

}  // namespace
