// The head shared by every record that holds an encoded image (frame,
// keyframe, the reader's loading record), so one decoding or encoding call
// takes any of them.
#pragma once

#include <cstdint>

#include "app/codec/pixel_map.h"

struct FrameImage {
    FrameRect rect;              // where the image lies on the logical screen
    std::uint32_t encodedSize;   // byte count of encodedImage
    std::uint8_t* encodedImage;  // JAlloc block: minimum code size, sub-blocks, terminator
};

// Frees the encoded image and forgets it.
void FreeEncodedImage(FrameImage& image);
