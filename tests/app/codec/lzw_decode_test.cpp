#include "app/codec/lzw_decode.h"

#include <gtest/gtest.h>

#include "tests/app/codec/codec_test_support.h"

namespace {

// Minimum code size 2: clear 4, end 5, first free code 6, codes start 3 bits wide.
constexpr int kClear = 4;
constexpr int kEnd = 5;

TEST(LzwDecode, CodeEqualToNextFreeIsPreviousStringPlusItsFirstCharacter) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(1, 3);  // "1"
    stream.Put(6, 3);  // not yet defined: "1" + "1"; defines 6 = "11"
    stream.Put(kEnd, 3);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 3, 1, false, pixels), DecodeResult::Decoded);
    EXPECT_EQ(pixels, (Bytes{1, 1, 1}));
}

TEST(LzwDecode, CodeBeyondNextFreeDecodesLikeNextFreeWithoutHarm) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(2, 3);
    stream.Put(7, 3);  // damaged: two beyond the table
    stream.Put(7, 4);  // now defined as "22", so "22" again... whatever: must stay in bounds
    stream.Put(kEnd, 4);
    Bytes pixels;
    EXPECT_NE(DecodePixels(stream.Image(2), 5, 1, false, pixels), DecodeResult::Failed);
    EXPECT_EQ(pixels, (Bytes{2, 2, 2, 2, 2}));
}

TEST(LzwDecode, MinimumCodeSizeZeroOrAboveElevenFails) {
    Bytes pixels;
    for (int size : {0, 12, 13}) {
        CodeStream stream;
        stream.Put(1 << size, size + 1);
        stream.Put(0, size + 1);
        stream.Put((1 << size) + 1, size + 1);
        EXPECT_EQ(DecodePixels(stream.Image(size), 1, 1, false, pixels), DecodeResult::Failed)
            << size;
    }
    EXPECT_EQ(DecodePixels(Bytes{255, 1, 0, 0}, 1, 1, false, pixels), DecodeResult::Failed);
}

TEST(LzwDecode, FirstCodeWithoutLeadingClearDefinesNoEntry) {
    CodeStream stream;
    stream.Put(1, 3);  // "1", with no string before it
    stream.Put(6, 3);  // so 6 is still free: "1" + "1"
    stream.Put(6, 3);
    stream.Put(kEnd, 3);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 5, 1, false, pixels), DecodeResult::Decoded);
    EXPECT_EQ(pixels, (Bytes{1, 1, 1, 1, 1}));
}

TEST(LzwDecode, TerminatorRightAfterLastPixelNeedsNoEndCode) {
    CodeStream stream;
    // Exactly two bytes of codes, so no padding bits follow the last one.
    stream.Put(kClear, 3);
    stream.Put(3, 3);
    stream.Put(2, 3);
    stream.Put(1, 3);
    stream.Put(0, 4);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 4, 1, false, pixels), DecodeResult::Decoded);
    EXPECT_EQ(pixels, (Bytes{3, 2, 1, 0}));
}

TEST(LzwDecode, SubBlockAfterEndCodeFails) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(3, 3);
    stream.Put(kEnd, 3);
    Bytes image = stream.Image(2, false);
    image.insert(image.end(), {1, 0x55, 0});
    Bytes pixels;
    EXPECT_EQ(DecodePixels(image, 1, 1, false, pixels), DecodeResult::Failed);
}

TEST(LzwDecode, BytesAfterEndCodeInSameSubBlockAreIgnored) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(3, 3);
    stream.Put(kEnd, 3);
    stream.Put(0xFFFF, 16);  // two stray bytes inside the same sub-block
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 1, 1, false, pixels), DecodeResult::Decoded);
}

TEST(LzwDecode, ExtraCodesAfterLastRowGiveCompleteImageAndResultTwo) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(1, 3);
    stream.Put(2, 3);
    stream.Put(3, 3);
    stream.Put(0, 3);
    stream.Put(kEnd, 3);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 2, 1, false, pixels),
              DecodeResult::DecodedWithExtraData);
    EXPECT_EQ(pixels, (Bytes{1, 2}));
}

TEST(LzwDecode, ClearCodesAfterLastRowArePassedOver) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(1, 3);
    stream.Put(kClear, 3);
    stream.Put(kEnd, 3);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 1, 1, false, pixels), DecodeResult::Decoded);
}

TEST(LzwDecode, DataEndingBeforeLastRowFailsButKeepsRowsSoFar) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(1, 3);
    stream.Put(2, 3);
    stream.Put(kEnd, 3);  // decoded as a pixel while rows remain
    stream.Put(0, 4);     // the last 4 bits of the byte
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 3, 2, false, pixels), DecodeResult::Failed);
    EXPECT_EQ(pixels, (Bytes{1, 2, kEnd, 0, 0xEE, 0xEE}));
}

TEST(LzwDecode, MissingTerminatorFails) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(1, 3);
    stream.Put(kEnd, 3);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2, false), 1, 1, false, pixels), DecodeResult::Failed);
}

TEST(LzwDecode, FirstCodeAfterClearBeyondTableCountsAsZero) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(7, 3);
    stream.Put(kEnd, 3);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 1, 1, false, pixels), DecodeResult::Decoded);
    EXPECT_EQ(pixels[0], 0);
}

// Single-pixel codes only, so that every code defines a two-pixel string:
// the width must grow exactly as the table fills, then stay at 12 bits with
// no new entries until a clear code.
TEST(LzwDecode, WidthGrowsWithTableAndStaysTwelveBitsOnceFull) {
    CodeStream stream;
    Bytes expected;
    std::vector<Bytes> strings(4096);
    stream.Put(kClear, 3);
    stream.Put(0, 3);
    expected.push_back(0);
    int previous = 0;
    int next = 6;
    int width = 3;
    std::vector<int> growthAt;
    for (int i = 1; next < 4096; ++i) {
        const int literal = i % 4;
        stream.Put(literal, width);
        expected.push_back(std::uint8_t(literal));
        strings[std::size_t(next)] = {std::uint8_t(previous), std::uint8_t(literal)};
        previous = literal;
        ++next;
        if (next >= (1 << width) && width < 12) {
            ++width;
            growthAt.push_back(next);
        }
    }
    EXPECT_EQ(growthAt, (std::vector<int>{8, 16, 32, 64, 128, 256, 512, 1024, 2048}));
    stream.Put(3, 12);
    stream.Put(4095, 12);
    stream.Put(6, 12);
    expected.push_back(3);
    expected.insert(expected.end(), strings[4095].begin(), strings[4095].end());
    expected.insert(expected.end(), strings[6].begin(), strings[6].end());
    // A clear starts again at 3 bits with a fresh table.
    stream.Put(kClear, 12);
    stream.Put(2, 3);
    stream.Put(6, 3);
    expected.insert(expected.end(), {2, 2, 2});
    stream.Put(kEnd, 3);
    Bytes out;
    ASSERT_EQ(DecodePixels(stream.Image(2), int(expected.size()), 1, false, out),
              DecodeResult::Decoded);
    EXPECT_EQ(out, expected);
}

TEST(LzwDecode, ZeroWidthImageReadsItsDataAndWritesNothing) {
    CodeStream stream;
    stream.Put(kEnd, 3);
    PixelMap map = MapOfBytes(1, 4, Bytes(4, 0xAB));
    Bytes image = stream.Image(2);
    FrameImage record{{0, 1, 4, 1}, image};
    EXPECT_EQ(DecodeFrameImage(map, record, false, IndexPlacement{IdentityTable()}),
              DecodeResult::Decoded);
    EXPECT_EQ(BytesOfMap(map), Bytes(4, 0xAB));
    FrameImage flat{{1, 0, 1, 1}, image};
    EXPECT_EQ(DecodeFrameImage(map, flat, true, IndexPlacement{IdentityTable()}),
              DecodeResult::Decoded);
    EXPECT_EQ(BytesOfMap(map), Bytes(4, 0xAB));
}

TEST(LzwDecode, ZeroSizeImageWithStrayCodesGivesExtraDataResult) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(1, 3);
    stream.Put(kEnd, 3);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(2), 0, 3, false, pixels),
              DecodeResult::DecodedWithExtraData);
}

TEST(LzwDecode, RefusingSinkFailsTheDecode) {
    CodeStream stream;
    stream.Put(kClear, 3);
    stream.Put(1, 3);
    stream.Put(1, 3);
    stream.Put(kEnd, 3);
    Bytes image = stream.Image(2);
    InputFromMemory(std::uint32_t(image.size()), image.data());
    std::uint8_t row[1];
    int rows = 0;
    DecodeResult result =
        LzwDecode(1, 2, row, [&rows](std::uint16_t, const std::uint8_t*) { return ++rows < 1; });
    EndInputFromMemory();
    EXPECT_EQ(result, DecodeResult::Failed);
    EXPECT_EQ(rows, 1);
}

TEST(LzwDecode, ReadCodeReportsTerminatorAndReadFailure) {
    Bytes image{2, 0};
    InputFromMemory(std::uint32_t(image.size()), image.data());
    std::uint8_t row[1];
    EXPECT_EQ(LzwDecode(1, 1, row, [](std::uint16_t, const std::uint8_t*) { return true; }),
              DecodeResult::Failed);
    EXPECT_EQ(ReadCode(), kCodeReadFailed);
    EndInputFromMemory();
}

}  // namespace
