// JPixelBuffer: 24-bit pixels in the device-independent layout (rows
// bottom-up, each pixel blue, green, red, rows padded to 4 bytes), used to put
// computed pixels into a picture and to read them back.
#pragma once

#include <cstdint>

#include "framework/platform/draw/pictures.h"

struct JPixelBuffer {
    int width = 0;
    int height = 0;
    int rowStride = 0;  // 3 x width rounded up to a multiple of 4
    std::uint8_t* pixels = nullptr;
};

// Contents undefined; null for a size that is not positive.
JPixelBuffer* JNewPixelBuffer(int width, int height);
void JReleasePixelBuffer(JPixelBuffer* buffer);

// The bytes of buffer row `row`, counted from the bottom of the image.
std::uint8_t* JPixelBufferRow(JPixelBuffer* buffer, int row);

// Writes `count` rows, taken from buffer row `firstRow` counting from the
// bottom, into the picture's rows counted from its bottom starting at
// `destinationRow`. Nothing happens (false) unless the widths agree and the
// rows fit in both.
bool JPutPixelRows(const JPixelBuffer* buffer, int firstRow, int count, JPicture* picture,
                   int destinationRow);
bool JPutWholeBuffer(const JPixelBuffer* buffer, JPicture* picture);
bool JReadPixelRows(JPixelBuffer* buffer, int firstRow, int count, const JPicture* picture,
                    int sourceRow);
