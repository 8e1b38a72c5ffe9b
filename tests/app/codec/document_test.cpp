#include "app/codec/document.h"

#include <gtest/gtest.h>

namespace {

Rgb Numbered(std::uint32_t n) {
    return Rgb{std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)};
}

TEST(ColourList, EachColourIsListedOnce) {
    std::unique_ptr<GifDocument> document = NewGifDocument();
    EXPECT_EQ(ColourId(*document, Rgb{1, 2, 3}), 0);
    EXPECT_EQ(ColourId(*document, Rgb{3, 2, 1}), 1);
    EXPECT_EQ(ColourId(*document, Rgb{1, 2, 3}), 0);
    EXPECT_EQ(document->colours.size(), 2u);
    EXPECT_FALSE(document->coloursAltered);
}

// Pixels are 16-bit and one value means background: past the last id the
// nearest listed colour stands in, and the colours count as altered.
TEST(ColourList, PastTheLimitTheNearestColourStandsIn) {
    std::unique_ptr<GifDocument> document = NewGifDocument();
    for (std::uint32_t n = 0; n < kMaxColours; ++n) {
        ASSERT_EQ(ColourId(*document, Numbered(n * 2)), n);
    }
    EXPECT_FALSE(document->coloursAltered);
    EXPECT_EQ(ColourId(*document, Numbered(2 * 500 + 1)), 500);
    EXPECT_TRUE(document->coloursAltered);
    EXPECT_EQ(document->colours.size(), std::size_t{kMaxColours});
}

}  // namespace
