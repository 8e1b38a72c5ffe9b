#include "framework/platform/draw/picture_copy.h"

namespace {

std::uint32_t BrushColourAt(const RasterInk& brush, int x, int y) {
    if (brush.pattern == nullptr) {
        return brush.colour;
    }
    return (brush.pattern->rows[y & 7] >> (7 - (x & 7))) & 1 ? brush.patternSetColour
                                                             : brush.colour;
}

// The source pixel as the destination's kind of pixel.
std::uint32_t ConvertSource(std::uint32_t pixel, bool sourceMono, bool destinationMono,
                            const CopyColours& colours) {
    if (sourceMono && !destinationMono) {
        return pixel == kWhite ? colours.background : colours.foreground;
    }
    if (!sourceMono && destinationMono) {
        return pixel == colours.background ? kWhite : kBlack;
    }
    return pixel;
}

std::uint32_t ApplyMode(int mode, std::uint32_t source, std::uint32_t destination) {
    switch (mode) {
        case kCopyAnd:
            return source & destination;
        case kCopyOr:
            return source | destination;
        case kCopyMergePaint:
            return (~source | destination) & kRgbMask;
        default:
            return source;
    }
}

int SourceCoordinate(int offset, int sourceSize, int destinationSize) {
    if (sourceSize == destinationSize) {
        return offset;
    }
    return static_cast<int>(static_cast<long long>(offset) * sourceSize / destinationSize);
}

}  // namespace

void RasterCopy(const CopySource& source, const RasterTarget& target, const JRect& destination,
                int mode, const CopyColours& colours) {
    if (mode < kCopySource || mode > kCopyMergePaint || destination.Empty() ||
        source.rect.Empty()) {
        return;
    }
    const bool withBrush = mode == kCopySource && source.mono;
    const JRect sourceBounds = source.surface->Bounds();
    for (int y = destination.top; y < destination.bottom; ++y) {
        const int sourceY =
            source.rect.top +
            SourceCoordinate(y - destination.top, source.rect.Height(), destination.Height());
        RasterForEachClippedSpan(
            target, y, destination.left, destination.right, [&](int sy, int sx0, int sx1) {
                std::uint32_t* row = target.surface->Row(sy);
                for (int sx = sx0; sx < sx1; ++sx) {
                    const int x = sx - target.originX;
                    const int sourceX = source.rect.left + SourceCoordinate(x - destination.left,
                                                                            source.rect.Width(),
                                                                            destination.Width());
                    if (!sourceBounds.Contains(sourceX, sourceY)) {
                        continue;
                    }
                    std::uint32_t pixel = ConvertSource(source.surface->At(sourceX, sourceY),
                                                        source.mono, target.mono, colours);
                    if (withBrush) {
                        std::uint32_t brush = BrushColourAt(colours.brush, x, y);
                        pixel |= target.mono ? RasterToMono(brush) : brush;
                    }
                    row[sx] = ApplyMode(mode, pixel, row[sx]);
                }
            });
    }
}
