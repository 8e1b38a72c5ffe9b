#include "app/codec/pixel_map.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

class PixelMapTest : public testing::Test {
protected:
    void SetUp() override {
        InitPixelMap(map_, 4, 3);
        std::iota(map_.pixels.begin(), map_.pixels.end(), Pixel{0});
    }

    std::vector<Pixel> Pixels() const { return map_.pixels; }

    PixelMap map_;
};

constexpr Pixel kNone = kBackgroundPixel;

TEST_F(PixelMapTest, FillRectCoversRowsTopToBottomMinusOne) {
    FillRect(map_, kNone, FrameRect{1, 1, 3, 3});
    EXPECT_EQ(Pixels(), (std::vector<Pixel>{0, 1, 2, 3, 4, kNone, kNone, 7, 8, kNone, kNone, 11}));
}

TEST_F(PixelMapTest, RectanglesReachingOutsideAreClipped) {
    FillRect(map_, 900, FrameRect{2, 3, 10, 10});
    FillRect(map_, 900, FrameRect{-5, -5, 1, 1});
    EXPECT_EQ(Pixels(), (std::vector<Pixel>{900, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 900}));
}

TEST_F(PixelMapTest, BackgroundIsFoundOnlyInsideTheRectangle) {
    map_.pixels[5] = kNone;
    EXPECT_TRUE(HasBackground(map_, FrameRect{1, 1, 2, 2}));
    EXPECT_FALSE(HasBackground(map_, FrameRect{0, 2, 3, 4}));
    EXPECT_FALSE(HasBackground(map_, FrameRect{1, 1, 1, 1}));
}

TEST_F(PixelMapTest, CopyRectMovesOnlyTheRectangle) {
    PixelMap other;
    InitPixelMap(other, 4, 3);
    CopyRect(map_, other, FrameRect{1, 2, 3, 4});
    EXPECT_EQ(other.pixels, (std::vector<Pixel>{kNone, kNone, kNone, kNone, kNone, kNone, 6, 7,
                                                kNone, kNone, 10, 11}));
}

}  // namespace
