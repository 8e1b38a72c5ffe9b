// Painting: only invalid areas are painted, each window keeps its pixels,
// children draw inside their parents, scrolling moves pixels.
#include "tests/framework/platform/windows_fixture.h"

namespace {

constexpr std::uint32_t kRed = 0xC02020;
constexpr std::uint32_t kBlue = 0x2040C0;
constexpr std::uint32_t kGreen = 0x20A040;

class WindowPaintTest : public HeadlessWindows {
protected:
    int PaintsOf(JWnd window) const {
        int count = 0;
        for (const PaintRecord& paint : Log().paints) {
            count += paint.window == window ? 1 : 0;
        }
        return count;
    }
};

TEST_F(WindowPaintTest, ANewWindowIsPaintedOnce) {
    const JWnd window = MakeWindow("doc", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    Pump();
    EXPECT_EQ(PaintsOf(window), 1);
    EXPECT_FALSE(JWindowNeedsPaint(window));
    Pump();
    EXPECT_EQ(PaintsOf(window), 1);
}

TEST_F(WindowPaintTest, OnlyTheInvalidAreaIsPainted) {
    const JWnd window = MakeWindow("doc", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    Pump();
    Log().colours[window] = kBlue;
    const JRect small{10, 10, 30, 20};
    JInvalidateRect(window, &small);
    Pump();
    ASSERT_EQ(PaintsOf(window), 2);
    ASSERT_EQ(Log().paints.back().region.size(), 1u);
    EXPECT_EQ(Log().paints.back().region[0].left, 10);
    EXPECT_EQ(Log().paints.back().region[0].right, 30);
    const JPoint origin = JClientToFrame(window, JPoint{});
    EXPECT_EQ(Shown(origin.x + 15, origin.y + 15), kBlue);
    EXPECT_EQ(Shown(origin.x + 40, origin.y + 15), kRed);  // painted only where invalid
}

TEST_F(WindowPaintTest, UncoveringAWindowDoesNotPaintIt) {
    const JWnd back = MakeWindow("back", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    const JWnd front = MakeWindow("front", JRect{100, 60, 300, 220}, kWsDocument, kBlue);
    Pump();
    const int paints = PaintsOf(back);
    const JPoint grip = CaptionPoint(front);
    JHeadlessDrag(grip.x, grip.y, grip.x + 200, grip.y + 100);
    Pump();
    EXPECT_EQ(PaintsOf(back), paints);
    EXPECT_EQ(Shown(150, 150), kRed);  // the back window's own pixels
    EXPECT_EQ(PaintsOf(front), 1);
}

TEST_F(WindowPaintTest, ChildrenPaintInsideTheirParentAfterIt) {
    const JWnd window = MakeWindow("doc", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    const JWnd child = MakeChild(window, JRect{10, 10, 60, 40}, 1, 0, kGreen);
    Pump();
    ASSERT_GE(Log().paints.size(), 2u);
    EXPECT_EQ(PaintsOf(child), 1);
    const JPoint inChild = JClientToFrame(child, JPoint{5, 5});
    const JPoint beside = JClientToFrame(window, JPoint{80, 20});
    EXPECT_EQ(Shown(inChild.x, inChild.y), kGreen);
    EXPECT_EQ(Shown(beside.x, beside.y), kRed);
    // The parent's repaint leaves the child's pixels alone.
    Log().colours[window] = kBlue;
    JInvalidateRect(window, nullptr);
    Log().colours[child] = kGreen;
    Pump();
    EXPECT_EQ(Shown(inChild.x, inChild.y), kGreen);
    EXPECT_EQ(Shown(beside.x, beside.y), kBlue);
}

TEST_F(WindowPaintTest, ScrollingMovesPixelsAndInvalidatesTheUncoveredStrip) {
    const JWnd window = MakeWindow("doc", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    Pump();
    JSelectPort(JWindowPort(window));
    JSetForeColour(JColourFromRgb(kGreen));
    JFillRect(0, 0, 10, 10);
    JScrollWindow(window, 20, 0, nullptr);
    const std::vector<JRect> invalid = JWindowUpdateRegion(window);
    ASSERT_EQ(invalid.size(), 1u);
    EXPECT_EQ(invalid[0].left, 0);
    EXPECT_EQ(invalid[0].right, 20);
    Log().colours[window] = kBlue;
    Pump();
    const JPoint origin = JClientToFrame(window, JPoint{});
    EXPECT_EQ(Shown(origin.x + 25, origin.y + 5), kGreen);
    EXPECT_EQ(Shown(origin.x + 5, origin.y + 5), kBlue);
    EXPECT_EQ(Shown(origin.x + 35, origin.y + 5), kRed);
}

TEST_F(WindowPaintTest, ActiveAndInactiveCaptionsDiffer) {
    const JWnd back = MakeWindow("back", JRect{20, 20, 220, 180}, kWsDocument, kRed);
    const JWnd front = MakeWindow("front", JRect{300, 20, 500, 180}, kWsDocument, kBlue);
    Pump();
    const JPoint backCaption{150, 25};
    const JPoint frontCaption{430, 25};
    EXPECT_NE(Shown(backCaption.x, backCaption.y), Shown(frontCaption.x, frontCaption.y));
    JActivateWindow(back);
    Pump();
    const std::uint32_t active = Shown(backCaption.x, backCaption.y);
    JActivateWindow(front);
    Pump();
    EXPECT_EQ(Shown(frontCaption.x, frontCaption.y), active);
}

TEST_F(WindowPaintTest, APaintNobodyHandlesIsValidated) {
    const JWnd window =
        MakeWindowOfClass("silent", [](JWnd, const JMessage&) -> JResult { return 0; });
    Pump();
    EXPECT_FALSE(JWindowNeedsPaint(window));
}

}  // namespace
