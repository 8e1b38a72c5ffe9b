#include "framework/platform/draw/picture_copy.h"

#include <gtest/gtest.h>

#include "framework/platform/draw/pixel_buffer.h"
#include "tests/framework/platform/platform_fixture.h"

namespace {

using CopyPictureTest = HeadlessDrawing;

constexpr std::uint32_t kSource = 0x0F0F0F;
constexpr std::uint32_t kDestination = 0x3355AA;

// A 4 by 4 picture of one colour copied onto a frame filled with another.
std::uint32_t CopyWithMode(int mode) {
    JPicture* picture = JNewPicture(4, 4, 32);
    std::fill(picture->pixels.pixels.begin(), picture->pixels.pixels.end(), kSource);
    JSetForeColour(JColourFromRgb(kDestination));
    JFillRect(0, 0, 64, 48);
    JSetForeColour(kColourBlack);
    JCopyPicture(&picture->port, JRect{0, 0, 4, 4}, JRect{2, 2, 6, 6}, mode);
    JReleasePicture(picture);
    return JFrameSurface()->At(3, 3);
}

TEST_F(CopyPictureTest, ModeOneCopiesTheSource) {
    EXPECT_EQ(CopyWithMode(1), kSource);
}

TEST_F(CopyPictureTest, ModeTwoAndsSourceAndDestination) {
    EXPECT_EQ(CopyWithMode(2), kSource & kDestination);
}

TEST_F(CopyPictureTest, ModeThreeCopiesTheSource) {
    EXPECT_EQ(CopyWithMode(3), kSource);
}

TEST_F(CopyPictureTest, ModeFourOrsSourceAndDestination) {
    EXPECT_EQ(CopyWithMode(4), kSource | kDestination);
}

TEST_F(CopyPictureTest, ModeFiveOrsInvertedSourceWithDestination) {
    EXPECT_EQ(CopyWithMode(5), (~kSource | kDestination) & kRgbMask);
}

TEST_F(CopyPictureTest, CopyLeavesPixelsOutsideTheDestination) {
    CopyWithMode(1);
    EXPECT_EQ(At(1, 1), kDestination);
    EXPECT_EQ(At(6, 6), kDestination);
    EXPECT_EQ(At(5, 5), kSource);
}

TEST_F(CopyPictureTest, StretchedCopyScalesByNearestPixel) {
    JPicture* picture = JNewPicture(2, 1, 32);
    picture->pixels.pixels = {0xFF0000, 0x0000FF};
    JCopyPicture(&picture->port, JRect{0, 0, 2, 1}, JRect{0, 0, 8, 2}, 1);
    EXPECT_EQ(At(0, 0), 0xFF0000u);
    EXPECT_EQ(At(3, 1), 0xFF0000u);
    EXPECT_EQ(At(4, 0), 0x0000FFu);
    EXPECT_EQ(At(7, 1), 0x0000FFu);
    EXPECT_EQ(At(8, 0), kWhite);
}

TEST_F(CopyPictureTest, MaskInModeOneTakesPenColoursAndTheBrush) {
    JPicture* mask = JNewMask(2, 1);
    mask->pixels.pixels = {kBlack, kWhite};
    JSetForeColour(JColour{0, 0, 0x8080});
    JSetBackColour(JColour{0xFFFF, 0, 0});
    JCopyPicture(&mask->port, JRect{0, 0, 2, 1}, JRect{0, 0, 2, 1}, 1);
    // Clear bits take the foreground, set bits the background; both or the brush.
    EXPECT_EQ(At(0, 0), JRgb(0, 0, 128));
    EXPECT_EQ(At(1, 0), JRgb(255, 0, 128));
}

TEST_F(CopyPictureTest, CopyRespectsClipping) {
    JPicture* picture = JNewPicture(10, 10, 32);
    std::fill(picture->pixels.pixels.begin(), picture->pixels.pixels.end(), kBlack);
    const JRect clip[] = {{0, 0, 3, 3}};
    JSetClipRects(clip, 1);
    JCopyPicture(&picture->port, JRect{0, 0, 10, 10}, JRect{0, 0, 10, 10}, 3);
    EXPECT_EQ(CountBlack(), 9);
}

TEST_F(CopyPictureTest, DrawingIntoAMaskGivesBlackAndWhite) {
    JPicture* mask = JNewMask(4, 4);
    JSelectPort(&mask->port);
    JSetForeColour(JColour{0xE000, 0xE000, 0xE000});
    JFillRect(0, 0, 2, 4);
    EXPECT_EQ(mask->pixels.At(0, 0), kWhite);
    EXPECT_EQ(mask->pixels.At(3, 0), kBlack);
}

TEST_F(CopyPictureTest, SpreadGrowsDarkShapesByOnePixel) {
    JPicture* source = JNewMask(7, 7);
    std::fill(source->pixels.pixels.begin(), source->pixels.pixels.end(), kWhite);
    source->pixels.Row(3)[3] = kBlack;
    JPicture* spread = JNewMask(7, 7);
    JSpreadPicture(source, spread);
    EXPECT_EQ(JCurrentPort(), &spread->port);
    EXPECT_EQ(CountPixels(spread->pixels, kBlack), 9);
    EXPECT_EQ(spread->pixels.At(2, 2), kBlack);
    EXPECT_EQ(spread->pixels.At(4, 4), kBlack);
    EXPECT_EQ(spread->pixels.At(5, 3), kWhite);
}

TEST_F(CopyPictureTest, ReleasingTheCurrentPictureSelectsTheFramePort) {
    JPicture* picture = JNewPicture(4, 4, 32);
    const int before = JPictureCount();
    JSelectPort(&picture->port);
    JReleasePicture(picture);
    EXPECT_EQ(JCurrentPort(), JFramePort());
    EXPECT_EQ(JPictureCount(), before - 1);
}

TEST_F(CopyPictureTest, PictureByteSizeFollowsTheBitmapFormula) {
    const JPicture* picture = JNewPicture(33, 10, 8);
    EXPECT_EQ(picture->byteSize, 8u * 10 * 4 * 2 + 24);
    EXPECT_EQ(picture->colourCount, 256u);
    const JPicture* mask = JNewMask(32, 2);
    EXPECT_EQ(mask->byteSize, 1u * 2 * 4 * 1 + 24);
    EXPECT_FALSE(mask->colour);
}

TEST_F(CopyPictureTest, LoadedPatternBitmapIsAnEightByEightPicture) {
    const JPicture* picture = JLoadPicture(257);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 8);
    EXPECT_EQ(CountPixels(picture->pixels, kBlack), 32);
    EXPECT_EQ(JLoadPicture(4000), nullptr);
}

TEST_F(CopyPictureTest, PixelRowsGoInFromTheBottom) {
    JPixelBuffer* buffer = JNewPixelBuffer(3, 2);
    EXPECT_EQ(buffer->rowStride, 12);
    const std::uint8_t bottom[9] = {255, 0, 0, 255, 0, 0, 255, 0, 0};  // blue
    const std::uint8_t top[9] = {0, 0, 255, 0, 0, 255, 0, 0, 255};     // red
    std::copy(bottom, bottom + 9, JPixelBufferRow(buffer, 0));
    std::copy(top, top + 9, JPixelBufferRow(buffer, 1));
    JPicture* picture = JNewPicture(3, 2, 24);
    ASSERT_TRUE(JPutWholeBuffer(buffer, picture));
    EXPECT_EQ(picture->pixels.At(0, 0), 0xFF0000u);
    EXPECT_EQ(picture->pixels.At(2, 1), 0x0000FFu);

    JPixelBuffer* back = JNewPixelBuffer(3, 2);
    ASSERT_TRUE(JReadPixelRows(back, 0, 2, picture, 0));
    EXPECT_TRUE(std::equal(bottom, bottom + 9, JPixelBufferRow(back, 0)));
    EXPECT_TRUE(std::equal(top, top + 9, JPixelBufferRow(back, 1)));
    JReleasePixelBuffer(back);
    JReleasePixelBuffer(buffer);
}

TEST_F(CopyPictureTest, PixelRowsThatDoNotFitAreRefused) {
    JPixelBuffer* buffer = JNewPixelBuffer(3, 2);
    JPicture* narrow = JNewPicture(2, 2, 24);
    JPicture* picture = JNewPicture(3, 2, 24);
    EXPECT_FALSE(JPutWholeBuffer(buffer, narrow));
    EXPECT_FALSE(JPutPixelRows(buffer, 1, 2, picture, 0));
    EXPECT_FALSE(JPutPixelRows(buffer, 0, 1, picture, 2));
    EXPECT_TRUE(JPutPixelRows(buffer, 1, 1, picture, 1));
    JReleasePixelBuffer(buffer);
}

}  // namespace
