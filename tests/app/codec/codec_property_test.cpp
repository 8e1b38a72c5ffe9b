// Random images of every colour count, encoded by our encoder, must come back
// pixel for pixel from our decoder and from giflib's.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "app/codec/gif_blocks.h"
#include "app/codec/output_stream.h"
#include "framework/core/memory.h"
#include "tests/app/codec/codec_test_support.h"

namespace {

// Runs of a colour mixed with noise, so that both long strings and a full
// code table occur.
Bytes RandomPixels(std::mt19937& random, int count, int colours) {
    Bytes pixels(static_cast<std::size_t>(count));
    std::size_t at = 0;
    while (at < pixels.size()) {
        std::size_t run = random() % 3 == 0 ? 1 + random() % 40 : 1;
        const auto colour = std::uint8_t(random() % unsigned(colours));
        for (; run > 0 && at < pixels.size(); --run) {
            pixels[at++] = colour;
        }
    }
    return pixels;
}

// A whole GIF file around one encoded image.
Bytes GifFile(const Bytes& image, int width, int height, int colours, bool interlaced) {
    const int bits = BitsForColours(colours);
    std::vector<std::uint8_t> table(3u << bits, 0);
    ResetOutput();
    WriteScreenHeader(std::uint16_t(width), std::uint16_t(height), 0, bits, table.data());
    WriteImageDescriptor(0, 0, std::uint16_t(width), std::uint16_t(height), interlaced, bits,
                         nullptr);
    WriteOutput(std::uint32_t(image.size()), image.data());
    WriteTrailer();
    return CopyOutput();
}

// giflib's pixels of the file's first image, empty when it refuses the file.
Bytes GiflibPixels(const Bytes& file) {
    MemoryReader reader{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (!gif) {
        return {};
    }
    Bytes pixels;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage& image = gif->SavedImages[0];
        pixels.assign(image.RasterBits,
                      image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
    }
    DGifCloseFile(gif, &error);
    return pixels;
}

TEST(CodecProperty, OurEncoderOurDecoderAndGiflibAgreeForEveryColourCount) {
    std::mt19937 random(2024);
    for (int colours = 2; colours <= 256; ++colours) {
        const int width = 1 + int(random() % 300);
        const int height = 1 + int(random() % std::max(1, std::min(300, 24000 / width)));
        const Bytes pixels = RandomPixels(random, width * height, colours);
        for (bool interlaced : {false, true}) {
            for (bool omit : {false, true}) {
                SCOPED_TRACE(testing::Message() << colours << " colours, " << width << "x" << height
                                                << (interlaced ? " interlaced" : "")
                                                << (omit ? " omitting terminators" : ""));
                SetOmitFrameTerminators(omit);
                const Bytes image = EncodePixels(pixels, width, height, colours, interlaced);
                Bytes ours;
                ASSERT_EQ(DecodePixels(image, width, height, interlaced, ours),
                          DecodeResult::Decoded);
                ASSERT_EQ(ours, pixels);
                ASSERT_EQ(GiflibPixels(GifFile(image, width, height, colours, interlaced)), pixels);
            }
        }
    }
    SetOmitFrameTerminators(false);
}

// A full table kept in use for a while (a deferred clear) or never cleared at
// all is read alike by both decoders.
TEST(CodecProperty, FullTablesKeptInUseAgreeWithGiflib) {
    std::mt19937 random(7);
    constexpr int kWidth = 400;
    constexpr int kHeight = 250;
    for (int colours : {2, 16, 256}) {
        const Bytes pixels = RandomPixels(random, kWidth * kHeight, colours);
        for (std::uint32_t gap : {kClearWhenFull, 500u, kClearCheckGap, ~0u}) {
            SCOPED_TRACE(testing::Message() << colours << " colours, check gap " << gap);
            FrameImage record{{0, 0, kHeight, kWidth}, {}};
            EncodeIndices(record, false, colours, pixels.data(), {gap});
            const int clearCode = 1 << std::max(BitsForColours(colours), 2);
            const ParsedImage parsed = ParseImage(record.encoded, long(pixels.size()));
            const auto clears = std::count_if(parsed.codes.begin(), parsed.codes.end(),
                                              [&](const auto& c) { return c.code == clearCode; });
            if (gap == ~0u) {
                EXPECT_EQ(clears, 1);  // the one at the start
            } else if (gap == kClearWhenFull && colours > 2) {
                EXPECT_GT(clears, 1);  // so the table does fill
            }
            Bytes ours;
            ASSERT_EQ(DecodePixels(record.encoded, kWidth, kHeight, false, ours),
                      DecodeResult::Decoded);
            ASSERT_EQ(ours, pixels);
            ASSERT_EQ(GiflibPixels(GifFile(record.encoded, kWidth, kHeight, colours, false)),
                      pixels);
        }
    }
}

TEST(CodecProperty, TinyImagesOfFewColoursAgreeWithGiflib) {
    std::mt19937 random(99);
    for (int width = 1; width <= 9; ++width) {
        for (int height = 1; height <= 9; ++height) {
            const Bytes pixels = RandomPixels(random, width * height, 2);
            const Bytes image = EncodePixels(pixels, width, height, 2, true);
            EXPECT_EQ(GiflibPixels(GifFile(image, width, height, 2, true)), pixels)
                << width << "x" << height;
        }
    }
}

}  // namespace
