#include "app/codec/image_encode.h"

#include <algorithm>
#include <bit>

#include "app/codec/lzw_encode.h"
#include "app/codec/output_stream.h"

namespace {

bool omitFrameTerminators = false;

constexpr std::uint8_t kBlockTerminator = 0x00;

}  // namespace

void SetOmitFrameTerminators(bool omit) {
    omitFrameTerminators = omit;
}

bool OmitFrameTerminators() {
    return omitFrameTerminators;
}

int BitsForColours(int colourCount) {
    if (colourCount < 3) {
        return 1;
    }
    return std::bit_width(unsigned(colourCount - 1));
}

void EncodeFrameImageWith(FrameImage& record, bool interlaced, std::uint32_t stride,
                          int colourCount, const RowFiller& filler) {
    const std::uint32_t width = std::uint32_t(std::max(RectWidth(record.rect), 0));
    const std::uint32_t height = std::uint32_t(std::max(RectHeight(record.rect), 0));
    PixelSource source(record.rect, stride, interlaced, filler);
    ResetOutput();
    // GIF allows no minimum code size below 2, even for two colours.
    const int codeSize = std::max(BitsForColours(colourCount), 2);
    WriteOutputByte(std::uint8_t(codeSize));
    LzwEncode(codeSize + 1, width * height, !omitFrameTerminators, source);
    WriteOutputByte(kBlockTerminator);
    record.encodedSize = OutputSize();
    record.encodedImage = CopyOutput();
}

bool EncodeFrameImage(const PixelMap& map, FrameImage& record, bool interlaced, int colourCount) {
    if (!RectFitsMap(record.rect, map)) {
        return false;
    }
    EncodeFrameImageWith(record, interlaced, map.width, colourCount, CopyRowsOf(map));
    return true;
}
