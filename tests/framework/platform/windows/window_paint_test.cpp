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

// --- the frame and the caption ---

// A window's outer rectangle in frame coordinates.
JRect OuterOnScreen(JWnd window) {
    const JRect bounds = JWindowBounds(window);
    const JPoint origin = JClientToFrame(JFrameWindow(), JPoint{bounds.left, bounds.top});
    return JRect{origin.x, origin.y, origin.x + bounds.Width(), origin.y + bounds.Height()};
}

TEST_F(WindowPaintTest, FramesAreRaisedEdgesLitFromTheTopLeft) {
    for (const std::uint32_t style : {kWsDocument | kWsSizing, kWsModalWindow, kWsFloating}) {
        const JWnd window = MakeWindow("framed", JRect{60, 60, 260, 200}, style, kRed);
        Pump();
        const JRect r = OuterOnScreen(window);
        const int midX = (r.left + r.right) / 2;
        const int midY = (r.top + r.bottom) / 2;
        // Outer ring: light, then white, along the top and left ...
        EXPECT_EQ(Shown(midX, r.top), 0xDFDFDFu) << style;
        EXPECT_EQ(Shown(midX, r.top + 1), 0xFFFFFFu) << style;
        EXPECT_EQ(Shown(r.left, midY), 0xDFDFDFu) << style;
        EXPECT_EQ(Shown(r.left + 1, midY), 0xFFFFFFu) << style;
        // ... black, then shadow, along the bottom and right.
        EXPECT_EQ(Shown(midX, r.bottom - 1), 0x000000u) << style;
        EXPECT_EQ(Shown(midX, r.bottom - 2), 0x808080u) << style;
        EXPECT_EQ(Shown(r.right - 1, midY), 0x000000u) << style;
        EXPECT_EQ(Shown(r.right - 2, midY), 0x808080u) << style;
        // Then face colour up to the client area.
        EXPECT_EQ(Shown(r.left + 2, midY), 0xC0C0C0u) << style;
        JDestroyWindow(window);
        Pump();
    }
}

TEST_F(WindowPaintTest, TheActiveCaptionRunsFromNavyAndTheInactiveFromGrey) {
    const JWnd back = MakeWindow("back", JRect{20, 20, 220, 120}, kWsDocument, kRed);
    const JWnd front = MakeWindow("front", JRect{20, 200, 220, 300}, kWsDocument, kBlue);
    Pump();
    ASSERT_EQ(JActiveWindow(), front);
    // The caption bar's first pixel row, just inside the frame, left of the title.
    const JRect active = OuterOnScreen(front);
    const JRect inactive = OuterOnScreen(back);
    EXPECT_EQ(Shown(active.left + 3, active.top + 3), 0x000080u);
    EXPECT_EQ(Shown(inactive.left + 3, inactive.top + 3), 0x808080u);
}

// The pixels of the caption's right end, where the boxes are.
std::vector<std::uint32_t> BoxPixels(JWnd window) {
    const JRect r = OuterOnScreen(window);
    std::vector<std::uint32_t> pixels;
    for (int y = r.top + 3; y < r.top + 24; ++y) {
        for (int x = r.right - 60; x < r.right - 3; ++x) {
            pixels.push_back(JHeadlessFramePixels().At(x, y));
        }
    }
    return pixels;
}

TEST_F(WindowPaintTest, APressedCaptionBoxIsDrawnPushedIn) {
    const JWnd window =
        MakeWindow("doc", JRect{40, 40, 300, 200}, kWsDocument | kWsSizing | kWsMaximiseBox, kRed);
    Pump();
    const std::vector<std::uint32_t> raised = BoxPixels(window);
    JSetCaptionBoxPressed(window, kHitClose);
    Pump();
    EXPECT_EQ(JCaptionBoxPressed(window), kHitClose);
    const std::vector<std::uint32_t> pushed = BoxPixels(window);
    EXPECT_NE(pushed, raised);
    JSetCaptionBoxPressed(window, kHitNowhere);
    Pump();
    EXPECT_EQ(BoxPixels(window), raised);
}

// Black pixels inside the maximise box, its bevel left out: the glyph.
int MaximiseGlyphPixels(JWnd window) {
    const JRect r = OuterOnScreen(window);
    // Sizing border 4, close box 16 wide 2 from the edge, a gap of 2.
    const int right = r.right - 4 - 2 - 16 - 2;
    const JRect box{right - 16, r.top + 4 + 2, right, r.top + 4 + 2 + 14};
    int dark = 0;
    for (int y = box.top + 2; y < box.bottom - 2; ++y) {
        for (int x = box.left + 2; x < box.right - 2; ++x) {
            dark += JHeadlessFramePixels().At(x, y) == 0x000000u ? 1 : 0;
        }
    }
    return dark;
}

TEST_F(WindowPaintTest, AMaximisedWindowShowsTheRestoreGlyph) {
    const JWnd window =
        MakeWindow("doc", JRect{40, 40, 300, 200}, kWsDocument | kWsSizing | kWsMaximiseBox, kRed);
    Pump();
    const int maximiseGlyph = MaximiseGlyphPixels(window);
    JMaximiseWindow(window, true);
    Pump();
    const int restoreGlyph = MaximiseGlyphPixels(window);
    EXPECT_EQ(maximiseGlyph, 39);  // a window with a thick top edge
    EXPECT_EQ(restoreGlyph, 42);   // two of them, one behind the other
    JMaximiseWindow(window, false);
    Pump();
    EXPECT_EQ(MaximiseGlyphPixels(window), maximiseGlyph);
}

}  // namespace
