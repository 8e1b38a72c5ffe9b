#include "app/shell/strip_renderer.h"

#include <algorithm>

#include "framework/platform/draw/picture_copy.h"
#include "framework/platform/draw/pictures.h"

namespace {

constexpr std::size_t kPixelValues = std::size_t(kBackgroundPixel) + 1;

// One entry for every value a pixel can hold, so the conversion needs no
// range check; values past the colour list (never drawn) show black.
void UpdateColourTable(StripRenderer& renderer, const GifDocument& document) {
    if (renderer.shownColours.size() == kPixelValues &&
        renderer.tabledColours == document.colours.size() &&
        renderer.tabledBackground == document.backgroundColour) {
        return;
    }
    renderer.shownColours.assign(kPixelValues, kBlack);
    std::transform(document.colours.begin(), document.colours.end(), renderer.shownColours.begin(),
                   ShownColour);
    renderer.shownColours[kBackgroundPixel] = ShownColour(document.backgroundColour);
    renderer.tabledColours = document.colours.size();
    renderer.tabledBackground = document.backgroundColour;
}

void EnsureStripWidth(StripRenderer& renderer, int width) {
    if (renderer.strip.width < width) {
        JSurfaceResize(&renderer.strip, width, kStripRows, kBlack);
    }
}

}  // namespace

std::uint32_t ShownColour(const Rgb& colour) {
    return JRgb(colour.red, colour.green, colour.blue);
}

void ConvertScreenRow(StripRenderer& renderer, const GifDocument& document, int y, int left,
                      int right, std::uint32_t* out) {
    UpdateColourTable(renderer, document);
    const std::uint32_t* shown = renderer.shownColours.data();
    const std::uint32_t background = shown[kBackgroundPixel];
    const FrameRect canvas = CanvasRect(document);
    if (y < canvas.top || y >= canvas.bottom) {
        std::fill(out, out + (right - left), background);
        return;
    }
    const int from = std::clamp(canvas.left, left, right);
    const int to = std::clamp(canvas.right, from, right);
    std::uint32_t* at = std::fill_n(out, from - left, background);
    if (from < to) {
        const Pixel* pixels = document.canvas.At(from, y);
        at = std::transform(pixels, pixels + (to - from), at,
                            [shown](Pixel pixel) { return shown[pixel]; });
    }
    std::fill(at, out + (right - left), background);
}

void RenderScreenRect(StripRenderer& renderer, const GifDocument& document, const FrameRect& rect,
                      JPoint origin) {
    if (RectIsEmpty(rect)) {
        return;
    }
    const int width = RectWidth(rect);
    EnsureStripWidth(renderer, width);
    for (int top = rect.top; top < rect.bottom; top += kStripRows) {
        const int rows = std::min(kStripRows, rect.bottom - top);
        for (int row = 0; row < rows; ++row) {
            ConvertScreenRow(renderer, document, top + row, rect.left, rect.right,
                             renderer.strip.Row(row));
        }
        const JRect source{0, 0, width, rows};
        JCopyPicture(&renderer.port, source,
                     JRectOffset(source, origin.x + rect.left, origin.y + top), kCopyStraight);
    }
}
