#include "framework/platform/draw/text.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/framework/platform/platform_fixture.h"

namespace {

using TextTest = HeadlessDrawing;

// The columns and rows holding any pixel that is not white.
JRect InkBounds() {
    const JSurface& surface = *JFrameSurface();
    JRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            if (surface.At(x, y) != kWhite) {
                bounds.left = std::min(bounds.left, x);
                bounds.top = std::min(bounds.top, y);
                bounds.right = std::max(bounds.right, x + 1);
                bounds.bottom = std::max(bounds.bottom, y + 1);
            }
        }
    }
    return bounds;
}

// Frees the font faces and the font libraries' caches after the last test.
class TextLibraries : public testing::Environment {
public:
    void TearDown() override { JTextShutdown(); }
};
const testing::Environment* const kTextLibraries =
    testing::AddGlobalTestEnvironment(new TextLibraries);

// Pixels of the frame that are neither white nor the ink colour.
int CountGreys(std::uint32_t ink) {
    int greys = 0;
    for (std::uint32_t pixel : JFrameSurface()->pixels) {
        greys += pixel != kWhite && pixel != ink ? 1 : 0;
    }
    return greys;
}

bool NoFaceInstalled(const char*, int, JFaceFile*) {
    return false;
}

// Every named face missing, as on a machine without fonts-wine.
class WithoutNamedFaces : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        JTextSetFaceLookup(NoFaceInstalled);
    }
    void TearDown() override {
        JTextSetFaceLookup(nullptr);
        TextTest::TearDown();
    }
};

TEST_F(WithoutNamedFaces, MissingFacesFallBackToAntiAliasedDejaVuSans) {
    EXPECT_FALSE(JFontFaceAvailable(kDefaultFontFace));
    JFont* font = JFontGet(kDefaultFontFace, 15, 0, 1.0);
    EXPECT_NE(JFontFile(font).find("DejaVuSans"), std::string::npos);
    EXPECT_FALSE(JFontIsMonochrome(font));
    const JTextExtent extent = JFontMeasure(font, "Hg");
    EXPECT_EQ(extent.ascent + extent.descent, 15);
    JFontDraw(font, JCurrentRasterTarget(), 2, 20, "Pindle", JRgb(0, 0, 0));
    EXPECT_GT(CountBlack(), 0);
    EXPECT_GT(CountGreys(kBlack), 0);
    JFontRelease(font);
}

TEST_F(TextTest, ClassicDialogFaceIsDrawnWithoutGreys) {
    if (!JFontFaceAvailable(kDefaultFontFace)) {
        GTEST_SKIP() << "MS Sans Serif (fonts-wine) is not installed";
    }
    for (int style : {0, kFontBold}) {
        JFont* font = JFontGet(kDefaultFontFace, kDefaultFontSize, style, 1.0);
        EXPECT_NE(JFontFile(font).find("ms_sans_serif"), std::string::npos);
        EXPECT_TRUE(JFontIsMonochrome(font));
        JFontDraw(font, JCurrentRasterTarget(), 2, 20, "Pindle 0123 Hg", JRgb(0, 0, 0));
        EXPECT_GT(CountBlack(), 20);
        EXPECT_EQ(CountGreys(kBlack), 0);
        JFontRelease(font);
        JFillRect(0, 0, 64, 48);
    }
}

TEST_F(TextTest, ClassicFaceKeepsTheRequestedCellAndItsOwnStrike) {
    if (!JFontFaceAvailable(kDefaultFontFace)) {
        GTEST_SKIP() << "MS Sans Serif (fonts-wine) is not installed";
    }
    // 15 takes the 13-pixel strike with two rows of leading above it: the
    // capitals stand 9 pixels tall, as the classic 8-point face does.
    JFont* font = JFontGet(kDefaultFontFace, 15, 0, 1.0);
    const JTextExtent extent = JFontMeasure(font, "H");
    EXPECT_EQ(extent.ascent + extent.descent, 15);
    JFontDraw(font, JCurrentRasterTarget(), 2, 20, "H", JRgb(0, 0, 0));
    const JRect ink = InkBounds();
    EXPECT_EQ(ink.bottom, 20);
    EXPECT_EQ(ink.Height(), 9);
    JFontRelease(font);
    // Sizes far from every strike are drawn from the stand-in's outlines.
    JFont* large = JFontGet(kDefaultFontFace, 30, 0, 1.0);
    EXPECT_EQ(JFontFile(large).find("ms_sans_serif"), std::string::npos);
    JFontRelease(large);
}

TEST_F(TextTest, SymbolFaceDrawsCaptionGlyphsWithoutGreys) {
    if (!JFontFaceAvailable(kSymbolFontFace)) {
        GTEST_SKIP() << "Marlett (fonts-wine) is not installed";
    }
    JFont* font = JFontGet(kSymbolFontFace, 13, 0, 1.0);
    EXPECT_TRUE(JFontIsMonochrome(font));
    JFontDraw(font, JCurrentRasterTarget(), 2, 20, "r", JRgb(0, 0, 0));  // the close cross
    EXPECT_GT(CountBlack(), 6);
    EXPECT_EQ(CountGreys(kBlack), 0);
    JFontRelease(font);
}

TEST_F(TextTest, CellHeightIsTheRequestedSize) {
    for (int size : {9, 12, 15, 24, 40}) {
        JSetFontSize(size);
        const JTextExtent extent = JMeasureText("Hg");
        EXPECT_EQ(extent.ascent + extent.descent, size);
        EXPECT_GT(extent.ascent, extent.descent);
    }
}

TEST_F(TextTest, DrawnTextStaysWithinItsMeasure) {
    JSetFontStyle(0);
    JSetFontSize(20);
    const char* text = "Pindle";
    const JTextExtent extent = JMeasureText(text);
    JDrawText(5, 30, text);
    const JRect ink = InkBounds();
    EXPECT_GE(ink.left, 5);
    EXPECT_LE(ink.right, 5 + extent.width + 1);
    EXPECT_GE(ink.right, 5 + extent.width - 3);
    EXPECT_GE(ink.top, 30 - extent.ascent);
    EXPECT_LE(ink.bottom, 30 + extent.descent);
}

TEST_F(TextTest, MeasureAddsUpOverPieces) {
    const int whole = JMeasureText("abcdef").width;
    EXPECT_EQ(whole, JMeasureText("abc").width + JMeasureText("def").width);
    EXPECT_EQ(JMeasureText("").width, 0);
}

TEST_F(TextTest, WidthFactorHalfHalvesTheAverageWidth) {
    JFont* plain = JFontGet("MS Sans Serif", 30, 0, 1.0);
    JFont* half = JFontGet("MS Sans Serif", 30, 0, 0.5);
    const int plainWidth = JFontAverageCharWidth(plain);
    EXPECT_NEAR(JFontAverageCharWidth(half), plainWidth / 2, 1);
    JFontRelease(plain);
    JFontRelease(half);
}

TEST_F(TextTest, BoldTextIsWider) {
    JSetFontStyle(0);
    const int plain = JMeasureText("Compression").width;
    JSetFontStyle(kFontBold);
    EXPECT_GT(JMeasureText("Compression").width, plain);
}

TEST_F(TextTest, OutlinedTextDrawsAroundInTheForegroundAndInsideInTheBackground) {
    JSetFontStyle(kFontOutlined);
    JSetFontSize(30);
    JSetBackColour(JColour{0xFFFF, 0, 0});
    JDrawText(2, 30, "l");
    EXPECT_GT(CountBlack(), 0);
    EXPECT_GT(CountPixels(*JFrameSurface(), JRgb(255, 0, 0)), 0);
}

TEST_F(TextTest, DisabledTextIsGreyUnlessAColourIsFixed) {
    JSetFontSize(30);
    JDrawDisabledText(2, 30, "l");
    EXPECT_GT(CountPixels(*JFrameSurface(), 0x808080), 0);
    const JColour blue{0, 0, 0xFFFF};
    JSetDisabledTextColour(&blue);
    JDrawDisabledText(20, 30, "l");
    EXPECT_GT(CountPixels(*JFrameSurface(), 0x0000FF), 0);
    JSetDisabledTextColour(nullptr);
}

TEST_F(TextTest, FontsAreSharedByTheirDescription) {
    JFont* a = JFontGet("MS Sans Serif", 15, 4, 1.0);
    JFont* b = JFontGet("ms sans serif", 15, 4, 1.0);
    EXPECT_EQ(a, b);
    JFontRelease(a);
    JFontRelease(b);
}

TEST_F(TextTest, AtMostSixFontsKeepTheirFaces) {
    std::vector<JFont*> fonts;
    for (int size = 10; size < 20; ++size) {
        fonts.push_back(JFontGet("MS Sans Serif", size, 0, 1.0));
        JFontMeasure(fonts.back(), "x");
    }
    EXPECT_LE(JRealisedFontCount(), kMaxRealisedFonts);
    EXPECT_TRUE(JFontIsRealised(fonts.back()));
    EXPECT_FALSE(JFontIsRealised(fonts.front()));
    EXPECT_EQ(JFontMeasure(fonts.front(), "x").ascent + JFontMeasure(fonts.front(), "x").descent,
              10);
    for (JFont* font : fonts) {
        JFontRelease(font);
    }
}

TEST_F(TextTest, TextIsClipped) {
    JSetFontSize(30);
    const JRect clip[] = {{0, 0, 64, 10}};
    JSetClipRects(clip, 1);
    JDrawText(2, 30, "Hello");
    EXPECT_EQ(CountBlack(), 0);
}

}  // namespace
