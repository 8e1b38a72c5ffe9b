#include "app/codec/image_decode.h"

#include <cstring>
#include <vector>

#include "app/codec/gif_input.h"
#include "app/codec/row_order.h"

namespace {

void StorePixels(const IndexPlacement& place, Pixel* destination, std::uint16_t count,
                 const std::uint8_t* row) {
    if (place.highByte) {
        for (std::uint16_t x = 0; x < count; ++x) {
            destination[x] = Pixel(destination[x] | row[x] << 8);
        }
    } else if (place.changes) {
        for (std::uint16_t x = 0; x < count; ++x) {
            if (place.skipTransparent && row[x] == place.transparentIndex) {
                continue;
            }
            const Pixel pixel = place.table[row[x]];
            place.changes[pixel] += destination[x] != pixel;
            destination[x] = pixel;
        }
    } else if (place.skipTransparent) {
        for (std::uint16_t x = 0; x < count; ++x) {
            if (row[x] != place.transparentIndex) {
                destination[x] = place.table[row[x]];
            }
        }
    } else {
        for (std::uint16_t x = 0; x < count; ++x) {
            destination[x] = place.table[row[x]];
        }
    }
}

// Runs the decoder over the record's rows; `store(row index, count, bytes)`
// takes each row in storage order. Rows beyond the last one of the
// rectangle are surplus and ignored.
template <typename Store>
DecodeResult DecodeRows(const FrameImage& image, bool interlaced, Store store) {
    const FrameRect& rect = image.rect;
    RowOrder order = RowOrder::Start(rect.top, rect.bottom, interlaced);
    RowSink sink = [&order, &store](std::uint16_t count, const std::uint8_t* row) {
        if (order.HasRow()) {
            store(order.row, count, row);
            order.Advance();
        }
        return true;
    };
    if (!image.encoded.empty()) {
        InputFromMemory(std::uint32_t(image.encoded.size()), image.encoded.data());
    }
    std::vector<std::uint8_t> rowBuffer(std::size_t(RectWidth(rect)));
    DecodeResult result = LzwDecode(std::uint16_t(RectWidth(rect)), std::uint16_t(RectHeight(rect)),
                                    rowBuffer.data(), sink);
    if (!image.encoded.empty()) {
        EndInputFromMemory();
    }
    return result;
}

bool WellFormed(const FrameRect& rect) {
    return rect.bottom >= rect.top && rect.right >= rect.left && RectWidth(rect) <= 0xFFFF &&
           RectHeight(rect) <= 0xFFFF;
}

}  // namespace

DecodeResult DecodeFrameImage(PixelMap& map, const FrameImage& image, bool interlaced,
                              const IndexPlacement& placement) {
    if (!RectFitsMap(image.rect, map) || !WellFormed(image.rect)) {
        return DecodeResult::Failed;
    }
    const int left = image.rect.left;
    return DecodeRows(image, interlaced, [&](int y, std::uint16_t count, const std::uint8_t* row) {
        StorePixels(placement, map.At(left, y), count, row);
    });
}

DecodeResult DecodeIndices(const FrameImage& image, bool interlaced, std::uint8_t* indices) {
    if (!WellFormed(image.rect)) {
        return DecodeResult::Failed;
    }
    const int top = image.rect.top;
    const std::size_t width = std::size_t(RectWidth(image.rect));
    return DecodeRows(image, interlaced, [&](int y, std::uint16_t count, const std::uint8_t* row) {
        std::memcpy(indices + std::size_t(y - top) * width, row, count);
    });
}
