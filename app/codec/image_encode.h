// Encoding a rectangle of pixels as GIF image data (minimum code size byte,
// LZW data in sub-blocks, block terminator) into a record's encoded image.
#pragma once

#include <cstdint>

#include "app/codec/frame_image.h"
#include "app/codec/pixel_map.h"
#include "app/codec/pixel_source.h"

// The "Omit frame terminators" option: images end without an end code unless
// it fits into the last, partly filled byte.
void SetOmitFrameTerminators(bool omit);
bool OmitFrameTerminators();

// Bits needed for colourCount colours: 1 below 3, else the bit width of
// colourCount - 1 (3 and 4 give 2, 5 to 8 give 3, 129 to 256 give 8).
int BitsForColours(int colourCount);

// The record must no longer own an encoded image. Rows come from the filler
// in plain or interlaced order; stride is the source map's width.
void EncodeFrameImageWith(FrameImage& record, bool interlaced, std::uint32_t stride,
                          int colourCount, const RowFiller& filler);
// Encodes the record's rectangle of the map, rows copied as they are. False,
// and nothing encoded, when the rectangle does not lie inside the map.
bool EncodeFrameImage(const PixelMap& map, FrameImage& record, bool interlaced, int colourCount);
