#include "app/codec/document.h"

#include <cstdlib>

namespace {

int Distance(const Rgb& a, const Rgb& b) {
    return std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue);
}

Pixel NearestListed(const GifDocument& document, const Rgb& colour) {
    Pixel nearest = 0;
    int best = 3 * 256;
    for (std::size_t i = 0; i < document.colours.size(); ++i) {
        const int distance = Distance(document.colours[i], colour);
        if (distance < best) {
            best = distance;
            nearest = Pixel(i);
        }
    }
    return nearest;
}

}  // namespace

std::unique_ptr<GifDocument> NewGifDocument() {
    auto document = std::make_unique<GifDocument>();
    InitPixelMap(document->canvas, 1, 1);
    return document;
}

Pixel ColourId(GifDocument& document, const Rgb& colour) {
    const auto found = document.colourIds.find(colour.Packed());
    if (found != document.colourIds.end()) {
        return found->second;
    }
    if (document.colours.size() >= kMaxColours) {
        document.coloursAltered = true;
        return NearestListed(document, colour);
    }
    const Pixel id = Pixel(document.colours.size());
    document.colours.push_back(colour);
    document.colourIds.emplace(colour.Packed(), id);
    return id;
}

GifFrame* FrameAt(const GifDocument& document, std::int32_t index) {
    if (index < 0 || std::size_t(index) >= document.frames.size()) {
        return nullptr;
    }
    return document.frames[std::size_t(index)].get();
}

GifFrame* CurrentFrame(const GifDocument& document) {
    return FrameAt(document, document.currentFrame);
}

FrameRect ScreenRect(const GifDocument& document) {
    return FrameRect{0, 0, document.screenHeight, document.screenWidth};
}

FrameRect CanvasRect(const GifDocument& document) {
    return MapRect(document.canvas);
}

bool IsFullScreen(const GifDocument& document, const FrameRect& rect) {
    return rect == CanvasRect(document);
}

void FitCanvasToFrames(GifDocument& document) {
    FrameRect bounds{};
    for (const std::unique_ptr<GifFrame>& frame : document.frames) {
        bounds = RectUnion(bounds, frame->rect);
    }
    InitPixelMap(document.canvas, RectIsEmpty(bounds) ? FrameRect{0, 0, 1, 1} : bounds);
}

FrameRect WholeScreenRect(const GifDocument& document) {
    const FrameRect canvas = CanvasRect(document);
    const FrameRect screen = ScreenRect(document);
    return FrameRect{0, 0, std::max(screen.bottom, canvas.bottom),
                     std::max(screen.right, canvas.right)};
}

PixelMap WholeScreen(const GifDocument& document) {
    const FrameRect canvas = CanvasRect(document);
    PixelMap whole;
    InitPixelMap(whole, WholeScreenRect(document));
    for (int y = canvas.top; y < canvas.bottom; ++y) {
        std::copy_n(document.canvas.At(canvas.left, y), RectWidth(canvas),
                    whole.At(canvas.left, y));
    }
    return whole;
}

bool ShowsBackground(const GifDocument& document) {
    return !(WholeScreenRect(document) == CanvasRect(document)) ||
           HasBackground(document.canvas, CanvasRect(document));
}

std::array<Pixel, 256> PixelTable(const GifFrame& frame) {
    std::array<Pixel, 256> table;
    table.fill(frame.table.empty() ? Pixel{0} : frame.table[0]);
    std::copy_n(frame.table.begin(), std::min<std::size_t>(frame.table.size(), 256), table.begin());
    return table;
}

DecodeResult DrawFrameCountingChanges(PixelMap& map, const GifFrame& frame,
                                      std::uint32_t* changes) {
    const std::array<Pixel, 256> table = PixelTable(frame);
    return DecodeFrameImage(
        map, frame, frame.interlaced,
        IndexPlacement{table.data(), frame.transparent, frame.transparentIndex, false, changes});
}

DecodeResult DrawFrame(PixelMap& map, const GifFrame& frame) {
    return DrawFrameCountingChanges(map, frame, nullptr);
}
