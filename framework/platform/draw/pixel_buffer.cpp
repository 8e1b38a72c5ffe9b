#include "framework/platform/draw/pixel_buffer.h"

#include "framework/core/memory.h"
#include "framework/platform/draw/frame.h"

namespace {

bool RowsFit(const JPixelBuffer* buffer, int firstRow, int count, const JPicture* picture,
             int pictureRow) {
    return buffer != nullptr && picture != nullptr && buffer->width == picture->width &&
           count >= 0 && firstRow >= 0 && pictureRow >= 0 && firstRow + count <= buffer->height &&
           pictureRow + count <= picture->height;
}

// The picture's surface row of a row counted from its bottom.
int SurfaceRow(const JPicture* picture, int rowFromBottom) {
    return picture->height - 1 - rowFromBottom;
}

}  // namespace

JPixelBuffer* JNewPixelBuffer(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    auto* buffer = static_cast<JPixelBuffer*>(JAlloc(sizeof(JPixelBuffer)));
    buffer->width = width;
    buffer->height = height;
    buffer->rowStride = (3 * width + 3) / 4 * 4;
    buffer->pixels =
        static_cast<std::uint8_t*>(JAlloc(static_cast<std::size_t>(buffer->rowStride) * height));
    return buffer;
}

void JReleasePixelBuffer(JPixelBuffer* buffer) {
    if (buffer != nullptr) {
        JFree(buffer->pixels);
        JFree(buffer);
    }
}

std::uint8_t* JPixelBufferRow(JPixelBuffer* buffer, int row) {
    return buffer->pixels + static_cast<std::ptrdiff_t>(row) * buffer->rowStride;
}

bool JPutPixelRows(const JPixelBuffer* buffer, int firstRow, int count, JPicture* picture,
                   int destinationRow) {
    if (!RowsFit(buffer, firstRow, count, picture, destinationRow)) {
        return false;
    }
    if (JCurrentPort() == &picture->port) {
        JSelectFramePort();  // the picture is written directly, not drawn on
    }
    for (int k = 0; k < count; ++k) {
        const std::uint8_t* source =
            buffer->pixels + static_cast<std::ptrdiff_t>(firstRow + k) * buffer->rowStride;
        std::uint32_t* target = picture->pixels.Row(SurfaceRow(picture, destinationRow + k));
        for (int x = 0; x < buffer->width; ++x, source += 3) {
            const std::uint32_t rgb = JRgb(source[2], source[1], source[0]);
            target[x] = picture->colour ? rgb : RasterToMono(rgb);
        }
    }
    return true;
}

bool JPutWholeBuffer(const JPixelBuffer* buffer, JPicture* picture) {
    return buffer != nullptr && JPutPixelRows(buffer, 0, buffer->height, picture, 0);
}

bool JReadPixelRows(JPixelBuffer* buffer, int firstRow, int count, const JPicture* picture,
                    int sourceRow) {
    if (!RowsFit(buffer, firstRow, count, picture, sourceRow)) {
        return false;
    }
    for (int k = 0; k < count; ++k) {
        std::uint8_t* target = JPixelBufferRow(buffer, firstRow + k);
        const std::uint32_t* source = picture->pixels.Row(SurfaceRow(picture, sourceRow + k));
        for (int x = 0; x < buffer->width; ++x, target += 3) {
            target[0] = static_cast<std::uint8_t>(JRgbBlue(source[x]));
            target[1] = static_cast<std::uint8_t>(JRgbGreen(source[x]));
            target[2] = static_cast<std::uint8_t>(JRgbRed(source[x]));
        }
    }
    return true;
}
