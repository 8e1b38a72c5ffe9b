#include "app/codec/pixel_map.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

class PixelMapTest : public testing::Test {
protected:
    void SetUp() override {
        InitPixelMap(map_, 4, 3);
        std::iota(map_.pixels, map_.pixels + 12, 0);
    }
    void TearDown() override { FreePixels(map_); }

    std::vector<std::uint8_t> Pixels() const { return {map_.pixels, map_.pixels + 12}; }

    PixelMap map_{};
};

TEST_F(PixelMapTest, FillRectCoversRowsTopToBottomMinusOne) {
    FillRect(map_, 255, FrameRect{1, 1, 3, 3});
    EXPECT_EQ(Pixels(), (std::vector<std::uint8_t>{0, 1, 2, 3, 4, 255, 255, 7, 8, 255, 255, 11}));
}

TEST_F(PixelMapTest, RectanglesReachingOutsideAreClipped) {
    FillRect(map_, 9, FrameRect{2, 3, 10, 10});
    FillRect(map_, 9, FrameRect{-5, -5, 1, 1});
    EXPECT_EQ(Pixels(), (std::vector<std::uint8_t>{9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 9}));
}

TEST_F(PixelMapTest, RemapRectTranslatesEveryPixel) {
    std::uint8_t table[256];
    for (int i = 0; i < 256; ++i) {
        table[i] = std::uint8_t(100 + i);
    }
    RemapRect(map_, FrameRect{0, 2, 1, 4}, table);
    EXPECT_EQ(Pixels()[2], 102);
    EXPECT_EQ(Pixels()[3], 103);
    EXPECT_EQ(Pixels()[4], 4);
}

TEST_F(PixelMapTest, CountColoursSkipsValuesAtOrAboveN) {
    map_.pixels[0] = 255;
    std::uint32_t counts[256];
    std::fill(std::begin(counts), std::end(counts), 77u);
    CountColours(map_, FrameRect{0, 0, 3, 4}, 6, counts);
    EXPECT_EQ(counts[0], 0u);
    EXPECT_EQ(counts[5], 1u);
    EXPECT_EQ(counts[6], 77u);
    CountColours(map_, FrameRect{0, 0, 3, 4}, 256, counts);
    EXPECT_EQ(counts[255], 1u);
    CountColoursBelow255(map_, FrameRect{0, 0, 3, 4}, 256, counts);
    EXPECT_EQ(counts[255], 0u);
    EXPECT_EQ(counts[11], 1u);
}

}  // namespace
