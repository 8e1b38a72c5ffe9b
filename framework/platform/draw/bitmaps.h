// Bitmap resources: the fill patterns (ids 129 to 160 and 257 to 301) built
// in, the bitmaps compiled in from resources/bitmaps (resource_images.h), and
// a table of further bitmaps the program may supply, which comes first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/platform/draw/raster.h"
#include "framework/platform/draw/surface.h"

struct JBitmapResource {
    std::uint16_t id;
    int width;
    int height;
    const std::uint32_t* pixels;  // 0x00RRGGBB, rows top-down
};

// Lets the program add bitmaps of its own (sorted by id); null removes them.
void JUseBitmapTable(const JBitmapResource* table, std::size_t count);

// The bitmap of a resource id into `surface`; false when there is none.
bool JLoadBitmapResource(std::uint16_t id, JSurface* surface);

// The pattern bitmap of fill pattern n (n > 1), or 0 for a number that names
// none: 2-45 give 258-301, 51-90 give 129-168, 46-50 give 302, 91 and up 257.
std::uint16_t JPatternBitmapId(int pattern);
// The 8 by 8 pattern of a bitmap id; false when the resources lack it.
bool JLoadPattern(std::uint16_t bitmapId, JPattern* pattern);
