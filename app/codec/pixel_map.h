// Rectangles and one-byte-per-pixel maps of colour indices. The canvas of a
// document is a pixel map; the value 255 in it means background, nothing drawn.
#pragma once

#include <cstdint>

constexpr std::uint8_t kBackgroundPixel = 255;

// Bottom and right are exclusive: bottom = top + height, right = left + width.
struct FrameRect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};

inline int RectWidth(const FrameRect& rect) {
    return rect.right - rect.left;
}
inline int RectHeight(const FrameRect& rect) {
    return rect.bottom - rect.top;
}
inline bool RectIsEmpty(const FrameRect& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}
inline bool operator==(const FrameRect& a, const FrameRect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

// Width x height bytes, row after row; the row stride is always the width.
struct PixelMap {
    std::uint16_t width;
    std::uint16_t height;
    std::uint8_t* pixels;
};

PixelMap* NewPixelMap(std::uint16_t width, std::uint16_t height);
void InitPixelMap(PixelMap& map, std::uint16_t width, std::uint16_t height);
// The old rows are not laid out anew: the contents are meaningless afterwards.
void ResizePixelMap(PixelMap& map, std::uint16_t width, std::uint16_t height);
void FreePixels(PixelMap& map);
void FreePixelMap(PixelMap* map);

// True when the rectangle is well formed and lies inside the map.
bool RectFitsMap(const FrameRect& rect, const PixelMap& map);

// The rectangle operations below act only on the part of the rectangle that
// lies inside the map.
void FillRect(PixelMap& map, std::uint8_t value, const FrameRect& rect);
void RemapRect(PixelMap& map, const FrameRect& rect, const std::uint8_t table[256]);
// counts[0..n-1] := how many pixels of the rectangle hold each value below n.
void CountColours(const PixelMap& map, const FrameRect& rect, int n, std::uint32_t* counts);
// The same, leaving out background pixels (255).
void CountColoursBelow255(const PixelMap& map, const FrameRect& rect, int n, std::uint32_t* counts);

// Copies the rectangle of one map into the same place of another map of the
// same size.
void CopyRect(const PixelMap& from, PixelMap& to, const FrameRect& rect);
