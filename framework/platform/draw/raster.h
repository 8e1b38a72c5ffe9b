// The software rasteriser behind the drawing layer. Shapes are reduced to
// horizontal spans, clipped to a list of rectangles and combined with the
// surface by the pen mode. Coordinates are the port's; the target says where
// the port's origin lies on the surface.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/platform/draw/geometry.h"
#include "framework/platform/draw/surface.h"

enum class JPenMode : std::uint8_t {
    Copy = 0,    // the pen's colour replaces the pixel
    Invert = 1,  // not (pen xor pixel): a black pen inverts, a white pen leaves alone
};

// An 8 by 8 one-bit pattern, row 0 first, bit 7 the leftmost pixel.
struct JPattern {
    std::uint8_t rows[8] = {};
};

// What a shape is painted with: a solid colour, or a pattern whose clear bits
// take the foreground colour and whose set bits the background colour.
struct RasterInk {
    std::uint32_t colour = kBlack;
    JPenMode mode = JPenMode::Copy;
    const JPattern* pattern = nullptr;
    std::uint32_t patternSetColour = kWhite;
};

struct RasterTarget {
    JSurface* surface = nullptr;
    int originX = 0;  // the surface pixel of port point (0, 0)
    int originY = 0;
    // Non-overlapping rectangles in port coordinates; null or empty means the
    // whole surface. The surface's own bounds always clip too.
    const std::vector<JRect>* clip = nullptr;
    bool mono = false;  // a mask: every colour becomes black or white
};

// Black or white for a one-bit picture: light colours become white.
std::uint32_t RasterToMono(std::uint32_t rgb);
std::uint32_t RasterCombine(std::uint32_t destination, std::uint32_t source, JPenMode mode);

// Calls paint(surfaceRow, sx0, sx1) for each part of port pixels [x0, x1) of
// row y that survives clipping, in surface coordinates.
template <typename Paint>
void RasterForEachClippedSpan(const RasterTarget& target, int y, int x0, int x1, Paint paint) {
    const int sy = y + target.originY;
    if (sy < 0 || sy >= target.surface->height) {
        return;
    }
    const int sx0 = std::max(x0 + target.originX, 0);
    const int sx1 = std::min(x1 + target.originX, target.surface->width);
    if (target.clip == nullptr || target.clip->empty()) {
        if (sx0 < sx1) {
            paint(sy, sx0, sx1);
        }
        return;
    }
    for (const JRect& clip : *target.clip) {
        if (y < clip.top || y >= clip.bottom) {
            continue;
        }
        const int cx0 = std::max(sx0, clip.left + target.originX);
        const int cx1 = std::min(sx1, clip.right + target.originX);
        if (cx0 < cx1) {
            paint(sy, cx0, cx1);
        }
    }
}

// Pixels [x0, x1) of row y.
void RasterSpan(const RasterTarget& target, const RasterInk& ink, int y, int x0, int x1);
void RasterFillRect(const RasterTarget& target, const RasterInk& ink, const JRect& rect);
void RasterSetPixel(const RasterTarget& target, const RasterInk& ink, int x, int y);
// False outside the surface.
bool RasterGetPixel(const RasterTarget& target, int x, int y, std::uint32_t* rgb);

// Segments from point to point, each without its end point (a closed line
// returns to the first point). A pen wider than 1 stamps a square.
void RasterPolyline(const RasterTarget& target, const RasterInk& ink, const JPoint* points,
                    int count, bool closed, int penWidth);
// Pixels whose top-left corner lies inside, alternate filling.
void RasterPolygonFill(const RasterTarget& target, const RasterInk& ink, const JPoint* points,
                       int count);

// A rectangle with elliptic corners of the given diameters, inside `rect`
// (right and bottom excluded). Diameters of the whole size give an ellipse.
void RasterRoundRectFill(const RasterTarget& target, const RasterInk& ink, const JRect& rect,
                         int cornerWidth, int cornerHeight);
// The outline, drawn inside the shape, penWidth pixels thick.
void RasterRoundRectFrame(const RasterTarget& target, const RasterInk& ink, const JRect& rect,
                          int cornerWidth, int cornerHeight, int penWidth);

// The part of the ellipse inside `rect` swept counter-clockwise from the ray
// through `start` to the ray through `end` (the whole ellipse when the rays
// agree): its outline (arc) or its interior (pie).
void RasterArc(const RasterTarget& target, const RasterInk& ink, const JRect& rect, JPoint start,
               JPoint end, int penWidth);
void RasterPie(const RasterTarget& target, const RasterInk& ink, const JRect& rect, JPoint start,
               JPoint end);
