// The head shared by every record that holds an encoded image (frame,
// keyframe), so one decoding or encoding call takes any of them.
#pragma once

#include <cstdint>
#include <vector>

#include "app/codec/pixel_map.h"

struct FrameImage {
    FrameRect rect;  // where the image lies on the logical screen
    // Minimum code size, sub-blocks, terminator: exactly the image data that
    // follows an image descriptor. Empty when there is none.
    std::vector<std::uint8_t> encoded;
};

// Forgets the encoded image and releases its memory.
void FreeEncodedImage(FrameImage& image);
