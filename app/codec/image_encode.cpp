#include "app/codec/image_encode.h"

#include <algorithm>
#include <bit>
#include <cstring>

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
                          int colourCount, const RowFiller& filler, LzwChoices choices) {
    const std::uint32_t width = std::uint32_t(std::max(RectWidth(record.rect), 0));
    const std::uint32_t height = std::uint32_t(std::max(RectHeight(record.rect), 0));
    PixelSource source(record.rect, stride, interlaced, filler);
    ResetOutput();
    // GIF allows no minimum code size below 2, even for two colours.
    const int codeSize = std::max(BitsForColours(colourCount), 2);
    WriteOutputByte(std::uint8_t(codeSize));
    LzwEncode(codeSize + 1, width * height, !omitFrameTerminators, source, choices);
    WriteOutputByte(kBlockTerminator);
    record.encoded = CopyOutput();
}

void EncodeIndices(FrameImage& record, bool interlaced, int colourCount,
                   const std::uint8_t* indices, LzwChoices choices) {
    const std::uint32_t width = std::uint32_t(std::max(RectWidth(record.rect), 0));
    const std::uint32_t base =
        std::uint32_t(record.rect.top) * width + std::uint32_t(record.rect.left);
    EncodeFrameImageWith(
        record, interlaced, width, colourCount,
        [indices, base](std::uint8_t* row, std::uint32_t count, std::uint32_t offset) {
            std::memcpy(row, indices + (offset - base), count);
        },
        choices);
}
