#include "app/codec/frame_image.h"

void FreeEncodedImage(FrameImage& image) {
    image.encoded.clear();
    image.encoded.shrink_to_fit();
}
