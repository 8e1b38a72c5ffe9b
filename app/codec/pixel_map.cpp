#include "app/codec/pixel_map.h"

#include <algorithm>
#include <cstring>

#include "framework/core/memory.h"

namespace {

std::size_t PixelCount(std::uint16_t width, std::uint16_t height) {
    return std::size_t{width} * height;
}

// The part of the rectangle inside the map; empty rectangles stay empty.
FrameRect ClipToMap(const FrameRect& rect, const PixelMap& map) {
    FrameRect clipped = rect;
    clipped.top = std::max<std::int16_t>(clipped.top, 0);
    clipped.left = std::max<std::int16_t>(clipped.left, 0);
    clipped.bottom = static_cast<std::int16_t>(std::min<int>(clipped.bottom, map.height));
    clipped.right = static_cast<std::int16_t>(std::min<int>(clipped.right, map.width));
    return clipped;
}

std::uint8_t* RowStart(const PixelMap& map, const FrameRect& rect, int row) {
    return map.pixels + std::size_t(row) * map.width + rect.left;
}

// Calls visit(row pointer, row length) for each row of the clipped rectangle.
template <typename Visit>
void ForEachRow(const PixelMap& map, const FrameRect& rect, Visit visit) {
    FrameRect clipped = ClipToMap(rect, map);
    if (RectIsEmpty(clipped)) {
        return;
    }
    for (int row = clipped.top; row < clipped.bottom; ++row) {
        visit(RowStart(map, clipped, row), RectWidth(clipped));
    }
}

}  // namespace

PixelMap* NewPixelMap(std::uint16_t width, std::uint16_t height) {
    auto* map = static_cast<PixelMap*>(JAlloc(sizeof(PixelMap)));
    InitPixelMap(*map, width, height);
    return map;
}

void InitPixelMap(PixelMap& map, std::uint16_t width, std::uint16_t height) {
    map.width = width;
    map.height = height;
    map.pixels = static_cast<std::uint8_t*>(JAlloc(PixelCount(width, height)));
}

void ResizePixelMap(PixelMap& map, std::uint16_t width, std::uint16_t height) {
    map.pixels = static_cast<std::uint8_t*>(JRealloc(map.pixels, PixelCount(width, height)));
    map.width = width;
    map.height = height;
}

void FreePixels(PixelMap& map) {
    JFree(map.pixels);
    map.pixels = nullptr;
}

void FreePixelMap(PixelMap* map) {
    if (map) {
        FreePixels(*map);
        JFree(map);
    }
}

bool RectFitsMap(const FrameRect& rect, const PixelMap& map) {
    return rect.top >= 0 && rect.left >= 0 && rect.bottom >= rect.top && rect.right >= rect.left &&
           rect.bottom <= map.height && rect.right <= map.width;
}

void FillRect(PixelMap& map, std::uint8_t value, const FrameRect& rect) {
    ForEachRow(map, rect, [value](std::uint8_t* row, int length) {
        std::memset(row, value, std::size_t(length));
    });
}

void RemapRect(PixelMap& map, const FrameRect& rect, const std::uint8_t table[256]) {
    ForEachRow(map, rect, [table](std::uint8_t* row, int length) {
        for (int x = 0; x < length; ++x) {
            row[x] = table[row[x]];
        }
    });
}

void CountColours(const PixelMap& map, const FrameRect& rect, int n, std::uint32_t* counts) {
    std::fill(counts, counts + n, 0u);
    ForEachRow(map, rect, [n, counts](const std::uint8_t* row, int length) {
        for (int x = 0; x < length; ++x) {
            if (row[x] < n) {
                ++counts[row[x]];
            }
        }
    });
}

void CountColoursBelow255(const PixelMap& map, const FrameRect& rect, int n,
                          std::uint32_t* counts) {
    CountColours(map, rect, std::min(n, int{kBackgroundPixel}), counts);
    if (n > kBackgroundPixel) {
        counts[kBackgroundPixel] = 0;
    }
}

void CopyRect(const PixelMap& from, PixelMap& to, const FrameRect& rect) {
    if (from.width != to.width || from.height != to.height) {
        return;
    }
    ForEachRow(to, rect, [&from, &to](std::uint8_t* row, int length) {
        std::memcpy(row, from.pixels + (row - to.pixels), std::size_t(length));
    });
}
