#include "app/codec/pixel_map.h"

#include <algorithm>
#include <cstring>

namespace {

// Calls visit(row pointer, row length) for each row of the clipped rectangle;
// stops early when visit returns true, and tells whether it did.
template <typename MapType, typename Visit>
bool ForEachRow(MapType& map, const FrameRect& rect, Visit visit) {
    const FrameRect clipped = ClipToMap(rect, map);
    if (RectIsEmpty(clipped)) {
        return false;
    }
    for (int row = clipped.top; row < clipped.bottom; ++row) {
        if (visit(map.Row(row) + clipped.left, RectWidth(clipped))) {
            return true;
        }
    }
    return false;
}

}  // namespace

FrameRect ClipToMap(const FrameRect& rect, const PixelMap& map) {
    FrameRect clipped = rect;
    clipped.top = std::max(clipped.top, 0);
    clipped.left = std::max(clipped.left, 0);
    clipped.bottom = std::min<std::int64_t>(clipped.bottom, map.height);
    clipped.right = std::min<std::int64_t>(clipped.right, map.width);
    return clipped;
}

void InitPixelMap(PixelMap& map, std::uint32_t width, std::uint32_t height) {
    map.width = width;
    map.height = height;
    map.pixels.assign(std::size_t(width) * height, kBackgroundPixel);
}

void ResizePixelMap(PixelMap& map, std::uint32_t width, std::uint32_t height) {
    map.pixels.resize(std::size_t(width) * height);
    map.width = width;
    map.height = height;
}

void FreePixels(PixelMap& map) {
    map.pixels.clear();
    map.pixels.shrink_to_fit();
}

FrameRect MapRect(const PixelMap& map) {
    return FrameRect{0, 0, std::int32_t(map.height), std::int32_t(map.width)};
}

bool RectFitsMap(const FrameRect& rect, const PixelMap& map) {
    return rect.top >= 0 && rect.left >= 0 && rect.bottom >= rect.top && rect.right >= rect.left &&
           std::int64_t(rect.bottom) <= map.height && std::int64_t(rect.right) <= map.width;
}

void FillRect(PixelMap& map, Pixel value, const FrameRect& rect) {
    ForEachRow(map, rect, [value](Pixel* row, int length) {
        std::fill_n(row, length, value);
        return false;
    });
}

void CopyRect(const PixelMap& from, PixelMap& to, const FrameRect& rect) {
    if (from.width != to.width || from.height != to.height) {
        return;
    }
    ForEachRow(to, rect, [&from, &to](Pixel* row, int length) {
        std::memcpy(row, from.pixels.data() + (row - to.pixels.data()),
                    std::size_t(length) * sizeof(Pixel));
        return false;
    });
}

bool HasBackground(const PixelMap& map, const FrameRect& rect) {
    return ForEachRow(map, rect, [](const Pixel* row, int length) {
        return std::find(row, row + length, kBackgroundPixel) != row + length;
    });
}
