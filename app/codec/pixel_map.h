// Rectangles and maps of pixels. A document's canvas is a pixel map whose
// pixels name colours of the document's colour list; kBackgroundPixel means
// background, nothing drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A colour of the document's colour list, or kBackgroundPixel.
using Pixel = std::uint16_t;
constexpr Pixel kBackgroundPixel = 0xFFFF;
// The colour list holds at most this many colours, so no colour is ever
// taken for background.
constexpr std::uint32_t kMaxColours = kBackgroundPixel;

// Bottom and right are exclusive: bottom = top + height, right = left + width.
// Coordinates are 32-bit: a 65535-pixel screen with a frame at its far edge
// does not fit in 16 bits.
struct FrameRect {
    std::int32_t top;
    std::int32_t left;
    std::int32_t bottom;
    std::int32_t right;
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
inline std::uint64_t RectArea(const FrameRect& rect) {
    return RectIsEmpty(rect) ? 0 : std::uint64_t(RectWidth(rect)) * std::uint64_t(RectHeight(rect));
}
inline bool operator==(const FrameRect& a, const FrameRect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

// Width x height pixels, row after row, covering the part of the screen
// from (left, top); the row stride is always the width. Coordinates given
// to a map are screen coordinates: a map need not start at the screen's
// corner, so a small animation on a huge screen costs what it covers.
struct PixelMap {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<Pixel> pixels;

    // Where the pixel at screen position (x, y) is stored.
    std::size_t Index(int x, int y) const {
        return std::size_t(y - top) * width + std::size_t(x - left);
    }
    Pixel* At(int x, int y) { return pixels.data() + Index(x, y); }
    const Pixel* At(int x, int y) const { return pixels.data() + Index(x, y); }
};

// A map of the area, all background.
void InitPixelMap(PixelMap& map, const FrameRect& area);
void InitPixelMap(PixelMap& map, std::uint32_t width, std::uint32_t height);
// The old rows are not laid out anew: the contents are meaningless afterwards.
void ResizePixelMap(PixelMap& map, const FrameRect& area);
void ResizePixelMap(PixelMap& map, std::uint32_t width, std::uint32_t height);
void FreePixels(PixelMap& map);

// The whole map as a rectangle.
FrameRect MapRect(const PixelMap& map);
// The part of the rectangle inside the map; empty rectangles stay empty.
FrameRect ClipToMap(const FrameRect& rect, const PixelMap& map);
// True when the rectangle is well formed and lies inside the map. An empty
// rectangle touches no pixel and fits anywhere.
bool RectFitsMap(const FrameRect& rect, const PixelMap& map);
// The smallest rectangle holding both; an empty rectangle adds nothing.
FrameRect RectUnion(const FrameRect& a, const FrameRect& b);

// The rectangle operations below act only on the part of the rectangle that
// lies inside the map.
void FillRect(PixelMap& map, Pixel value, const FrameRect& rect);
// Copies the rectangle of one map into the same place of another map of the
// same area.
void CopyRect(const PixelMap& from, PixelMap& to, const FrameRect& rect);
// Whether any pixel of the rectangle is background.
bool HasBackground(const PixelMap& map, const FrameRect& rect);
