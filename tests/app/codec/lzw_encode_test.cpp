#include "app/codec/lzw_encode.h"

#include <gtest/gtest.h>

#include <random>

#include "app/codec/image_encode.h"
#include "tests/app/codec/codec_test_support.h"

namespace {

class OmitFrameTerminators : public testing::Test {
protected:
    void SetUp() override { SetOmitFrameTerminators(false); }
    void TearDown() override { SetOmitFrameTerminators(false); }
};

TEST(BitsForColours, FollowsTheHighestBitOfCountMinusOne) {
    EXPECT_EQ(BitsForColours(0), 1);
    EXPECT_EQ(BitsForColours(2), 1);
    EXPECT_EQ(BitsForColours(3), 2);
    EXPECT_EQ(BitsForColours(4), 2);
    EXPECT_EQ(BitsForColours(5), 3);
    EXPECT_EQ(BitsForColours(8), 3);
    EXPECT_EQ(BitsForColours(9), 4);
    EXPECT_EQ(BitsForColours(128), 7);
    EXPECT_EQ(BitsForColours(129), 8);
    EXPECT_EQ(BitsForColours(256), 8);
}

TEST(EncodeFrameImage, FourEqualPixelsGiveKnownBytes) {
    // Clear 4, 0, 6 ("00"), 0 at 3 bits; the width grows after the last code
    // fills code 7, so the end code 5 takes 4 bits.
    EXPECT_EQ(EncodePixels(Bytes(4, 0), 2, 2, 2, false), (Bytes{2, 2, 0x84, 0x51, 0}));
}

TEST(EncodeFrameImage, TwoColoursUseCodeSizeTwoAndManyColoursEight) {
    EXPECT_EQ(EncodePixels(Bytes{0, 1}, 2, 1, 2, false)[0], 2);
    EXPECT_EQ(EncodePixels(Bytes{0, 1}, 2, 1, 1, false)[0], 2);
    EXPECT_EQ(EncodePixels(Bytes{0, 1}, 2, 1, 16, false)[0], 4);
    EXPECT_EQ(EncodePixels(Bytes{0, 255}, 2, 1, 256, false)[0], 8);
}

TEST(EncodeFrameImage, ZeroPixelsGiveOnlyTheEndCode) {
    EXPECT_EQ(EncodePixels(Bytes{}, 0, 0, 2, false), (Bytes{2, 1, 5, 0}));
}

TEST_F(OmitFrameTerminators, OffEveryImageEndsWithEndCodeAndTerminator) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 50; ++trial) {
        const int width = 1 + int(random() % 40);
        Bytes pixels(std::size_t(width) * 3);
        for (auto& p : pixels) {
            p = std::uint8_t(random() % 16);
        }
        Bytes image = EncodePixels(pixels, width, 3, 16, false);
        ParsedImage parsed = ParseImage(image, long(pixels.size()));
        EXPECT_TRUE(parsed.endCode);
        EXPECT_EQ(image.back(), 0);
        EXPECT_LT(parsed.dataBits - parsed.codes.back().bitEnd, 8);  // only padding follows
    }
}

// Looks through random images for each ending: how many bits the last pixel
// code leaves pending in its byte, and the code width then.
TEST_F(OmitFrameTerminators, OnEndCodeIsWrittenOnlyWhenItFitsThePartlyFilledByte) {
    std::mt19937 random(11);
    bool sawFitting = false, sawFourPending = false, sawNonePending = false;
    for (int trial = 0; trial < 400; ++trial) {
        const int width = 1 + int(random() % 30);
        Bytes pixels(std::size_t(width) * 2);
        for (auto& p : pixels) {
            p = std::uint8_t(random() % 16);
        }
        SetOmitFrameTerminators(false);
        Bytes full = EncodePixels(pixels, width, 2, 16, false);
        ParsedImage parsedFull = ParseImage(full, long(pixels.size()));
        ASSERT_TRUE(parsedFull.endCode);
        const ParsedCode& endCode = parsedFull.codes.back();
        const long lastPixelEnd = parsedFull.codes[parsedFull.codes.size() - 2].bitEnd;
        const int pending = int(lastPixelEnd % 8);
        const bool fits = pending > 0 && pending + endCode.width <= 8;

        SetOmitFrameTerminators(true);
        Bytes omitted = EncodePixels(pixels, width, 2, 16, false);
        ParsedImage parsedOmitted = ParseImage(omitted, long(pixels.size()));
        EXPECT_EQ(parsedOmitted.endCode, fits);
        EXPECT_EQ(parsedOmitted.dataBits, (lastPixelEnd + 7) / 8 * 8);
        if (fits) {
            EXPECT_EQ(omitted, full);
        }
        Bytes decoded;
        EXPECT_EQ(DecodePixels(omitted, width, 2, false, decoded), DecodeResult::Decoded);
        EXPECT_EQ(decoded, pixels);
        sawFitting |= pending == 3 && endCode.width == 5;
        sawFourPending |= pending == 4 && endCode.width == 5;
        sawNonePending |= pending == 0;
    }
    EXPECT_TRUE(sawFitting);
    EXPECT_TRUE(sawFourPending);
    EXPECT_TRUE(sawNonePending);
}

// The data length depends only on how many codes are written, in steps of
// the code width, so images of several code sizes are grown pixel by pixel
// until one ends with exactly 255 and one with exactly 256 data bytes.
TEST(EncodeFrameImage, SubBlocksSplitAt255DataBytes) {
    bool saw255 = false, saw256 = false;
    for (unsigned seed = 0; seed < 64 && !(saw255 && saw256); ++seed) {
        std::mt19937 random(seed);
        const int colours = 2 << (seed % 8);
        Bytes pixels;
        for (int count = 1; count < 4000; ++count) {
            pixels.push_back(std::uint8_t(random() % unsigned(colours)));
            Bytes image = EncodePixels(pixels, int(pixels.size()), 1, colours, false);
            if (image.size() < 250) {
                continue;
            }
            ParsedImage parsed = ParseImage(image, long(pixels.size()));
            const long dataBytes = parsed.dataBits / 8;
            if (dataBytes == 255) {
                saw255 = true;
                EXPECT_EQ(parsed.subBlockLengths, (std::vector<std::uint8_t>{255}));
                EXPECT_EQ(image.size(), 1u + 1u + 255u + 1u);
            } else if (dataBytes == 256) {
                saw256 = true;
                EXPECT_EQ(parsed.subBlockLengths, (std::vector<std::uint8_t>{255, 1}));
                EXPECT_EQ(image.size(), 1u + 1u + 255u + 1u + 1u + 1u);
            } else if (dataBytes > 256) {
                break;
            }
        }
    }
    EXPECT_TRUE(saw255);
    EXPECT_TRUE(saw256);
}

TEST(EncodeFrameImage, ClearCodeComesExactlyWhenCode4096WouldBeAssigned) {
    std::mt19937 random(5);
    Bytes pixels(20000);
    for (auto& p : pixels) {
        p = std::uint8_t(random() % 256);
    }
    FrameImage record{{0, 0, 100, 200}, {}};
    EncodeIndices(record, false, 256, pixels.data(), {kClearWhenFull});
    const Bytes image = record.encoded;
    ParsedImage parsed = ParseImage(image, long(pixels.size()));
    ASSERT_GT(parsed.codes.size(), 4000u);
    EXPECT_EQ(parsed.codes[0].code, 256);
    // After the first clear, codes 258 to 4095 are assigned one per data code
    // but the last; the code that would assign 4096 is followed by a clear.
    const std::size_t second = 1 + (4096 - 258) + 1;
    EXPECT_EQ(parsed.codes[second].code, 256);
    for (std::size_t i = 1; i < second; ++i) {
        ASSERT_NE(parsed.codes[i].code, 256) << i;
    }
    EXPECT_EQ(parsed.codes[second].width, 12);
    EXPECT_EQ(parsed.codes[second + 1].width, 9);
    Bytes decoded;
    EXPECT_EQ(DecodePixels(image, 200, 100, false, decoded), DecodeResult::Decoded);
    EXPECT_EQ(decoded, pixels);
}

// The order in which the encoder takes the rows of an interlaced rectangle.
std::vector<int> EncodedRowOrder(int rows) {
    Bytes pixels(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        pixels[std::size_t(i)] = std::uint8_t(i);
    }
    Bytes image = EncodePixels(pixels, 1, rows, 16, true);
    Bytes stored;
    EXPECT_EQ(DecodePixels(image, rows, 1, false, stored), DecodeResult::Decoded);
    return std::vector<int>(stored.begin(), stored.end());
}

TEST(EncodeFrameImage, InterlacedRowsAreTakenInPassOrder) {
    EXPECT_EQ(EncodedRowOrder(1), (std::vector<int>{0}));
    EXPECT_EQ(EncodedRowOrder(2), (std::vector<int>{0, 1}));
    EXPECT_EQ(EncodedRowOrder(3), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(EncodedRowOrder(5), (std::vector<int>{0, 4, 2, 1, 3}));
    EXPECT_EQ(EncodedRowOrder(9), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7}));
}

TEST(EncodeFrameImageWith, FillerSeesRowOffsetsInTheSourceMap) {
    std::vector<std::uint32_t> offsets;
    FrameImage record{{2, 3, 5, 5}, {}};
    EncodeFrameImageWith(record, true, 10, 4,
                         [&offsets](std::uint8_t* row, std::uint32_t width, std::uint32_t offset) {
                             offsets.push_back(offset);
                             std::fill(row, row + width, 1);
                         });
    EXPECT_EQ(offsets, (std::vector<std::uint32_t>{23, 43, 33}));
    FreeEncodedImage(record);
}

}  // namespace
