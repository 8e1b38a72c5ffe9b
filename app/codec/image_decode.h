// Decoding a record's encoded image into its rectangle: as indices into a
// rectangle-sized buffer, or through a table into a map of pixels, in plain
// or interlaced row order, optionally leaving transparent pixels alone.
#pragma once

#include <cstdint>

#include "app/codec/frame_image.h"
#include "app/codec/lzw_decode.h"
#include "app/codec/pixel_map.h"

// How the decoded indices become pixels of a map.
struct IndexPlacement {
    const Pixel* table;  // 256 entries: the pixel of each index
    bool skipTransparent = false;
    std::uint8_t transparentIndex = 0;
    // The index is the high byte of the pixel, whose low byte is already in
    // the map (for keyframes of more than 256 different pixels).
    bool highByte = false;
    // When set, changes[p] counts the pixels p drawn over a different pixel.
    std::uint32_t* changes = nullptr;
};

// Both decode from the record's encoded image when it has one, otherwise from
// wherever the buffered input stands. A rectangle that does not lie inside
// the map fails without touching it.
DecodeResult DecodeFrameImage(PixelMap& map, const FrameImage& image, bool interlaced,
                              const IndexPlacement& placement);
// `indices` holds width x height bytes of the record's rectangle.
DecodeResult DecodeIndices(const FrameImage& image, bool interlaced, std::uint8_t* indices);
