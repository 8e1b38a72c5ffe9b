// Pictures: off-screen images that can be drawing ports and copy sources.
// Colour pictures are display-compatible (32-bit); masks hold one bit a
// pixel, kept as black and white.
#pragma once

#include <cstdint>

#include "framework/platform/draw/draw_port.h"

struct JPicture {
    DrawPort port;       // kind Picture, drawing on `pixels`
    bool colour = true;  // false for a mask
    int width = 0;
    int height = 0;
    int depth = 32;  // bits per pixel (1 for masks)
    std::uint32_t colourCount = 0;
    std::uint32_t byteSize = 0;  // depth x height x 4 x ((width + 31) / 32) + 24
    JSurface pixels;
};

// Contents undefined; null when the size is not positive.
JPicture* JNewPicture(int width, int height, int depth);
JPicture* JNewMask(int width, int height);
JPicture* JLoadPicture(std::uint16_t resourceId);
JPicture* JLoadMask(std::uint16_t resourceId);
void JReleasePicture(JPicture* picture);
int JPictureCount();
void JReleaseAllPictures();

// Copies from the source port into the current port (see picture_copy.h for
// the modes); a straight copy when the sizes agree, stretched otherwise.
void JCopyPicture(const DrawPort* source, const JRect& sourceRect, const JRect& destinationRect,
                  int mode);
// The destination becomes the current port and ends as the AND of each 3 by 3
// neighbourhood of the source: dark shapes grow by one pixel on every side.
void JSpreadPicture(const JPicture* source, JPicture* destination);
