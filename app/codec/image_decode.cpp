#include "app/codec/image_decode.h"

#include <cstring>
#include <vector>

#include "app/codec/gif_input.h"
#include "app/codec/row_order.h"

namespace {

// Where the rows of one image go.
struct RowPlacement {
    PixelMap& map;
    int left;
    RowOrder order;
    bool skipTransparent;
    std::uint8_t transparentIndex;
};

void StoreRow(const RowPlacement& place, std::uint16_t count, const std::uint8_t* row) {
    std::uint8_t* destination =
        place.map.pixels + std::size_t(place.order.row) * place.map.width + std::size_t(place.left);
    if (!place.skipTransparent) {
        std::memcpy(destination, row, count);
        return;
    }
    for (std::uint16_t x = 0; x < count; ++x) {
        if (row[x] != place.transparentIndex) {
            destination[x] = row[x];
        }
    }
}

// Rows beyond the last one of the rectangle are surplus and ignored.
bool PlaceRow(RowPlacement& place, std::uint16_t count, const std::uint8_t* row) {
    if (place.order.HasRow()) {
        StoreRow(place, count, row);
        place.order.Advance();
    }
    return true;
}

}  // namespace

DecodeResult DecodeFrameImage(PixelMap& map, const FrameImage& image, bool interlaced,
                              bool skipTransparent, std::uint8_t transparentIndex) {
    const FrameRect& rect = image.rect;
    if (!RectFitsMap(rect, map)) {
        return DecodeResult::Failed;
    }
    RowPlacement place{map, rect.left, RowOrder::Start(rect.top, rect.bottom, interlaced),
                       skipTransparent, transparentIndex};
    RowSink sink = [&place](std::uint16_t count, const std::uint8_t* row) {
        return PlaceRow(place, count, row);
    };
    if (image.encodedImage) {
        InputFromMemory(image.encodedSize, image.encodedImage);
    }
    std::vector<std::uint8_t> rowBuffer(std::size_t(RectWidth(rect)));
    DecodeResult result = LzwDecode(std::uint16_t(RectWidth(rect)), std::uint16_t(RectHeight(rect)),
                                    rowBuffer.data(), sink);
    if (image.encodedImage) {
        EndInputFromMemory();
    }
    return result;
}
