// The program's own pictures: what the start-up window, the playback buttons,
// the alerts and the desktop need of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/platform/draw/bitmaps.h"
#include "framework/platform/draw/raster.h"
#include "framework/platform/draw/resource_images.h"

namespace {

constexpr std::uint16_t kTitle = 512;
constexpr std::uint16_t kTagline = 513;
constexpr std::uint16_t kSolidBanner = 514;
constexpr std::uint16_t kBadge = 515;
constexpr std::uint16_t kOutlinedBanner = 516;
constexpr std::uint16_t kFastReverse = 517;
constexpr std::uint16_t kFastForward = 523;
constexpr std::uint16_t kStopSign = 4128;
constexpr std::uint16_t kQuestionSign = 4131;
constexpr std::uint32_t kDialogGrey = 0xC0C0C0;

JSurface Load(std::uint16_t id) {
    JSurface picture;
    EXPECT_TRUE(JLoadBitmapResource(id, &picture)) << "bitmap " << id;
    return picture;
}

JSurface Mirrored(const JSurface& picture) {
    JSurface mirrored = picture;
    for (int y = 0; y < picture.height; ++y) {
        std::reverse(mirrored.Row(y), mirrored.Row(y) + mirrored.width);
    }
    return mirrored;
}

// The separate dark shapes of a picture as a mask made from it sees them
// (pixels touching at a side belong together).
int CountMaskShapes(const JSurface& picture) {
    std::vector<bool> seen(picture.pixels.size(), false);
    auto dark = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < picture.width && y < picture.height &&
               RasterToMono(picture.At(x, y)) == kBlack;
    };
    int shapes = 0;
    std::vector<JPoint> pending;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (!dark(x, y) || seen[y * picture.width + x]) {
                continue;
            }
            ++shapes;
            pending.push_back({x, y});
            seen[y * picture.width + x] = true;
            while (!pending.empty()) {
                const JPoint at = pending.back();
                pending.pop_back();
                const JPoint next[] = {
                    {at.x + 1, at.y}, {at.x - 1, at.y}, {at.x, at.y + 1}, {at.x, at.y - 1}};
                for (const JPoint& n : next) {
                    if (dark(n.x, n.y) && !seen[n.y * picture.width + n.x]) {
                        seen[n.y * picture.width + n.x] = true;
                        pending.push_back(n);
                    }
                }
            }
        }
    }
    return shapes;
}

TEST(StartupPicturesTest, BannersAreAsHighAsTheTitleAndCoverItAtEveryPhase) {
    const JSurface title = Load(kTitle);
    EXPECT_EQ(title.height, 40);
    // Two copies of a banner, at the phase and one banner width before it,
    // must cover the whole title.
    for (std::uint16_t id : {kSolidBanner, kOutlinedBanner}) {
        const JSurface banner = Load(id);
        EXPECT_EQ(banner.height, title.height) << "bitmap " << id;
        EXPECT_GE(banner.width, title.width) << "bitmap " << id;
    }
    // The start-up window is as wide as the wider of title and tagline: the
    // tagline stays a line under the title, not a second banner.
    const JSurface tagline = Load(kTagline);
    EXPECT_LT(tagline.height, title.height / 2);
    EXPECT_LT(tagline.width, 2 * title.width);
}

// The banner shows through a mask made from the title: the letters must be
// solid shapes whose every shade counts as dark, while the shadow beside
// them counts as light. A shade on the wrong side of the line splits a
// letter or joins the shadow to it.
TEST(StartupPicturesTest, TitleMaskHoldsTheSevenShapesOfPindle) {
    EXPECT_EQ(CountMaskShapes(Load(kTitle)), 7);  // P, the i's dot and stem, n, d, l, e
}

TEST(StartupPicturesTest, CornerBadgeIsSmall) {
    const JSurface badge = Load(kBadge);
    EXPECT_LE(badge.width, 200);
    EXPECT_LE(badge.height, 48);
}

// One bit a pixel, and a clear border of two pixels: the buttons draw the
// symbol spread by one pixel around it, which must not reach the edge.
TEST(PlaybackButtonsTest, AreEighteenSquareOneBitSymbolsClearOfTheEdge) {
    for (std::uint16_t id = kFastReverse; id <= kFastForward; ++id) {
        const JSurface button = Load(id);
        ASSERT_EQ(button.width, 18) << "bitmap " << id;
        ASSERT_EQ(button.height, 18) << "bitmap " << id;
        int black = 0;
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < 18; ++x) {
                const std::uint32_t pixel = button.At(x, y);
                ASSERT_TRUE(pixel == kBlack || pixel == kWhite) << "bitmap " << id;
                const bool edge = x < 2 || y < 2 || x >= 16 || y >= 16;
                EXPECT_TRUE(!edge || pixel == kWhite) << "bitmap " << id << " at " << x << "," << y;
                black += pixel == kBlack;
            }
        }
        EXPECT_GT(black, 20) << "bitmap " << id;
    }
}

TEST(PlaybackButtonsTest, BackwardButtonsMirrorTheForwardOnes) {
    for (int i = 0; i < 3; ++i) {
        const auto backward = static_cast<std::uint16_t>(kFastReverse + i);
        const auto forward = static_cast<std::uint16_t>(kFastForward - i);
        EXPECT_EQ(Mirrored(Load(backward)).pixels, Load(forward).pixels)
            << "bitmaps " << backward << " and " << forward;
    }
    const JSurface stop = Load(kFastReverse + 3);
    EXPECT_EQ(Mirrored(stop).pixels, stop.pixels);
}

TEST(AlertSignsTest, AllFourSitOnTheDialogGrey) {
    for (std::uint16_t id = kStopSign; id <= kQuestionSign; ++id) {
        const JSurface sign = Load(id);
        ASSERT_EQ(sign.width, 32) << "bitmap " << id;
        ASSERT_EQ(sign.height, 32) << "bitmap " << id;
        EXPECT_EQ(sign.At(0, 0), kDialogGrey) << "bitmap " << id;
        EXPECT_EQ(sign.At(31, 31), kDialogGrey) << "bitmap " << id;
    }
}

// The window's icon: a tile with smooth edges on a transparent square.
TEST(ProgramIconTest, WindowIconIsOpaqueInsideAndFadesAtItsEdges) {
    const JProgramIcon icon = JCompiledProgramIcon();
    ASSERT_EQ(icon.width, 64);
    ASSERT_EQ(icon.height, 64);
    auto alpha = [&](int x, int y) { return icon.pixels[y * icon.width + x] >> 24; };
    EXPECT_EQ(alpha(0, 0), 0u);
    EXPECT_EQ(alpha(63, 0), 0u);
    EXPECT_EQ(alpha(32, 32), 255u);
    EXPECT_EQ(alpha(32, 10), 255u);
    const int softEdges =
        static_cast<int>(std::count_if(icon.pixels, icon.pixels + 64 * 64, [](std::uint32_t pixel) {
            return (pixel >> 24) > 0 && (pixel >> 24) < 255;
        }));
    EXPECT_GT(softEdges, 20);
}

}  // namespace
