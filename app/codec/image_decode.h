// Decoding a record's encoded image into its rectangle of a pixel map, in
// plain or interlaced row order, optionally leaving transparent pixels alone.
#pragma once

#include <cstdint>

#include "app/codec/frame_image.h"
#include "app/codec/lzw_decode.h"
#include "app/codec/pixel_map.h"

// Decodes from the record's encoded image when it has one, otherwise from
// wherever the buffered input stands. A rectangle that does not lie inside
// the map fails without touching it.
DecodeResult DecodeFrameImage(PixelMap& map, const FrameImage& image, bool interlaced,
                              bool skipTransparent = false, std::uint8_t transparentIndex = 0);
