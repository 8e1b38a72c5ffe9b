#include "app/codec/frame_image.h"

#include "framework/core/memory.h"

void FreeEncodedImage(FrameImage& image) {
    JFree(image.encodedImage);
    image.encodedImage = nullptr;
    image.encodedSize = 0;
}
