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
