// LZW encoding of the pixels of a pixel source into GIF data sub-blocks
// written to the output stream. Strings are found through a hash table of
// 5003 slots with open addressing; a clear code is written at the start and
// whenever all 4096 codes are in use, never because of the compression ratio.
#pragma once

#include <cstdint>

#include "app/codec/pixel_source.h"

// initialBits is the minimum code size + 1. Writes the sub-blocks, not the
// block terminator. Without emitEndCode the end code is written only when it
// fits into the last, partly filled byte.
void LzwEncode(int initialBits, std::uint32_t pixelCount, bool emitEndCode, PixelSource& source);
