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
        if (visit(map.At(clipped.left, row), RectWidth(clipped))) {
            return true;
        }
    }
    return false;
}

}  // namespace

FrameRect ClipToMap(const FrameRect& rect, const PixelMap& map) {
    const FrameRect whole = MapRect(map);
    return FrameRect{std::max(rect.top, whole.top), std::max(rect.left, whole.left),
                     std::min(rect.bottom, whole.bottom), std::min(rect.right, whole.right)};
}

void InitPixelMap(PixelMap& map, const FrameRect& area) {
    ResizePixelMap(map, area);
    std::fill(map.pixels.begin(), map.pixels.end(), kBackgroundPixel);
}

void InitPixelMap(PixelMap& map, std::uint32_t width, std::uint32_t height) {
    InitPixelMap(map, FrameRect{0, 0, std::int32_t(height), std::int32_t(width)});
}

void ResizePixelMap(PixelMap& map, const FrameRect& area) {
    const bool empty = RectIsEmpty(area);
    map.left = area.left;
    map.top = area.top;
    map.width = empty ? 0 : std::uint32_t(RectWidth(area));
    map.height = empty ? 0 : std::uint32_t(RectHeight(area));
    map.pixels.resize(std::size_t(map.width) * map.height);
}

void ResizePixelMap(PixelMap& map, std::uint32_t width, std::uint32_t height) {
    ResizePixelMap(map, FrameRect{0, 0, std::int32_t(height), std::int32_t(width)});
}

void FreePixels(PixelMap& map) {
    map.pixels.clear();
    map.pixels.shrink_to_fit();
}

FrameRect MapRect(const PixelMap& map) {
    return FrameRect{map.top, map.left, std::int32_t(std::int64_t(map.top) + map.height),
                     std::int32_t(std::int64_t(map.left) + map.width)};
}

bool RectFitsMap(const FrameRect& rect, const PixelMap& map) {
    if (rect.bottom < rect.top || rect.right < rect.left) {
        return false;
    }
    if (RectIsEmpty(rect)) {
        return true;
    }
    const FrameRect whole = MapRect(map);
    return rect.top >= whole.top && rect.left >= whole.left && rect.bottom <= whole.bottom &&
           rect.right <= whole.right;
}

FrameRect RectUnion(const FrameRect& a, const FrameRect& b) {
    if (RectIsEmpty(a)) {
        return b;
    }
    if (RectIsEmpty(b)) {
        return a;
    }
    return FrameRect{std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
                     std::max(a.right, b.right)};
}

void FillRect(PixelMap& map, Pixel value, const FrameRect& rect) {
    ForEachRow(map, rect, [value](Pixel* row, int length) {
        std::fill_n(row, length, value);
        return false;
    });
}

void CopyRect(const PixelMap& from, PixelMap& to, const FrameRect& rect) {
    if (!(MapRect(from) == MapRect(to))) {
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
