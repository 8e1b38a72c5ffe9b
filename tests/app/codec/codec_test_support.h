// Helpers shared by the codec tests: hand-built LZW streams, a plain code
// parser that follows the decoder's width rules, and encoding or decoding a
// rectangle of bytes in one call.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/codec/document.h"
#include "app/codec/frame_image.h"
#include "app/codec/gif_input.h"
#include "app/codec/image_decode.h"
#include "app/codec/image_encode.h"
#include "app/codec/lzw_decode.h"

using Bytes = std::vector<std::uint8_t>;

// Packs codes of given widths least significant bit first, then wraps the
// data in sub-blocks after a minimum code size byte.
class CodeStream {
public:
    void Put(int code, int width) {
        for (int bit = 0; bit < width; ++bit) {
            if (bitCount_ % 8 == 0) {
                data_.push_back(0);
            }
            if ((code >> bit) & 1) {
                data_.back() |= std::uint8_t(1 << (bitCount_ % 8));
            }
            ++bitCount_;
        }
    }

    // minimum code size, the data in sub-blocks of up to 255 bytes, and the
    // block terminator unless told otherwise.
    Bytes Image(int minimumCodeSize, bool terminator = true) const {
        Bytes out{std::uint8_t(minimumCodeSize)};
        for (std::size_t at = 0; at < data_.size(); at += 255) {
            std::size_t part = std::min<std::size_t>(255, data_.size() - at);
            out.push_back(std::uint8_t(part));
            out.insert(out.end(), data_.begin() + long(at), data_.begin() + long(at + part));
        }
        if (terminator) {
            out.push_back(0);
        }
        return out;
    }

private:
    Bytes data_;
    int bitCount_ = 0;
};

// One code as found in an encoded image.
struct ParsedCode {
    int code;
    int width;
    long bitEnd;  // bit position just after the code
};

// The codes of an encoded image in order, reading widths the way a decoder
// does, up to and including the end code or until `pixelCount` pixels are
// covered and the next code is not the end code.
struct ParsedImage {
    int minimumCodeSize = 0;
    std::vector<ParsedCode> codes;
    bool endCode = false;
    long dataBits = 0;
    std::vector<std::uint8_t> subBlockLengths;
};

inline ParsedImage ParseImage(const Bytes& image, long pixelCount) {
    ParsedImage parsed;
    parsed.minimumCodeSize = image[0];
    Bytes data;
    std::size_t at = 1;
    while (at < image.size() && image[at] != 0) {
        parsed.subBlockLengths.push_back(image[at]);
        data.insert(data.end(), image.begin() + long(at + 1),
                    image.begin() + long(at + 1 + image[at]));
        at += 1 + image[at];
    }
    parsed.dataBits = long(data.size()) * 8;
    const int clear = 1 << parsed.minimumCodeSize;
    int width = parsed.minimumCodeSize + 1;
    int next = clear + 2;
    std::vector<long> lengths(4096, 1);
    long bit = 0;
    long pixels = 0;
    bool afterClear = true;
    int previous = 0;
    auto read = [&](int& code) {
        if (bit + width > parsed.dataBits) {
            return false;
        }
        code = 0;
        for (int i = 0; i < width; ++i, ++bit) {
            code |= ((data[std::size_t(bit / 8)] >> (bit % 8)) & 1) << i;
        }
        return true;
    };
    int code = 0;
    while (read(code)) {
        parsed.codes.push_back({code, width, bit});
        if (code == clear + 1 && pixels >= pixelCount) {
            parsed.endCode = true;
            break;
        }
        if (pixels >= pixelCount) {
            parsed.codes.pop_back();
            break;
        }
        if (code == clear) {
            width = parsed.minimumCodeSize + 1;
            next = clear + 2;
            afterClear = true;
            continue;
        }
        long length = code < next ? (code >= clear + 2 ? lengths[std::size_t(code)] : 1)
                                  : lengths[std::size_t(previous)] + 1;
        pixels += length;
        if (!afterClear && next < 4096) {
            lengths[std::size_t(next)] = lengths[std::size_t(previous)] + 1;
            ++next;
        }
        if (afterClear) {
            afterClear = false;
        } else if (next >= (1 << width) && width < 12) {
            ++width;
        }
        previous = code;
    }
    return parsed;
}

// Encodes width x height bytes (row after row) as one image record.
inline Bytes EncodePixels(const Bytes& pixels, int width, int height, int colours,
                          bool interlaced) {
    FrameImage record{{0, 0, height, width}, {}};
    EncodeIndices(record, interlaced, colours, pixels.data());
    return record.encoded;
}

// Decodes an encoded image into width x height bytes first filled with `fill`.
inline DecodeResult DecodePixels(const Bytes& image, int width, int height, bool interlaced,
                                 Bytes& pixels, std::uint8_t fill = 0xEE) {
    pixels.assign(std::size_t(width) * std::size_t(height), fill);
    FrameImage record{{0, 0, height, width}, image};
    return DecodeIndices(record, interlaced, pixels.data());
}

// The table that makes each index the pixel of the same value.
inline const Pixel* IdentityTable() {
    static const std::vector<Pixel> table = [] {
        std::vector<Pixel> identity(256);
        for (int i = 0; i < 256; ++i) {
            identity[std::size_t(i)] = Pixel(i);
        }
        return identity;
    }();
    return table.data();
}

// A map whose pixels are the given bytes.
inline PixelMap MapOfBytes(int width, int height, const Bytes& bytes) {
    PixelMap map;
    map.width = std::uint32_t(width);
    map.height = std::uint32_t(height);
    map.pixels.assign(bytes.begin(), bytes.end());
    return map;
}

// The map's pixels as bytes (every pixel below 256).
inline Bytes BytesOfMap(const PixelMap& map) {
    Bytes bytes;
    for (Pixel pixel : map.pixels) {
        bytes.push_back(std::uint8_t(pixel));
    }
    return bytes;
}

// Gives the document `count` distinct colours, so that pixel value i is
// colour i and a table of i entries indexes colours 0 to i - 1.
inline void GiveColours(GifDocument& document, int count) {
    for (int i = 0; i < count; ++i) {
        ColourId(document, ::Rgb{std::uint8_t(i), std::uint8_t(i >> 8), std::uint8_t(i * 7)});
    }
}

// Encodes rectangle-sized indices into a frame whose table is colours 0 to
// colours - 1, and counts them as the reader does.
inline void EncodeFrameIndices(GifFrame& frame, const Bytes& pixels, int colours) {
    FrameImage image{frame.rect, {}};
    EncodeIndices(image, frame.interlaced, colours, pixels.data());
    frame.encoded = std::move(image.encoded);
    frame.table.resize(std::size_t(colours));
    for (int i = 0; i < colours; ++i) {
        frame.table[std::size_t(i)] = Pixel(i);
    }
    frame.histogram.assign(std::size_t(colours), 0);
    for (std::uint8_t pixel : pixels) {
        if (pixel < colours) {
            ++frame.histogram[pixel];
        }
    }
    if (frame.transparent && frame.transparentIndex < colours) {
        frame.histogram[frame.transparentIndex] = 0;
    }
}

// giflib's input function over a byte vector.
struct MemoryReader {
    const Bytes* bytes;
    std::size_t at;
};

inline int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t n =
        std::min<std::size_t>(std::size_t(count), reader->bytes->size() - reader->at);
    std::memcpy(buffer, reader->bytes->data() + reader->at, n);
    reader->at += n;
    return int(n);
}
