// LZW encoding of the pixels of a pixel source into GIF data sub-blocks
// written to the output stream. Strings are found through a hash table of
// 5003 slots with open addressing. A clear code is written at the start and,
// once all 4096 codes are in use, when the full table stops paying (checked
// every clearCheckGap pixels; 0 clears as soon as the table is full).
#pragma once

#include <cstdint>

#include "app/codec/pixel_source.h"

// How often a full table is checked, in pixels: a measured middle ground.
constexpr std::uint32_t kClearCheckGap = 12000;
// Clears as soon as the table is full.
constexpr std::uint32_t kClearWhenFull = 0;

struct LzwChoices {
    std::uint32_t clearCheckGap = kClearCheckGap;
    // Above 0, each string may be cut up to this many pixels short when the
    // next string then reaches further: slower, usually a little shorter.
    int lookahead = 0;
};

// initialBits is the minimum code size + 1. Writes the sub-blocks, not the
// block terminator. Without emitEndCode the end code is written only when it
// fits into the last, partly filled byte.
void LzwEncode(int initialBits, std::uint32_t pixelCount, bool emitEndCode, PixelSource& source,
               LzwChoices choices = {});
