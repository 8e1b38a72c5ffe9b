// Deinterlacing re-encodes images in another row order and must keep every
// pixel: checked with giflib, which reads the files we start from (written
// by giflib itself, or from the corpus), each deinterlaced image on its own,
// and the whole file saved afterwards.
#include "app/edit/deinterlace.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/optimiser/compress.h"
#include "tests/app/corpus/corpus_support.h"
#include "tests/app/edit/edit_test_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using corpus::fs::path;

struct MadeUpImage {
    int left, top, width, height;
    Bytes pixels;  // row after row
};

// Writes an animation with giflib, every image interlaced. giflib leaves the
// row order to its caller, so the rows go out in the four passes of GIF.
bool WriteInterlacedGif(const path& file, int width, int height,
                        const std::vector<MadeUpImage>& images) {
    constexpr int kColours = 16;
    int error = 0;
    GifFileType* gif = EGifOpenFileName(file.c_str(), false, &error);
    if (!gif) {
        return false;
    }
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(kColours, nullptr);
    for (int i = 0; i < kColours; ++i) {
        map->Colors[i] =
            GifColorType{GifByteType(i * 16), GifByteType(255 - i * 9), GifByteType(i)};
    }
    bool written = EGifPutScreenDesc(gif, width, height, 4, 0, map) == GIF_OK;
    constexpr int kPassStart[] = {0, 4, 2, 1};
    constexpr int kPassStep[] = {8, 8, 4, 2};
    for (const MadeUpImage& image : images) {
        GraphicsControlBlock control{DISPOSE_DO_NOT, false, 7, NO_TRANSPARENT_COLOR};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        written = written && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK;
        written = written && EGifPutImageDesc(gif, image.left, image.top, image.width, image.height,
                                              true, nullptr) == GIF_OK;
        for (int pass = 0; pass < 4; ++pass) {
            for (int row = kPassStart[pass]; row < image.height; row += kPassStep[pass]) {
                Bytes line(image.pixels.begin() + long(row) * image.width,
                           image.pixels.begin() + long(row + 1) * image.width);
                written = written && EGifPutLine(gif, line.data(), image.width) == GIF_OK;
            }
        }
    }
    written = EGifCloseFile(gif, &error) == GIF_OK && written;
    GifFreeMapObject(map);
    return written;
}

// Frames one to nine rows high, so that every pass is empty for some frame.
std::vector<MadeUpImage> ImagesOfEveryHeight() {
    std::mt19937 random(7);
    std::vector<MadeUpImage> images;
    for (int k = 0; k < 9; ++k) {
        MadeUpImage image{k, k % 3, 6, k + 1, {}};
        image.pixels.resize(std::size_t(image.width * image.height));
        for (std::uint8_t& pixel : image.pixels) {
            pixel = std::uint8_t(random() % 16);
        }
        images.push_back(image);
    }
    return images;
}

// giflib's indices of a frame's image data on its own, in a file that says
// the rows are stored top to bottom.
Bytes IndicesAsGiflibReadsThem(const GifFrame& frame, const path& file) {
    const int width = RectWidth(frame.rect);
    const int height = RectHeight(frame.rect);
    Bytes bytes{'G', 'I', 'F', '8', '9', 'a'};
    const auto word = [&bytes](int value) {
        bytes.push_back(std::uint8_t(value));
        bytes.push_back(std::uint8_t(value >> 8));
    };
    word(width);
    word(height);
    bytes.insert(bytes.end(), {0xF7, 0, 0});
    for (int i = 0; i < 256; ++i) {
        bytes.insert(bytes.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
    }
    bytes.push_back(0x2C);
    word(0);
    word(0);
    word(width);
    word(height);
    bytes.push_back(0);  // no local table, not interlaced
    bytes.insert(bytes.end(), frame.encoded.begin(), frame.encoded.end());
    bytes.push_back(0x3B);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const corpus::ReferenceGif gif = corpus::ReadReference(file);
    if (!gif.complete || gif.gif->ImageCount != 1) {
        return {};
    }
    const GifByteType* raster = gif.gif->SavedImages[0].RasterBits;
    return Bytes(raster, raster + std::size_t(width) * std::size_t(height));
}

Bytes RasterOf(GifFileType* gif, int index) {
    const SavedImage& image = gif->SavedImages[index];
    return Bytes(image.RasterBits,
                 image.RasterBits + long(image.ImageDesc.Width) * image.ImageDesc.Height);
}

class Deinterlacing : public edit_test::EditTest {
protected:
    void SetUp() override {
        edit_test::EditTest::SetUp();
        JTempMark();
        InitOutput();
    }
    void TearDown() override {
        JTempRelease();
        edit_test::EditTest::TearDown();
    }

    // Deinterlaces every frame of `original`, checks each frame's new image
    // data against giflib's reading of the original image, then saves the
    // document and checks that giflib shows the same animation, without
    // any interlaced image.
    void DeinterlaceAndCompare(const path& original) {
        const corpus::ReferenceGif before = corpus::ReadReference(original);
        ASSERT_TRUE(before.complete) << before.error;
        corpus::AlertRecorder alerts(true);
        corpus::Document document = corpus::OpenDocument(original);
        ASSERT_TRUE(document) << alerts.All();
        ASSERT_EQ(document->frames.size(), std::size_t(before.gif->ImageCount));

        EXPECT_TRUE(DeinterlaceFrames(*document, 0, std::int32_t(document->frames.size()) - 1));
        for (std::size_t i = 0; i < document->frames.size(); ++i) {
            const GifFrame& frame = *document->frames[i];
            EXPECT_FALSE(frame.interlaced) << "frame " << i;
            EXPECT_EQ(IndicesAsGiflibReadsThem(frame, scratch_.path() / "image.gif"),
                      RasterOf(before.gif.get(), int(i)))
                << original.filename() << " frame " << i;
        }

        const path saved = scratch_.path() / "saved.gif";
        FileSpec* spec = JFileSpecFromPath(saved.c_str());
        EXPECT_TRUE(CompressDocument(*document, spec, true, CompressionOptions{})) << alerts.All();
        JFileSpecFree(spec);
        const corpus::ReferenceGif after = corpus::ReadReference(saved);
        ASSERT_TRUE(after.complete) << after.error;
        for (int i = 0; i < after.gif->ImageCount; ++i) {
            EXPECT_FALSE(after.gif->SavedImages[i].ImageDesc.Interlace) << "image " << i;
        }
        const std::string difference =
            corpus::AnimationDifference(after.gif.get(), before.gif.get());
        EXPECT_TRUE(difference.empty()) << original.filename() << ": " << difference;
    }

    corpus::ScratchDirectory scratch_;
};

TEST_F(Deinterlacing, MadeUpInterlacedFramesOfEveryHeightKeepTheirPixels) {
    const path original = scratch_.path() / "interlaced.gif";
    const std::vector<MadeUpImage> images = ImagesOfEveryHeight();
    ASSERT_TRUE(WriteInterlacedGif(original, 20, 12, images));
    // giflib reads back what it was given: the file is interlaced as meant.
    const corpus::ReferenceGif written = corpus::ReadReference(original);
    ASSERT_TRUE(written.complete) << written.error;
    for (std::size_t i = 0; i < images.size(); ++i) {
        ASSERT_TRUE(written.gif->SavedImages[i].ImageDesc.Interlace);
        ASSERT_EQ(RasterOf(written.gif.get(), int(i)), images[i].pixels) << "image " << i;
    }
    DeinterlaceAndCompare(original);
    ASSERT_EQ(edit_test::gProgress.size(), 1u);
    EXPECT_EQ(edit_test::gProgress[0].text, "Deinterlacing Frames");
    EXPECT_EQ(edit_test::gProgress[0].total, 9u);
}

TEST_F(Deinterlacing, InterlacedCorpusFilesKeepTheirPixels) {
    SKIP_WITHOUT_CORPUS();
    const path root = corpus::CorpusRoot();
    for (const char* name :
         {"conformance/peterdn/animated_loop_interlaced.gif", "conformance/pygif/interlace.gif",
          "real/pil-first_frame_transparency.gif", "real/pil-hopper_resized.gif",
          "real/pil-text_mono.gif"}) {
        SCOPED_TRACE(name);
        DeinterlaceAndCompare(root / name);
    }
}

TEST_F(Deinterlacing, FramesStoredTopToBottomAreLeftUntouched) {
    corpus::AlertRecorder alerts;
    corpus::Document document =
        corpus::OpenDocument(path(PINDLE_SOURCE_DIR) / "samples" / "bouncing-ball.gif");
    ASSERT_TRUE(document) << alerts.All();
    std::vector<Bytes> before;
    for (const auto& frame : document->frames) {
        ASSERT_FALSE(frame->interlaced);
        before.push_back(frame->encoded);
    }
    EXPECT_TRUE(DeinterlaceFrames(*document, 0, std::int32_t(document->frames.size()) - 1));
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(document->frames[i]->encoded, before[i]) << "frame " << i;
    }
}

TEST_F(Deinterlacing, ImageDataThatCannotBeDecodedIsLeftAsItWas) {
    auto document = edit_test::DocumentWithDelays({10});
    GifFrame& frame = *document->frames[0];
    frame.rect = FrameRect{0, 0, 4, 4};
    frame.interlaced = true;
    frame.encoded = {2, 1, 0xFF, 0};  // a code beyond the table at once
    EXPECT_FALSE(DeinterlaceFrames(*document, 0, 0));
    EXPECT_TRUE(frame.interlaced);
    EXPECT_EQ(frame.encoded, (Bytes{2, 1, 0xFF, 0}));
}

}  // namespace
