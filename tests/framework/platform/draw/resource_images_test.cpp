#include "framework/platform/draw/resource_images.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/platform/draw/bitmaps.h"
#include "framework/platform/draw/picture_copy.h"
#include "tests/framework/platform/platform_fixture.h"

namespace {

constexpr std::uint16_t kApplicationIcon = 1;
constexpr std::uint16_t kCrossCursor = 1;
constexpr std::uint16_t kStopSignBitmap = 4128;

constexpr std::uint32_t kStopRed = 0xD01818;
constexpr std::uint32_t kDialogGrey = 0xC0C0C0;
constexpr std::uint32_t kIconBlue = 0x3379DC;
constexpr std::uint32_t kIconOrange = 0xFFA83A;

template <typename Record>
bool SortedById(const Record* table, std::size_t count) {
    return std::is_sorted(table, table + count,
                          [](const Record& a, const Record& b) { return a.id < b.id; }) &&
           std::adjacent_find(table, table + count, [](const Record& a, const Record& b) {
               return a.id == b.id;
           }) == table + count;
}

TEST(ResourceImagesTest, TablesAreSortedWithoutRepeats) {
    std::size_t count = 0;
    const JBitmapResource* bitmaps = JCompiledBitmaps(&count);
    EXPECT_TRUE(SortedById(bitmaps, count));
    const JMaskedImageResource* icons = JCompiledIcons(&count);
    EXPECT_TRUE(SortedById(icons, count));
    const JMaskedImageResource* cursors = JCompiledCursors(&count);
    EXPECT_TRUE(SortedById(cursors, count));
}

TEST(ResourceImagesTest, ApplicationIconHasTransparentCorners) {
    JMaskedImage icon;
    ASSERT_TRUE(JLoadIcon(kApplicationIcon, &icon));
    EXPECT_EQ(icon.image.width, 16);
    EXPECT_EQ(icon.image.height, 16);
    EXPECT_EQ(icon.mask.width, 16);
    EXPECT_EQ(icon.mask.height, 16);
    // A transparent corner: black image, white mask.
    EXPECT_EQ(icon.image.At(0, 0), kBlack);
    EXPECT_EQ(icon.mask.At(0, 0), kWhite);
    // The tile's edge is opaque blue; the ball in the first frame is orange.
    EXPECT_EQ(icon.image.At(1, 4), kIconBlue);
    EXPECT_EQ(icon.mask.At(1, 4), kBlack);
    EXPECT_EQ(icon.image.At(2, 6), kIconOrange);
    EXPECT_EQ(icon.mask.At(2, 6), kBlack);
}

TEST(ResourceImagesTest, CrossCursorPointsWithItsCentre) {
    JMaskedImage cursor;
    ASSERT_TRUE(JLoadCursor(kCrossCursor, &cursor));
    EXPECT_EQ(cursor.image.width, 16);
    EXPECT_EQ(cursor.image.height, 16);
    EXPECT_EQ(cursor.hotX, 7);
    EXPECT_EQ(cursor.hotY, 7);
    // The very point is left open so that the pixel under it stays visible.
    EXPECT_EQ(cursor.mask.At(7, 7), kWhite);
    EXPECT_EQ(cursor.mask.At(7, 3), kBlack);
    EXPECT_EQ(cursor.image.At(7, 3), kBlack);
    EXPECT_EQ(cursor.image.At(6, 3), kWhite);
}

TEST(ResourceImagesTest, MissingIdsLeaveTheRecordAlone) {
    JMaskedImage image;
    image.hotX = 5;
    EXPECT_FALSE(JLoadIcon(999, &image));
    EXPECT_FALSE(JLoadCursor(999, &image));
    EXPECT_EQ(image.hotX, 5);
    EXPECT_EQ(image.image.width, 0);
    EXPECT_EQ(JCompiledBitmap(999), nullptr);
}

TEST(ResourceImagesTest, CompiledBitmapLoadsAsABitmapResource) {
    const JBitmapResource* entry = JCompiledBitmap(kStopSignBitmap);
    ASSERT_NE(entry, nullptr);
    JSurface surface;
    ASSERT_TRUE(JLoadBitmapResource(kStopSignBitmap, &surface));
    EXPECT_EQ(surface.width, 32);
    EXPECT_EQ(surface.height, 32);
    EXPECT_EQ(surface.At(0, 0), kDialogGrey);
    EXPECT_EQ(surface.At(16, 5), kStopRed);
    EXPECT_EQ(surface.At(16, 15), kWhite);  // the bar across the sign
}

TEST(ResourceImagesTest, ProgramTableComesBeforeTheCompiledBitmaps) {
    const std::uint32_t pixel = 0x123456;
    const JBitmapResource replacement[] = {{kStopSignBitmap, 1, 1, &pixel}};
    JUseBitmapTable(replacement, 1);
    JSurface surface;
    EXPECT_TRUE(JLoadBitmapResource(kStopSignBitmap, &surface));
    JUseBitmapTable(nullptr, 0);
    EXPECT_EQ(surface.width, 1);
    EXPECT_EQ(surface.At(0, 0), pixel);
}

class ResourceImagesDrawingTest : public HeadlessDrawing {};

TEST_F(ResourceImagesDrawingTest, BitmapPictureCopiesIntoTheFrame) {
    JPicture* picture = JLoadPicture(kStopSignBitmap);
    ASSERT_NE(picture, nullptr);
    JCopyPicture(&picture->port, JRect{0, 0, 32, 32}, JRect{10, 10, 42, 42}, kCopyStraight);
    JSelectFramePort();
    EXPECT_EQ(At(26, 15), kStopRed);
    EXPECT_EQ(At(26, 25), kWhite);
    EXPECT_EQ(At(10 + 9, 10 + 1), kBlack);  // the rim
    JReleasePicture(picture);
}

TEST_F(ResourceImagesDrawingTest, IconDrawnWithItsMaskKeepsTheBackground) {
    JMaskedImage icon;
    ASSERT_TRUE(JLoadIcon(kApplicationIcon, &icon));
    JSurface& frame = *JFrameSurface();
    std::fill(frame.pixels.begin(), frame.pixels.end(), 0x00FF00u);

    JPicture* mask = JNewMask(16, 16);
    JPicture* image = JNewPicture(16, 16, 32);
    ASSERT_NE(mask, nullptr);
    ASSERT_NE(image, nullptr);
    mask->pixels.pixels = icon.mask.pixels;
    image->pixels.pixels = icon.image.pixels;
    JSelectFramePort();
    const JRect source{0, 0, 16, 16};
    const JRect target{4, 4, 20, 20};
    JCopyPicture(&mask->port, source, target, kCopyAnd);
    JCopyPicture(&image->port, source, target, kCopyOr);

    EXPECT_EQ(At(4, 4), 0x00FF00u);          // a transparent corner
    EXPECT_EQ(At(4 + 1, 4 + 4), kIconBlue);  // the tile's edge
    EXPECT_EQ(At(4 + 2, 4 + 6), kIconOrange);
    JReleasePicture(image);
    JReleasePicture(mask);
}

}  // namespace
