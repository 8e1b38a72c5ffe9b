// Every minimum code size that other decoders read (1 to 11), checked against
// a plain reference encoder, against giflib where it reads the size, and on
// corpus files written with the largest size.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/codec/codec_test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTableSize = 4096;
constexpr int kLargestCodeWidth = 12;

struct EncodeOptions {
    bool leadingClear = true;
    // Codes written with a full table before a clear code starts a new one;
    // none means the full table is kept to the end.
    std::optional<int> fullTableCodesBeforeClear;
};

struct ReferenceImage {
    Bytes image;  // minimum code size, sub-blocks, terminator
    int fullTableCodes = 0;
    int clearsOfFullTable = 0;
};

// A plain LZW encoder: strings in a map, one entry per code written, codes
// widened once the next entry needs more bits, at most 4096 entries. Symbols
// are literal codes, so they may exceed a byte.
ReferenceImage ReferenceEncode(const std::vector<int>& symbols, int minimumCodeSize,
                               const EncodeOptions& options = {}) {
    const int clear = 1 << minimumCodeSize;
    const int startWidth = minimumCodeSize + 1;
    std::map<std::pair<int, int>, int> table;
    int next = clear + 2;
    int width = startWidth;
    CodeStream stream;
    ReferenceImage out;
    auto putClear = [&] {
        stream.Put(clear, width);
        table.clear();
        next = clear + 2;
        width = startWidth;
    };
    // Widens once the next free code no longer fits, as decoders expect.
    auto putCode = [&](int code) {
        stream.Put(code, width);
        if (next >= 1 << width && width < kLargestCodeWidth) {
            ++width;
        }
    };
    if (options.leadingClear) {
        putClear();
    }
    int fullTableRun = 0;
    int prefix = symbols.front();
    for (std::size_t i = 1; i < symbols.size(); ++i) {
        const auto found = table.find({prefix, symbols[i]});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        putCode(prefix);
        if (next < kTableSize) {
            table[{prefix, symbols[i]}] = next++;
        } else {
            ++out.fullTableCodes;
            if (++fullTableRun == options.fullTableCodesBeforeClear) {
                putClear();
                fullTableRun = 0;
                ++out.clearsOfFullTable;
            }
        }
        prefix = symbols[i];
    }
    putCode(prefix);
    stream.Put(clear + 1, width);
    out.image = stream.Image(minimumCodeSize);
    return out;
}

// What the decoder must give for each symbol: literals beyond a byte are 0.
Bytes ExpectedPixels(const std::vector<int>& symbols) {
    Bytes pixels;
    for (int symbol : symbols) {
        pixels.push_back(symbol <= 0xFF ? std::uint8_t(symbol) : 0);
    }
    return pixels;
}

// Mostly byte values, some above (when the size allows), and unless told
// otherwise many repeats of earlier stretches so that codes stand for long
// strings. Without repeats, codes stay short enough for 100000 symbols to
// fill the table even with two literals.
std::vector<int> MixedSymbols(int count, int minimumCodeSize, std::uint32_t seed,
                              bool repeats = true) {
    const int literals = 1 << minimumCodeSize;
    std::uint32_t state = seed;
    auto random = [&state](int below) {
        state = state * 1664525u + 1013904223u;
        return int((state >> 8) % std::uint32_t(below));
    };
    std::vector<int> symbols;
    while (int(symbols.size()) < count) {
        if (repeats && symbols.size() > 64 && random(2) == 0) {
            const int length = 1 + random(24);
            const int from = random(int(symbols.size()) - length);
            for (int i = 0; i < length; ++i) {
                symbols.push_back(symbols[std::size_t(from + i)]);
            }
        } else {
            symbols.push_back(random(4) == 0 ? random(literals) : random(std::min(literals, 256)));
        }
    }
    symbols.resize(std::size_t(count));
    return symbols;
}

constexpr int kRowWidth = 100;

// Decodes the symbols' pixels (a multiple of kRowWidth) and expects them all.
void ExpectDecodesTo(const Bytes& image, const std::vector<int>& symbols) {
    Bytes pixels;
    const int rows = int(symbols.size()) / kRowWidth;
    ASSERT_EQ(DecodePixels(image, kRowWidth, rows, false, pixels), DecodeResult::Decoded);
    EXPECT_EQ(pixels, ExpectedPixels(symbols));
}

// The image as the only one of a GIF file with a 256-colour table.
Bytes WrapInGif(const Bytes& image, int width, int height) {
    Bytes file{'G', 'I', 'F', '8', '7', 'a'};
    auto putNumber = [&file](int n) {
        file.push_back(std::uint8_t(n & 0xFF));
        file.push_back(std::uint8_t(n >> 8));
    };
    putNumber(width);
    putNumber(height);
    file.insert(file.end(), {0xF7, 0, 0});
    file.resize(file.size() + 3 * 256);
    file.push_back(0x2C);
    putNumber(0);
    putNumber(0);
    putNumber(width);
    putNumber(height);
    file.push_back(0);
    file.insert(file.end(), image.begin(), image.end());
    file.push_back(0x3B);
    return file;
}

// giflib's pixels for the file, or none when it does not read it.
std::optional<Bytes> GiflibPixels(const Bytes& file) {
    MemoryReader reader{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (!gif) {
        return std::nullopt;
    }
    std::optional<Bytes> pixels;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& saved = gif->SavedImages[0];
        const std::size_t count =
            std::size_t(saved.ImageDesc.Width) * std::size_t(saved.ImageDesc.Height);
        pixels = Bytes(saved.RasterBits, saved.RasterBits + count);
    }
    DGifCloseFile(gif, &error);
    return pixels;
}

TEST(LzwCodeSizes, EveryReadableSizeGivesBackTheEncodedPixels) {
    for (int size = 1; size <= 11; ++size) {
        SCOPED_TRACE(size);
        const std::vector<int> symbols = MixedSymbols(60 * kRowWidth, size, 7u + size);
        const ReferenceImage encoded = ReferenceEncode(symbols, size);
        ASSERT_EQ(encoded.image[0], size);
        ExpectDecodesTo(encoded.image, symbols);
    }
}

TEST(LzwCodeSizes, SizeOneWidensToThreeBitsRightAfterTheFirstCode) {
    // Clear 2 and the first code at 2 bits; the next free code, 4, needs 3
    // bits from then on.
    CodeStream stream;
    stream.Put(2, 2);
    stream.Put(1, 2);
    stream.Put(0, 3);
    stream.Put(4, 3);  // defined by the second code: "1" + "0"
    stream.Put(3, 3);
    Bytes pixels;
    EXPECT_EQ(DecodePixels(stream.Image(1), 4, 1, false, pixels), DecodeResult::Decoded);
    EXPECT_EQ(pixels, (Bytes{1, 0, 1, 0}));
}

TEST(LzwCodeSizes, OneByOneImageWithSizeOne) {
    for (int pixel : {0, 1}) {
        const ReferenceImage encoded = ReferenceEncode({pixel}, 1);
        Bytes pixels;
        EXPECT_EQ(DecodePixels(encoded.image, 1, 1, false, pixels), DecodeResult::Decoded);
        EXPECT_EQ(pixels, (Bytes{std::uint8_t(pixel)}));
    }
}

TEST(LzwCodeSizes, FullTableIsReadAtTwelveBitsWithoutNewEntries) {
    for (int size : {1, 8, 9, 10, 11}) {
        SCOPED_TRACE(size);
        const std::vector<int> symbols = MixedSymbols(1000 * kRowWidth, size, 99u + size, false);
        const ReferenceImage encoded = ReferenceEncode(symbols, size);
        EXPECT_GT(encoded.fullTableCodes, 1000);
        ExpectDecodesTo(encoded.image, symbols);
    }
}

TEST(LzwCodeSizes, ClearCodeAfterFullTableStartsAtTheFirstWidthAgain) {
    for (int size : {1, 2, 10, 11}) {
        SCOPED_TRACE(size);
        const std::vector<int> symbols = MixedSymbols(1000 * kRowWidth, size, 5u + size, false);
        EncodeOptions options;
        options.fullTableCodesBeforeClear = 300;
        const ReferenceImage encoded = ReferenceEncode(symbols, size, options);
        EXPECT_GE(encoded.clearsOfFullTable, 1);
        ExpectDecodesTo(encoded.image, symbols);
    }
}

TEST(LzwCodeSizes, DataWithoutLeadingClearCode) {
    EncodeOptions options;
    options.leadingClear = false;
    for (int size : {1, 2, 8, 9, 10, 11}) {
        SCOPED_TRACE(size);
        const std::vector<int> symbols = MixedSymbols(80 * kRowWidth, size, 31u + size);
        ExpectDecodesTo(ReferenceEncode(symbols, size, options).image, symbols);
    }
}

TEST(LzwCodeSizes, LiteralsBeyondAByteAreColourZero) {
    // Repeats make codes for strings of such literals, mixed with bytes.
    const std::vector<int> symbols{300, 300, 300, 300, 7,    1023, 255, 1023, 255, 1023,
                                   255, 256, 256, 7,   1023, 255,  300, 300,  300, 300};
    const Bytes expected{0, 0, 0, 0, 7, 0, 255, 0, 255, 0, 255, 0, 0, 7, 0, 255, 0, 0, 0, 0};
    EXPECT_EQ(ExpectedPixels(symbols), expected);
    Bytes pixels;
    const int count = int(symbols.size());
    EXPECT_EQ(DecodePixels(ReferenceEncode(symbols, 10).image, count, 1, false, pixels),
              DecodeResult::Decoded);
    EXPECT_EQ(pixels, expected);
    const Bytes nine = ReferenceEncode({511, 256, 255, 511, 256}, 9).image;
    EXPECT_EQ(DecodePixels(nine, 5, 1, false, pixels), DecodeResult::Decoded);
    EXPECT_EQ(pixels, (Bytes{0, 0, 255, 0, 0}));
}

TEST(LzwCodeSizes, MatchesGiflibForSizesItReads) {
    for (int size = 1; size <= 8; ++size) {
        for (bool leadingClear : {true, false}) {
            SCOPED_TRACE(testing::Message() << "size " << size << ", clear " << leadingClear);
            const std::vector<int> symbols = MixedSymbols(300 * kRowWidth, size, 11u + size);
            EncodeOptions options;
            options.leadingClear = leadingClear;
            const Bytes image = ReferenceEncode(symbols, size, options).image;
            const int rows = int(symbols.size()) / kRowWidth;
            const std::optional<Bytes> theirs = GiflibPixels(WrapInGif(image, kRowWidth, rows));
            ASSERT_TRUE(theirs.has_value());
            Bytes ours;
            ASSERT_EQ(DecodePixels(image, kRowWidth, rows, false, ours), DecodeResult::Decoded);
            EXPECT_EQ(ours, *theirs);
        }
    }
}

// The first image of a well-formed file.
struct FirstImage {
    int width = 0;
    int height = 0;
    Bytes colourTable;  // the image's own, else the global one
    Bytes data;         // minimum code size, sub-blocks, terminator
};

std::optional<FirstImage> ReadFirstImage(const Bytes& file) {
    std::size_t at = 13;
    auto tableBytes = [](std::uint8_t packed) {
        return (packed & 0x80) ? std::size_t(3) << ((packed & 7) + 1) : 0;
    };
    auto skipSubBlocks = [&file, &at] {
        while (at < file.size() && file[at] != 0) {
            at += 1 + file[at];
        }
        ++at;
    };
    if (file.size() < at) {
        return std::nullopt;
    }
    FirstImage image;
    const std::size_t globalTable = tableBytes(file[10]);
    if (file.size() < at + globalTable) {
        return std::nullopt;
    }
    image.colourTable.assign(file.begin() + 13, file.begin() + long(13 + globalTable));
    at += globalTable;
    while (at + 10 < file.size() && file[at] == 0x21) {
        at += 2;
        skipSubBlocks();
    }
    if (at + 10 >= file.size() || file[at] != 0x2C) {
        return std::nullopt;
    }
    image.width = file[at + 5] | file[at + 6] << 8;
    image.height = file[at + 7] | file[at + 8] << 8;
    const std::size_t localTable = tableBytes(file[at + 9]);
    at += 10;
    if (localTable > 0) {
        if (file.size() < at + localTable) {
            return std::nullopt;
        }
        image.colourTable.assign(file.begin() + long(at), file.begin() + long(at + localTable));
        at += localTable;
    }
    const std::size_t start = at++;
    skipSubBlocks();
    if (at > file.size()) {
        return std::nullopt;
    }
    image.data.assign(file.begin() + long(start), file.begin() + long(at));
    return image;
}

Bytes ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The expected screen of the conformance test, as 8-bit RGBA.
void ExpectColoursMatch(const FirstImage& image, const Bytes& pixels, const fs::path& rgbaPath) {
    const Bytes rgba = ReadWholeFile(rgbaPath);
    ASSERT_EQ(rgba.size(), pixels.size() * 4);
    int mismatches = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::size_t entry = 3 * std::size_t(pixels[i]);
        const bool same = entry + 2 < image.colourTable.size() &&
                          image.colourTable[entry] == rgba[4 * i] &&
                          image.colourTable[entry + 1] == rgba[4 * i + 1] &&
                          image.colourTable[entry + 2] == rgba[4 * i + 2];
        mismatches += same ? 0 : 1;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(LzwCodeSizes, CorpusImagesWithSizeElevenDecode) {
    const fs::path corpus(PINDLE_CORPUS_DIR);
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "corpus not found at " PINDLE_CORPUS_DIR;
    }
    const fs::path maxCodes = corpus / "conformance/pygif/max-codes.gif";
    for (const fs::path& path : {corpus / "real/pil-issue_2811.gif", maxCodes}) {
        SCOPED_TRACE(path.string());
        ASSERT_TRUE(fs::exists(path));
        const Bytes file = ReadWholeFile(path);
        const std::optional<FirstImage> image = ReadFirstImage(file);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->data[0], 11);
        Bytes ours;
        EXPECT_EQ(DecodePixels(image->data, image->width, image->height, false, ours),
                  DecodeResult::Decoded);
        if (const std::optional<Bytes> theirs = GiflibPixels(file)) {
            EXPECT_EQ(ours, *theirs);
        } else if (path == maxCodes) {
            // giflib refuses sizes above 8; the suite's expected screen stands in.
            ExpectColoursMatch(*image, ours, corpus / "conformance/pygif/random-image.rgba");
        }
    }
}

}  // namespace
