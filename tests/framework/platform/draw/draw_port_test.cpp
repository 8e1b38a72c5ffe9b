#include "framework/platform/draw/draw_port.h"

#include <gtest/gtest.h>

#include "tests/framework/platform/platform_fixture.h"

namespace {

using DrawPortTest = HeadlessDrawing;

TEST(ColourConversion, SixteenBitComponentsBecomeEightBits) {
    EXPECT_EQ(JComponentTo8(0x00FF), 0);
    EXPECT_EQ(JComponentTo8(0xFF00), 254);
    EXPECT_EQ(JComponentTo8(0xFFFF), 255);
    EXPECT_EQ(JComponentTo8(0x8080), 128);
    EXPECT_EQ(JComponentTo16(255), 0xFFFF);
    EXPECT_EQ(JComponentTo16(128), 0x8080);
}

TEST_F(DrawPortTest, FillRectTenByTenPaintsOneHundredPixels) {
    JFillRect(0, 0, 10, 10);
    EXPECT_EQ(CountBlack(), 100);
    EXPECT_EQ(At(9, 9), kBlack);
    EXPECT_EQ(At(10, 9), kWhite);
}

TEST_F(DrawPortTest, FrameRectPaintsTheBorderOfItsArea) {
    JFrameRect(0, 0, 10, 10);
    EXPECT_EQ(CountBlack(), 36);
    EXPECT_EQ(At(9, 0), kBlack);
    EXPECT_EQ(At(0, 9), kBlack);
    EXPECT_EQ(At(9, 9), kBlack);
    EXPECT_EQ(At(5, 5), kWhite);
    EXPECT_EQ(At(10, 0), kWhite);
}

TEST_F(DrawPortTest, VerticalLineCoversItsLowerEnd) {
    JDrawLine(0, 0, 0, 5);
    EXPECT_EQ(CountBlack(), 6);
    EXPECT_EQ(At(0, 5), kBlack);
}

TEST_F(DrawPortTest, HorizontalLineCoversItsRightEndEitherWay) {
    JDrawLine(7, 2, 3, 2);
    EXPECT_EQ(CountBlack(), 5);
    EXPECT_EQ(At(7, 2), kBlack);
}

TEST_F(DrawPortTest, PolylineCoversItsLastPoint) {
    const JPoint points[] = {{0, 0}, {4, 0}, {4, 3}};
    JDrawPolyline(points, 3);
    EXPECT_EQ(CountBlack(), 4 + 3 + 1);
    EXPECT_EQ(At(4, 3), kBlack);
    EXPECT_EQ(At(5, 3), kWhite);
}

TEST_F(DrawPortTest, WidePenPaintsThickLines) {
    JSetPenWidth(3);
    JDrawLine(10, 10, 20, 10);
    EXPECT_EQ(At(15, 9), kBlack);
    EXPECT_EQ(At(15, 11), kBlack);
    EXPECT_EQ(At(15, 12), kWhite);
}

TEST_F(DrawPortTest, InvertModeInvertsAndRestoresWhenDoneTwice) {
    JSetPenMode(JPenMode::Invert);
    JFillRect(0, 0, 4, 4);
    EXPECT_EQ(CountBlack(), 16);
    JFillRect(0, 0, 4, 4);
    EXPECT_EQ(CountBlack(), 0);
}

TEST_F(DrawPortTest, InvertedFrameRectTouchesEachPixelOnce) {
    JSetPenMode(JPenMode::Invert);
    JFrameRect(0, 0, 10, 10);
    EXPECT_EQ(CountBlack(), 36);
}

TEST_F(DrawPortTest, ClipRectsLimitDrawing) {
    const JRect clip[] = {{0, 0, 5, 5}, {20, 20, 22, 22}};
    JSetClipRects(clip, 2);
    JFillRect(0, 0, 30, 30);
    EXPECT_EQ(CountBlack(), 25 + 4);
    JClearClip();
    JFillRect(0, 0, 30, 30);
    EXPECT_EQ(CountBlack(), 900);
}

TEST_F(DrawPortTest, ClipRectsCombineWithThePortsVisibleArea) {
    DrawPort port = *JFramePort();
    port.visible = {JRect{0, 0, 10, 10}};
    JSelectPort(&port);
    const JRect clip[] = {{5, 5, 20, 20}};
    JSetClipRects(clip, 1);
    JFillRect(0, 0, 30, 30);
    EXPECT_EQ(CountBlack(), 25);
}

TEST_F(DrawPortTest, ClipToNothingDrawsNothing) {
    JSetClipRects(nullptr, 0);
    JFillRect(0, 0, 30, 30);
    EXPECT_EQ(CountBlack(), 0);
}

TEST_F(DrawPortTest, ScreenPortIsOffsetByTheFramePosition) {
    JFrameSetBounds(JRect{100, 50, 164, 98});
    JSelectScreenPort();
    JSetPixel(101, 52);
    EXPECT_EQ(At(1, 2), kBlack);
}

TEST_F(DrawPortTest, SetAndGetPixelUseSixteenBitColours) {
    JSetPixelColour(3, 4, JColour{0xFFFF, 0x8080, 0x00FF});
    EXPECT_EQ(At(3, 4), JRgb(255, 128, 0));
    EXPECT_EQ(JGetPixel(3, 4), (JColour{0xFFFF, 0x8080, 0}));
}

TEST_F(DrawPortTest, PatternBrushUsesForegroundAndBackground) {
    JSetForeColour(kColourBlack);
    JSetBackColour(JColour{0xFFFF, 0, 0});
    JSetFillPattern(91);  // half grey
    JFillRect(0, 0, 8, 8);
    EXPECT_EQ(CountBlack(), 32);
    EXPECT_EQ(CountPixels(*JFrameSurface(), JRgb(255, 0, 0)), 32);
}

TEST_F(DrawPortTest, MissingPatternLeavesTheBrush) {
    JSetFillPattern(91);
    JSetFillPattern(88);  // bitmap 166: not in the resources
    JFillRect(0, 0, 8, 8);
    EXPECT_EQ(CountBlack(), 32);
}

TEST_F(DrawPortTest, PaintRoundRectOnePixelHighIsARectangleFill) {
    JPaintRoundRect(JRect{0, 0, 10, 1}, 3, 3);
    EXPECT_EQ(CountBlack(), 10);
}

TEST_F(DrawPortTest, RoundRectStaysInsideAndCutsCorners) {
    JFrameRoundRect(JRect{0, 0, 20, 20}, 4, 4);
    EXPECT_EQ(At(0, 0), kWhite);
    EXPECT_EQ(At(10, 0), kBlack);
    EXPECT_EQ(At(0, 10), kBlack);
    EXPECT_EQ(At(19, 10), kBlack);
    EXPECT_EQ(At(10, 19), kBlack);
    EXPECT_EQ(At(10, 10), kWhite);
}

TEST_F(DrawPortTest, ThickFrameLeavesPenWidthOne) {
    JThickFrameRoundRect(JRect{0, 0, 20, 20}, 2, 2);
    EXPECT_EQ(At(10, 1), kBlack);
    EXPECT_EQ(JCurrentPenState()->width, 1);
}

TEST_F(DrawPortTest, PieFromTopToBottomFillsTheLeftHalf) {
    JPaintPie(JRect{0, 0, 20, 20}, 0, 4);  // counter-clockwise: through the left
    EXPECT_EQ(At(4, 10), kBlack);
    EXPECT_EQ(At(16, 10), kWhite);
}

TEST_F(DrawPortTest, ArcIncludesRightAndBottomEdges) {
    JDrawArc(JRect{0, 0, 20, 20}, 0, 0);  // the whole ellipse
    EXPECT_EQ(At(20, 10), kBlack);
    EXPECT_EQ(At(10, 20), kBlack);
    EXPECT_EQ(At(10, 10), kWhite);
}

TEST_F(DrawPortTest, FilledPolygonSquareCoversItsInterior) {
    const JPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    JFillPolygon(square, 4);
    EXPECT_EQ(CountBlack(), 100);
    JPaintPolygon(square, 4);
    EXPECT_EQ(CountBlack(), 121);
}

TEST_F(DrawPortTest, SaveAndRestorePenStateRestoresEveryField) {
    const PenSnapshot saved = JSavePenState();
    JSetForeColour(JColour{1, 2, 3});
    JSetPenWidth(4);
    JSetFontSize(30);
    JRestorePenState(saved);
    EXPECT_EQ(JCurrentPenState()->foreground, kColourBlack);
    EXPECT_EQ(JCurrentPenState()->width, 1);
    EXPECT_EQ(JCurrentPenState()->font->size, kDefaultFontSize);
}

TEST_F(DrawPortTest, SaveAndRestoreDrawingStateReselectsPortAndClip) {
    const JRect clip[] = {{0, 0, 2, 2}};
    JSetClipRects(clip, 1);
    const DrawingState saved = JSaveDrawingState();
    JSelectNoPort();
    JRestoreDrawingState(saved);
    JFillRect(0, 0, 10, 10);
    EXPECT_EQ(CountBlack(), 4);
}

TEST_F(DrawPortTest, DrawingWithoutAPortDoesNothing) {
    JSelectNoPort();
    JFillRect(0, 0, 10, 10);
    JDrawLine(0, 0, 5, 5);
    EXPECT_EQ(CountBlack(), 0);
}

}  // namespace
