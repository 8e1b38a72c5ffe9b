// A quick estimate of how long a frame's LZW data would be, to rank the
// ways of writing a frame before encoding only the promising ones. The
// estimate parses colours, not table indices: the parse is the same for any
// table, as each colour has one index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/codec/pixel_map.h"

// Images below this many pixels are always parsed whole.
constexpr std::size_t kEstimateWholeBelow = 16384;

// Bits of LZW codes for the rows of a width-wide image, parsed greedily in
// bands spread over the image that together hold about 1/`sampling` of its
// rows (all of them for small images). rootBits is the minimum code size.
std::uint64_t EstimateLzwBits(const std::vector<Pixel>& pixels, int width, int rootBits,
                              int sampling);
