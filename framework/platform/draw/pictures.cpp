#include "framework/platform/draw/pictures.h"

#include <algorithm>
#include <memory>

#include "framework/platform/draw/bitmaps.h"
#include "framework/platform/draw/display.h"
#include "framework/platform/draw/picture_copy.h"

namespace {

std::vector<std::unique_ptr<JPicture>>& Pictures() {
    static std::vector<std::unique_ptr<JPicture>> pictures;
    return pictures;
}

JPicture* MakePicture(int width, int height, int depth, bool colour) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    auto picture = std::make_unique<JPicture>();
    picture->colour = colour;
    picture->width = width;
    picture->height = height;
    picture->depth = depth;
    picture->colourCount = depth >= 32 ? 0xFFFFFFFFu : 1u << depth;
    picture->byteSize = static_cast<std::uint32_t>(depth * height * 4 * ((width + 31) / 32) + 24);
    JSurfaceResize(&picture->pixels, width, height, colour ? kWhite : kBlack);
    picture->port.kind = DrawPortKind::Picture;
    picture->port.surface = &picture->pixels;
    picture->port.mono = !colour;
    Pictures().push_back(std::move(picture));
    return Pictures().back().get();
}

}  // namespace

JPicture* JNewPicture(int width, int height, int depth) {
    return MakePicture(width, height, std::clamp(depth, 1, 32), true);
}

JPicture* JNewMask(int width, int height) {
    return MakePicture(width, height, 1, false);
}

JPicture* JLoadPicture(std::uint16_t resourceId) {
    JSurface bitmap;
    if (!JLoadBitmapResource(resourceId, &bitmap)) {
        return nullptr;
    }
    JPicture* picture = JNewPicture(bitmap.width, bitmap.height, JDisplayDepth());
    if (picture != nullptr) {
        picture->pixels.pixels = std::move(bitmap.pixels);
    }
    return picture;
}

JPicture* JLoadMask(std::uint16_t resourceId) {
    JSurface bitmap;
    if (!JLoadBitmapResource(resourceId, &bitmap)) {
        return nullptr;
    }
    JPicture* mask = JNewMask(bitmap.width, bitmap.height);
    if (mask != nullptr) {
        std::transform(bitmap.pixels.begin(), bitmap.pixels.end(), mask->pixels.pixels.begin(),
                       RasterToMono);
    }
    return mask;
}

void JReleasePicture(JPicture* picture) {
    if (picture == nullptr) {
        return;
    }
    if (JCurrentPort() == &picture->port) {
        JSelectFramePort();
    }
    auto& pictures = Pictures();
    std::erase_if(pictures, [picture](const auto& p) { return p.get() == picture; });
}

int JPictureCount() {
    return static_cast<int>(Pictures().size());
}

void JReleaseAllPictures() {
    while (!Pictures().empty()) {
        JReleasePicture(Pictures().back().get());
    }
}

void JCopyPicture(const DrawPort* source, const JRect& sourceRect, const JRect& destinationRect,
                  int mode) {
    const RasterTarget target = JCurrentRasterTarget();
    if (source == nullptr || source->surface == nullptr || target.surface == nullptr) {
        return;
    }
    const PenState* pen = JCurrentPenState();
    CopyColours colours;
    colours.foreground = JColourToRgb(pen->foreground);
    colours.background = JColourToRgb(pen->background);
    colours.brush = pen->brush;
    const CopySource from{source->surface,
                          JRectOffset(sourceRect, source->originX, source->originY), source->mono};
    RasterCopy(from, target, destinationRect, mode, colours);
}

void JSpreadPicture(const JPicture* source, JPicture* destination) {
    JSelectPort(&destination->port);
    const JRect whole{0, 0, source->width, source->height};
    JCopyPicture(&source->port, whole, whole, kCopySource);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            JCopyPicture(&source->port, whole, JRectOffset(whole, dx, dy), kCopyAnd);
        }
    }
}
