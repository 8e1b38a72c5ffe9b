// Encoding a rectangle of colour indices as GIF image data (minimum code size
// byte, LZW data in sub-blocks, block terminator) into a record's encoded
// image.
#pragma once

#include <cstdint>

#include "app/codec/frame_image.h"
#include "app/codec/lzw_encode.h"
#include "app/codec/pixel_source.h"

// The "Omit frame terminators" option: images end without an end code unless
// it fits into the last, partly filled byte.
void SetOmitFrameTerminators(bool omit);
bool OmitFrameTerminators();

// Bits needed for colourCount colours: 1 below 3, else the bit width of
// colourCount - 1 (3 and 4 give 2, 5 to 8 give 3, 129 to 256 give 8).
int BitsForColours(int colourCount);

// Replaces the record's encoded image. Rows come from the filler in plain or
// interlaced order; stride is the width of the filler's source.
void EncodeFrameImageWith(FrameImage& record, bool interlaced, std::uint32_t stride,
                          int colourCount, const RowFiller& filler, LzwChoices choices = {});
// Encodes rectangle-sized indices, row after row.
void EncodeIndices(FrameImage& record, bool interlaced, int colourCount,
                   const std::uint8_t* indices, LzwChoices choices = {});
