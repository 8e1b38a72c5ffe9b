// Helpers shared by the codec tests: hand-built LZW streams, a plain code
// parser that follows the decoder's width rules, and encoding or decoding a
// rectangle of bytes in one call.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

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
    PixelMap map{std::uint16_t(width), std::uint16_t(height),
                 const_cast<std::uint8_t*>(pixels.data())};
    FrameImage record{{0, 0, std::int16_t(height), std::int16_t(width)}, 0, nullptr};
    EncodeFrameImage(map, record, interlaced, colours);
    Bytes out(record.encodedImage, record.encodedImage + record.encodedSize);
    FreeEncodedImage(record);
    return out;
}

// Decodes an encoded image into width x height bytes first filled with `fill`.
inline DecodeResult DecodePixels(const Bytes& image, int width, int height, bool interlaced,
                                 Bytes& pixels, std::uint8_t fill = 0xEE) {
    pixels.assign(std::size_t(width) * std::size_t(height), fill);
    PixelMap map{std::uint16_t(width), std::uint16_t(height), pixels.data()};
    Bytes copy = image;
    FrameImage record{
        {0, 0, std::int16_t(height), std::int16_t(width)}, std::uint32_t(copy.size()), copy.data()};
    return DecodeFrameImage(map, record, interlaced);
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
