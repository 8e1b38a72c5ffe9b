// Every image of the shared corpus through our decoder: the pixels must match
// giflib's for files giflib reads, and damaged files must decode without
// touching memory outside their rectangle.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/app/codec/codec_test_support.h"
#include "tests/corpus_files.h"

namespace {

namespace fs = std::filesystem;

// One image found by walking a file's blocks: its rectangle and image data.
struct FoundImage {
    int left, top, width, height;
    bool interlaced;
    Bytes data;  // minimum code size, sub-blocks, terminator
};

class BlockWalker {
public:
    explicit BlockWalker(Bytes file) : file_(std::move(file)) {}

    // All images up to the trailer or the first damage.
    std::vector<FoundImage> Images() {
        std::vector<FoundImage> images;
        if (!Skip(6) || !Has(7)) {
            return images;
        }
        const std::uint8_t packed = file_[at_ + 4];
        at_ += 7;
        if ((packed & 0x80) && !Skip(3u << ((packed & 7) + 1))) {
            return images;
        }
        while (Has(1)) {
            const std::uint8_t introducer = file_[at_++];
            if (introducer == 0x21) {
                if (!Skip(1) || !SkipSubBlocks()) {
                    break;
                }
            } else if (introducer == 0x2C) {
                FoundImage image{};
                if (!ReadImage(image)) {
                    break;
                }
                images.push_back(std::move(image));
            } else {
                break;
            }
        }
        return images;
    }

private:
    bool Has(std::size_t n) const { return file_.size() - at_ >= n; }
    bool Skip(std::size_t n) {
        if (!Has(n)) {
            return false;
        }
        at_ += n;
        return true;
    }
    bool SkipSubBlocks() {
        while (Has(1)) {
            const std::uint8_t length = file_[at_++];
            if (length == 0) {
                return true;
            }
            if (!Skip(length)) {
                return false;
            }
        }
        return false;
    }
    int Number(std::size_t offset) const {
        return file_[at_ + offset] | file_[at_ + offset + 1] << 8;
    }

    bool ReadImage(FoundImage& image) {
        if (!Has(9)) {
            return false;
        }
        image.left = Number(0);
        image.top = Number(2);
        image.width = Number(4);
        image.height = Number(6);
        const std::uint8_t packed = file_[at_ + 8];
        image.interlaced = packed & 0x40;
        at_ += 9;
        if ((packed & 0x80) && !Skip(3u << ((packed & 7) + 1))) {
            return false;
        }
        const std::size_t start = at_;
        if (!Skip(1) || !SkipSubBlocks()) {
            // Damaged data: hand the decoder everything that is left.
            at_ = file_.size();
        }
        image.data.assign(file_.begin() + long(start), file_.begin() + long(at_));
        return true;
    }

    Bytes file_;
    std::size_t at_ = 0;
};

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Decodes into a map one pixel larger than the rectangle on every side, so
// that any stray write shows up in the frame around it.
DecodeResult DecodeFramed(const FoundImage& image, Bytes& inside) {
    const int mapWidth = image.width + 2, mapHeight = image.height + 2;
    PixelMap pixelMap = MapOfBytes(mapWidth, mapHeight,
                                   Bytes(std::size_t(mapWidth) * std::size_t(mapHeight), 0xEE));
    FrameImage record{{1, 1, 1 + image.height, 1 + image.width}, image.data};
    DecodeResult result =
        DecodeFrameImage(pixelMap, record, image.interlaced, IndexPlacement{IdentityTable()});
    inside.clear();
    for (int y = 0; y < mapHeight; ++y) {
        for (int x = 0; x < mapWidth; ++x) {
            const Pixel p = *pixelMap.At(x, y);
            if (y == 0 || x == 0 || y == mapHeight - 1 || x == mapWidth - 1) {
                EXPECT_EQ(p, 0xEE) << "written outside the rectangle at " << x << "," << y;
            } else {
                inside.push_back(p);
            }
        }
    }
    return result;
}

bool SmallEnough(const FoundImage& image) {
    return long(image.width) * image.height <= 4'000'000 && image.width < 32000 &&
           image.height < 32000;
}

TEST(CorpusDecode, ImagesOfWellFormedFilesMatchGiflib) {
    std::vector<fs::path> files = CorpusGifFiles("real");
    std::vector<fs::path> conformance = CorpusGifFiles("conformance");
    files.insert(files.end(), conformance.begin(), conformance.end());
    if (files.empty()) {
        GTEST_SKIP() << "corpus not found at " PINDLE_CORPUS_DIR;
    }
    int compared = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        const Bytes file = ReadFile(path);
        MemoryReader reader{&file, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
        if (!gif) {
            continue;
        }
        if (DGifSlurp(gif) == GIF_OK) {
            std::vector<FoundImage> images = BlockWalker(file).Images();
            for (std::size_t i = 0; i < images.size() && int(i) < gif->ImageCount; ++i) {
                const FoundImage& image = images[i];
                if (!SmallEnough(image) || image.width == 0 || image.height == 0) {
                    continue;
                }
                Bytes ours;
                EXPECT_NE(DecodeFramed(image, ours), DecodeResult::Failed) << "image " << i;
                const GifByteType* theirs = gif->SavedImages[i].RasterBits;
                EXPECT_TRUE(std::equal(ours.begin(), ours.end(), theirs)) << "image " << i;
                ++compared;
            }
        }
        DGifCloseFile(gif, &error);
    }
    EXPECT_GT(compared, 50);
}

TEST(CorpusDecode, DamagedFilesNeverWriteOutsideTheirRectangle) {
    const std::vector<fs::path> files = CorpusGifFiles("damaged");
    if (files.empty()) {
        GTEST_SKIP() << "corpus not found at " PINDLE_CORPUS_DIR;
    }
    int decoded = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        for (const FoundImage& image : BlockWalker(ReadFile(path)).Images()) {
            if (!SmallEnough(image)) {
                continue;
            }
            Bytes inside;
            DecodeFramed(image, inside);
            ++decoded;
        }
    }
    EXPECT_GT(decoded, 100);
}

}  // namespace
