// Copying pixels between surfaces with the raster modes of copy picture:
// 1 source (a one-bit source is also combined with the brush: source or
// brush), 2 source and destination, 3 source, 4 source or destination,
// 5 inverted source or destination. Unequal sizes stretch by the nearest pixel.
#pragma once

#include "framework/platform/draw/raster.h"

struct CopySource {
    const JSurface* surface = nullptr;
    JRect rect;  // surface coordinates
    bool mono = false;
};

// Colours a one-bit source takes in a colour destination (clear bits the
// foreground, set bits the background), and the colour of a colour source
// that becomes a set bit in a one-bit destination (the background).
struct CopyColours {
    std::uint32_t foreground = kBlack;
    std::uint32_t background = kWhite;
    RasterInk brush;
};

constexpr int kCopySource = 1;
constexpr int kCopyAnd = 2;
constexpr int kCopyStraight = 3;
constexpr int kCopyOr = 4;
constexpr int kCopyMergePaint = 5;

// Copies into `destination` (port coordinates of the target); other modes
// copy nothing.
void RasterCopy(const CopySource& source, const RasterTarget& target, const JRect& destination,
                int mode, const CopyColours& colours);
