#include <gtest/gtest.h>

#include <vector>

#include "app/optimiser/transparent_index.h"

namespace {

using Band = TransparencyBand;

std::uint8_t Pick(const std::vector<std::uint32_t>& histogram, Band band) {
    return PickTransparentIndex(static_cast<std::uint16_t>(histogram.size()), histogram.data(),
                                band);
}

TEST(TransparentIndexTest, UnusedIndexBands) {
    const std::vector<std::uint32_t> h = {5, 0, 3, 0, 1, 0};
    EXPECT_EQ(Pick(h, Band::UltralowA), 1);
    EXPECT_EQ(Pick(h, Band::UltralowB), 5);
    EXPECT_EQ(Pick(h, Band::Superlow), 5);
    const std::vector<std::uint32_t> full = {1, 2, 3};
    EXPECT_EQ(Pick(full, Band::UltralowA), 3);
    EXPECT_EQ(Pick(full, Band::UltralowB), 3);
    EXPECT_EQ(Pick({}, Band::UltralowB), 0);
    EXPECT_EQ(Pick({0, 0}, Band::Superlow), 0);
}

TEST(TransparentIndexTest, ColoursZeroToFiveOfEight) {
    const std::vector<std::uint32_t> h = {1, 1, 1, 1, 1, 1, 0, 0};
    EXPECT_EQ(Pick(h, Band::UltralowA), 6);
    EXPECT_EQ(Pick(h, Band::Low), 8);
    EXPECT_EQ(Pick(h, Band::Ultrahigh), 255);
}

TEST(TransparentIndexTest, PowerOfTwoBands) {
    struct Case {
        std::uint16_t n;
        std::uint8_t medium;
        std::uint8_t high;
    };
    for (Case c : {Case{0, 1, 1}, Case{1, 1, 1}, Case{2, 3, 3}, Case{3, 3, 3}, Case{4, 7, 7},
                   Case{7, 7, 7}, Case{8, 15, 15}, Case{15, 15, 15}, Case{16, 31, 255},
                   Case{100, 127, 255}, Case{128, 255, 255}, Case{255, 255, 255}}) {
        std::vector<std::uint32_t> h(c.n, 1);
        EXPECT_EQ(Pick(h, Band::Medium), c.medium) << c.n;
        EXPECT_EQ(Pick(h, Band::High), c.high) << c.n;
    }
}

TEST(TransparentIndexTest, FullTableNeverWrapsToAUsedIndex) {
    std::vector<std::uint32_t> h(256, 1);
    EXPECT_EQ(Pick(h, Band::Low), 255);
    EXPECT_EQ(Pick(h, Band::UltralowA), 255);
    EXPECT_EQ(Pick(h, Band::Medium), 255);
}

}  // namespace
