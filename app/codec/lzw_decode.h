// LZW decoding of one GIF image-data stream (minimum code size byte, data
// sub-blocks, block terminator) read through the buffered input, handing
// every completed row to a row sink.
#pragma once

#include <cstdint>
#include <functional>

enum class DecodeResult : int {
    Decoded = 0,
    Failed = 1,
    DecodedWithExtraData = 2,  // more image data followed the last row and was skipped
};

// Takes (pixel count, row); false aborts the decode. A count below the row
// width comes only with the partial last row of a failed decode.
using RowSink = std::function<bool(std::uint16_t count, const std::uint8_t* row)>;

// rowBuffer holds rowWidth bytes. Rows of zero width hold no pixels, so such
// an image only has its data read up to the terminator. Minimum code sizes
// from 1 to 11 are read, any other fails.
DecodeResult LzwDecode(std::uint16_t rowWidth, std::uint16_t rowCount, std::uint8_t* rowBuffer,
                       const RowSink& sink);

constexpr int kCodeReadFailed = -1;
constexpr int kCodeTerminator = -3;  // a zero-length sub-block was met (and consumed)

// The next code at the decoder's current width, packed least significant bit
// first across sub-blocks.
int ReadCode();
