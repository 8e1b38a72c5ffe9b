// Whole files that the one-table design used to change: more than 256
// colours in all, full tables, a table per frame, unusual code sizes and
// screens. Each is written byte by byte, opened, saved, and both files are
// read by giflib and composited by the reference compositor: every screen
// and every delay must be the same.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/optimiser/compress.h"
#include "tests/app/corpus/corpus_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using corpus::fs::path;

struct Colour {
    std::uint8_t red, green, blue;
};
using Palette = std::vector<Colour>;

// `count` colours none of which another palette of another `seed` holds.
Palette DistinctPalette(int count, int seed) {
    Palette palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back({std::uint8_t(i), std::uint8_t(seed * 37), std::uint8_t(255 - i)});
    }
    return palette;
}

// Builds GIF files block by block. Images are written with literal codes
// only, each after a clear code, so that any minimum code size is easy to
// produce and every decoder reads it.
class GifWriter {
public:
    GifWriter(int width, int height, const Palette& global, int background = 0)
        : bytes_{'G', 'I', 'F', '8', '9', 'a'} {
        Word(width);
        Word(height);
        bytes_.push_back(global.empty() ? 0 : std::uint8_t(0x80 | (Bits(global.size()) - 1)));
        bytes_.push_back(std::uint8_t(background));
        bytes_.push_back(0);
        Table(global);
    }

    GifWriter& Control(int disposal, int delay, int transparentIndex = -1) {
        bytes_.insert(
            bytes_.end(),
            {0x21, 0xF9, 4, std::uint8_t(disposal << 2 | (transparentIndex >= 0 ? 1 : 0))});
        Word(delay);
        bytes_.insert(bytes_.end(), {std::uint8_t(std::max(transparentIndex, 0)), 0});
        return *this;
    }

    GifWriter& Image(int left, int top, int width, int height, const Bytes& pixels,
                     const Palette& local = {}, int minimumCodeSize = 8) {
        bytes_.push_back(0x2C);
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        bytes_.push_back(local.empty() ? 0 : std::uint8_t(0x80 | (Bits(local.size()) - 1)));
        Table(local);
        LiteralImage(pixels, minimumCodeSize);
        return *this;
    }

    void Save(const path& file) {
        bytes_.push_back(0x3B);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes_.data()), std::streamsize(bytes_.size()));
    }

private:
    static int Bits(std::size_t entries) {
        int bits = 1;
        while ((std::size_t(1) << bits) < entries) {
            ++bits;
        }
        return bits;
    }

    void Table(const Palette& palette) {
        if (palette.empty()) {
            return;
        }
        const std::size_t entries = std::size_t(1) << Bits(palette.size());
        for (std::size_t i = 0; i < entries; ++i) {
            const Colour colour = i < palette.size() ? palette[i] : Colour{0, 0, 0};
            bytes_.insert(bytes_.end(), {colour.red, colour.green, colour.blue});
        }
    }

    // Clear, pixel, clear, pixel...: no table entry is ever made, so codes
    // keep the first width, except that with a minimum code size of 1 the
    // code after a pixel is one bit wider (the next free code, 4, needs 3).
    void LiteralImage(const Bytes& pixels, int minimumCodeSize) {
        const int clear = 1 << minimumCodeSize;
        const int first = minimumCodeSize + 1;
        const int afterPixel = minimumCodeSize == 1 ? 3 : first;
        int width = first;
        std::vector<std::uint8_t> data;
        long bit = 0;
        const auto put = [&](int code) {
            for (int i = 0; i < width; ++i, ++bit) {
                if (bit % 8 == 0) {
                    data.push_back(0);
                }
                data.back() |= std::uint8_t(((code >> i) & 1) << (bit % 8));
            }
        };
        for (std::uint8_t pixel : pixels) {
            put(clear);
            width = first;
            put(pixel);
            width = afterPixel;
        }
        put(clear + 1);
        bytes_.push_back(std::uint8_t(minimumCodeSize));
        for (std::size_t at = 0; at < data.size(); at += 255) {
            const std::size_t part = std::min<std::size_t>(255, data.size() - at);
            bytes_.push_back(std::uint8_t(part));
            bytes_.insert(bytes_.end(), data.begin() + long(at), data.begin() + long(at + part));
        }
        bytes_.push_back(0);
    }

    void Word(int value) {
        bytes_.push_back(std::uint8_t(value));
        bytes_.push_back(std::uint8_t(value >> 8));
    }
    Bytes bytes_;
};

Bytes RandomPixels(std::size_t count, int colours, unsigned seed) {
    std::mt19937 random(seed);
    Bytes pixels(count);
    for (std::uint8_t& pixel : pixels) {
        pixel = std::uint8_t(random() % unsigned(colours));
    }
    return pixels;
}

// `saved`, composited from giflib's reading, shows the screens of
// `original` for the same times (frames that change nothing may have gone,
// their time with the frame before), over the area both files' images reach.
void ExpectSameScreens(const path& original, const path& saved) {
    const corpus::ReferenceGif before = corpus::ReadReference(original);
    const corpus::ReferenceGif after = corpus::ReadReference(saved);
    ASSERT_TRUE(before.complete) << before.error;
    ASSERT_TRUE(after.complete) << after.error;
    const std::string difference = corpus::AnimationDifference(after.gif.get(), before.gif.get());
    EXPECT_TRUE(difference.empty()) << difference;
}

int ImageCount(const path& file) {
    const corpus::ReferenceGif gif = corpus::ReadReference(file);
    return gif.complete ? gif.gif->ImageCount : -1;
}

class LosslessSave : public testing::Test {
protected:
    void SetUp() override {
        JTempMark();
        InitOutput();
    }
    void TearDown() override { JTempRelease(); }

    path File(const char* name) const { return scratch_.path() / name; }

    // Opens and saves `name` as `name`.out.gif; returns the saved path and
    // keeps the report.
    path Save(const char* name, const CompressionOptions& options = {}) {
        const path original = File(name);
        const path saved = original.string() + ".out.gif";
        corpus::AlertRecorder recorder(true);
        document_ = corpus::OpenDocument(original);
        EXPECT_TRUE(document_) << recorder.All();
        if (!document_) {
            return saved;
        }
        FileSpec* spec = JFileSpecFromPath(saved.c_str());
        EXPECT_TRUE(CompressDocument(*document_, spec, true, options)) << recorder.All();
        JFileSpecFree(spec);
        report_ = recorder.alerts().empty() ? "" : recorder.alerts().back().message;
        return saved;
    }

    void SaveBothWaysAndCompare(const char* name) {
        ExpectSameScreens(File(name), Save(name));
        CompressionOptions off;
        off.omitFrameTerminators = false;
        off.excludeOrigin = false;
        off.smallFirstFrameRectangle = false;
        off.useInterframeTransparency = false;
        ExpectSameScreens(File(name), Save(name, off));
    }

    corpus::ScratchDirectory scratch_;
    corpus::Document document_;
    std::string report_;
};

TEST_F(LosslessSave, FullTableOf256ColoursKeepsEveryColour) {
    const Palette palette = DistinctPalette(256, 1);
    Bytes pixels(64 * 64);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = std::uint8_t(i % 256);
    }
    GifWriter(64, 64, palette).Image(0, 0, 64, 64, pixels).Save(File("full.gif"));
    SaveBothWaysAndCompare("full.gif");
    EXPECT_FALSE(document_->coloursAltered);
    EXPECT_EQ(document_->colours.size(), 256u);
}

TEST_F(LosslessSave, TablePerFrameWithHundredsOfColoursInAll) {
    GifWriter gif(40, 30, {});
    Bytes previous;
    for (int frame = 0; frame < 5; ++frame) {
        Bytes pixels = RandomPixels(40 * 30, 100, unsigned(frame));
        if (frame > 0) {
            // Half the screen stays, so that frames shrink and may go
            // transparent.
            std::copy(previous.begin(), previous.begin() + 600, pixels.begin());
        }
        gif.Control(1, 10 + frame).Image(0, 0, 40, 30, pixels, DistinctPalette(100, frame));
        previous = pixels;
    }
    gif.Save(File("tables.gif"));
    SaveBothWaysAndCompare("tables.gif");
    EXPECT_GE(document_->colours.size(), 300u);
    EXPECT_NE(report_.find("with absolutely no change in appearance"), std::string::npos)
        << report_;
}

// The second frame changes every pixel but a few to 256 new colours: its
// changed rectangle with the unchanged pixels transparent would need 257
// entries, so it must be written some other way.
TEST_F(LosslessSave, RectangleNeeding256ColoursAndTransparency) {
    const Bytes first = RandomPixels(32 * 32, 256, 1);
    Bytes second(32 * 32);
    for (std::size_t i = 0; i < second.size(); ++i) {
        second[i] = std::uint8_t(i % 256);
    }
    GifWriter(32, 32, DistinctPalette(256, 1))
        .Control(1, 5)
        .Image(0, 0, 32, 32, first)
        .Control(1, 5)
        .Image(0, 0, 32, 32, second, DistinctPalette(256, 2))
        .Control(1, 5)
        .Image(4, 4, 8, 8, Bytes(64, 7))
        .Save(File("full-change.gif"));
    SaveBothWaysAndCompare("full-change.gif");
}

TEST_F(LosslessSave, LocalTablesOnSomeFramesOnly) {
    GifWriter gif(20, 20, DistinctPalette(16, 0), 3);
    gif.Control(1, 4).Image(0, 0, 20, 20, RandomPixels(400, 16, 1));
    gif.Control(1, 4).Image(5, 5, 10, 10, RandomPixels(100, 32, 2), DistinctPalette(32, 5));
    gif.Control(2, 4).Image(2, 2, 6, 6, RandomPixels(36, 16, 3));
    gif.Control(1, 4).Image(10, 0, 10, 20, RandomPixels(200, 64, 4), DistinctPalette(64, 6));
    gif.Save(File("some-local.gif"));
    SaveBothWaysAndCompare("some-local.gif");
}

TEST_F(LosslessSave, FirstFrameWithTransparentBordersKeepsCoveringThem) {
    Bytes pixels(20 * 20, 0);
    for (int y = 5; y < 15; ++y) {
        for (int x = 5; x < 15; ++x) {
            pixels[std::size_t(y * 20 + x)] = std::uint8_t(1 + (x + y) % 3);
        }
    }
    GifWriter(20, 20, DistinctPalette(4, 0))
        .Control(1, 0, 0)
        .Image(0, 0, 20, 20, pixels)
        .Save(File("borders.gif"));
    const path saved = Save("borders.gif");
    ExpectSameScreens(File("borders.gif"), saved);
    const corpus::ReferenceGif result = corpus::ReadReference(saved);
    ASSERT_TRUE(result.complete);
    const GifImageDesc& image = result.gif->SavedImages[0].ImageDesc;
    EXPECT_EQ(image.Width, 20);
    EXPECT_EQ(image.Height, 20);
    EXPECT_NE(corpus::ControlOf(result.gif.get(), 0).TransparentColor, NO_TRANSPARENT_COLOR);
}

TEST_F(LosslessSave, MinimumCodeSizesOneAndNineToElevenAreRead) {
    for (int size : {1, 9, 10, 11}) {
        SCOPED_TRACE(size);
        const Bytes pixels = RandomPixels(12 * 6, size == 1 ? 2 : 200, unsigned(size));
        GifWriter(12, 6, DistinctPalette(size == 1 ? 2 : 256, 0))
            .Image(0, 0, 12, 6, pixels, {}, size)
            .Save(File("sizes.gif"));
        const path saved = Save("sizes.gif");
        ASSERT_TRUE(document_);
        EXPECT_EQ(document_->frameCount, 1);
        EXPECT_FALSE(document_->readIncomplete);
        // giflib reads sizes up to 8: the saved file, written with the size
        // its colours need, is compared pixel by pixel with what was written.
        const corpus::ReferenceGif result = corpus::ReadReference(saved);
        ASSERT_TRUE(result.complete) << result.error;
        corpus::ReferenceCompositor shown(result.gif.get());
        const corpus::Screen& screen = shown.Next();
        const Palette palette = DistinctPalette(size == 1 ? 2 : 256, 0);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const Colour colour = palette[pixels[i]];
            ASSERT_EQ(screen[i], corpus::Opaque(colour.red, colour.green, colour.blue)) << i;
        }
    }
}

TEST_F(LosslessSave, ScreenOf65535PixelsWide) {
    Bytes pixels(65535);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = std::uint8_t(i / 300 % 4);
    }
    GifWriter(65535, 1, DistinctPalette(4, 0))
        .Control(1, 3)
        .Image(0, 0, 65535, 1, pixels)
        .Control(1, 3)
        .Image(65000, 0, 535, 1, Bytes(535, 3))
        .Save(File("wide.gif"));
    SaveBothWaysAndCompare("wide.gif");
    EXPECT_EQ(document_->screenWidth, 65535);
}

TEST_F(LosslessSave, FrameReachingPastTheScreenKeepsTheScreen) {
    GifWriter(8, 8, DistinctPalette(4, 0))
        .Control(1, 5)
        .Image(0, 0, 8, 8, RandomPixels(64, 4, 1))
        .Control(1, 5)
        .Image(6, 6, 5, 5, RandomPixels(25, 4, 2))
        .Save(File("past.gif"));
    SaveBothWaysAndCompare("past.gif");
    EXPECT_EQ(document_->screenWidth, 8);
    EXPECT_EQ(document_->canvas.width, 11u);
}

TEST_F(LosslessSave, FramesFarFromTheCornerOfALargerScreen) {
    // The canvas holds only the frames' area; the options that grow
    // rectangles to the corner or the whole screen must still reach there.
    const Palette palette = DistinctPalette(8, 0);
    GifWriter(300, 200, palette, 5)
        .Control(1, 4)
        .Image(200, 120, 40, 30, RandomPixels(40 * 30, 6, 1))
        .Control(2, 4, 7)
        .Image(210, 125, 20, 10, RandomPixels(200, 8, 2))
        .Control(3, 4, 7)
        .Image(205, 130, 30, 20, RandomPixels(600, 8, 3))
        .Control(1, 4)
        .Image(230, 140, 10, 10, RandomPixels(100, 6, 4))
        .Save(File("far.gif"));
    SaveBothWaysAndCompare("far.gif");
    EXPECT_EQ(document_->screenWidth, 300);
}

TEST_F(LosslessSave, FramesThatChangeNothingGoWithTheirTime) {
    const Bytes first = RandomPixels(16 * 16, 4, 1);
    Bytes second = first;
    second[40] = std::uint8_t((second[40] + 1) % 4);
    GifWriter gif(16, 16, DistinctPalette(4, 0));
    gif.Control(1, 10).Image(0, 0, 16, 16, first);
    gif.Control(1, 20).Image(0, 0, 16, 16, first);
    Bytes patch;
    for (int y = 2; y < 6; ++y) {
        patch.insert(patch.end(), first.begin() + y * 16 + 2, first.begin() + y * 16 + 6);
    }
    gif.Control(1, 30).Image(2, 2, 4, 4, patch);  // what the screen shows already
    gif.Control(1, 40).Image(0, 0, 16, 16, second);
    gif.Control(1, 0).Image(0, 0, 16, 16, second);  // shown for 10 by browsers
    gif.Save(File("still.gif"));
    SaveBothWaysAndCompare("still.gif");
    EXPECT_EQ(ImageCount(File("still.gif.out.gif")), 3);
    EXPECT_EQ(document_->frameCount, 5);  // the document keeps its frames
    CompressionOptions keep;
    keep.mergeUnchangedFrames = false;
    ExpectSameScreens(File("still.gif"), Save("still.gif", keep));
    EXPECT_EQ(ImageCount(File("still.gif.out.gif")), 5);
}

}  // namespace
