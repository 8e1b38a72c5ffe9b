// What the screen shows at each frame: keyframes, and rebuilding the canvas
// for any frame from the nearest point where the screen is known.
//
// The screen before frame i+1 is the screen after frame i with i's disposal
// applied: 2 clears i's rectangle to background; 3 puts back what i's
// rectangle held before i was drawn; every other value leaves i in place.
#include <algorithm>
#include <numeric>

#include "app/codec/document.h"
#include "app/codec/image_encode.h"

namespace {

constexpr int kKeyframeColours = 256;

bool ClearsToBackground(const GifFrame& frame) {
    return frame.disposal == kDisposalRestoreBackground;
}

bool RestoresPrevious(const GifFrame& frame) {
    return frame.disposal == kDisposalRestorePrevious;
}

bool StaysInPlace(const GifFrame& frame) {
    return !ClearsToBackground(frame) && !RestoresPrevious(frame);
}

// A frame that hides everything drawn before it.
bool CoversScreen(const GifDocument& document, const GifFrame& frame) {
    return !frame.transparent && IsFullScreen(document, frame.rect);
}

// A map of the canvas's area for the pixels under a disposal-3 frame,
// allocated on first use.
void EnsureScreenSized(PixelMap& map, const GifDocument& document) {
    if (!(MapRect(map) == CanvasRect(document)) || map.pixels.empty()) {
        InitPixelMap(map, CanvasRect(document));
    }
}

// Applies the frame's disposal to the canvas; `before` holds what the
// frame's rectangle showed before it was drawn (needed for disposal 3).
void DisposeFrame(PixelMap& canvas, const GifFrame& frame, const PixelMap& before) {
    if (ClearsToBackground(frame)) {
        FillRect(canvas, kBackgroundPixel, frame.rect);
    } else if (RestoresPrevious(frame)) {
        CopyRect(before, canvas, frame.rect);
    }
}

// The different pixels of the canvas in order of value; empty when there
// are more than 256.
ColourIds FewPixelsOf(const PixelMap& canvas) {
    std::vector<bool> seen(std::size_t(kBackgroundPixel) + 1, false);
    ColourIds pixels;
    for (Pixel pixel : canvas.pixels) {
        if (!seen[pixel]) {
            if (pixels.size() == kKeyframeColours) {
                return {};
            }
            seen[pixel] = true;
            pixels.push_back(pixel);
        }
    }
    std::sort(pixels.begin(), pixels.end());
    return pixels;
}

// The colours the frames draw, in order, then background, when there are
// at most 255 (most files): every keyframe can index them, with no search
// of its canvas. Empty when the frames draw more.
ColourIds SharedPaletteOf(const GifDocument& document) {
    std::vector<bool> drawn(std::size_t(kBackgroundPixel) + 1, false);
    ColourIds palette;
    for (const std::unique_ptr<GifFrame>& frame : document.frames) {
        ForEachDrawnColour(*frame, [&](Pixel colour, std::uint32_t) {
            if (!drawn[colour]) {
                drawn[colour] = true;
                palette.push_back(colour);
            }
        });
        if (palette.size() >= kKeyframeColours) {
            return {};
        }
    }
    std::sort(palette.begin(), palette.end());
    palette.push_back(kBackgroundPixel);
    return palette;
}

void MakeKeyframe(GifDocument& document, GifFrame& frame, const ColourIds& sharedPalette) {
    const PixelMap& canvas = document.canvas;
    auto keyframe = std::make_unique<Keyframe>();
    keyframe->rect = CanvasRect(document);
    keyframe->palette = sharedPalette.empty() ? FewPixelsOf(canvas) : sharedPalette;
    const Pixel* pixels = canvas.pixels.data();
    if (!keyframe->palette.empty()) {
        std::vector<std::uint8_t> indexOf(std::size_t(kBackgroundPixel) + 1, 0);
        for (std::size_t i = 0; i < keyframe->palette.size(); ++i) {
            indexOf[keyframe->palette[i]] = std::uint8_t(i);
        }
        EncodeFrameImageWith(*keyframe, false, canvas.width, kKeyframeColours,
                             [&](std::uint8_t* row, std::uint32_t width, std::uint32_t at) {
                                 for (std::uint32_t x = 0; x < width; ++x) {
                                     row[x] = indexOf[pixels[at + x]];
                                 }
                             });
    } else {
        EncodeFrameImageWith(*keyframe, false, canvas.width, kKeyframeColours,
                             [=](std::uint8_t* row, std::uint32_t width, std::uint32_t at) {
                                 for (std::uint32_t x = 0; x < width; ++x) {
                                     row[x] = std::uint8_t(pixels[at + x]);
                                 }
                             });
        keyframe->highBytes.rect = keyframe->rect;
        EncodeFrameImageWith(keyframe->highBytes, false, canvas.width, kKeyframeColours,
                             [=](std::uint8_t* row, std::uint32_t width, std::uint32_t at) {
                                 for (std::uint32_t x = 0; x < width; ++x) {
                                     row[x] = std::uint8_t(pixels[at + x] >> 8);
                                 }
                             });
    }
    frame.keyframe = std::move(keyframe);
}

void DecodeKeyframe(PixelMap& canvas, const Keyframe& keyframe) {
    std::vector<Pixel> table(256);
    if (!keyframe.palette.empty()) {
        std::copy(keyframe.palette.begin(), keyframe.palette.end(), table.begin());
        DecodeFrameImage(canvas, keyframe, false, IndexPlacement{table.data()});
        return;
    }
    std::iota(table.begin(), table.end(), Pixel{0});
    DecodeFrameImage(canvas, keyframe, false, IndexPlacement{table.data()});
    DecodeFrameImage(canvas, keyframe.highBytes, false,
                     IndexPlacement{table.data(), false, 0, true});
}

enum class StartKind {
    Blank,     // a cleared canvas is the screen before the start frame
    Covering,  // the start frame hides everything before it
    Keyframe,  // the start frame's keyframe is the screen after it
    Current,   // the canvas shows the start frame now
};

struct StartPoint {
    std::int32_t frame;
    StartKind kind;
};

// The latest frame at or before the target from which the target's screen can
// be rebuilt. A disposal-3 frame before the target gives the screen back to
// what preceded it, so neither its keyframe nor its covering the screen tells
// what follows it. A full-screen disposal-2 frame before the target leaves a
// cleared screen behind; for the target itself that rule does not hold, as
// its own transparent pixels show what preceded it.
StartPoint FindStart(const GifDocument& document, std::int32_t target) {
    for (std::int32_t k = target; k >= 1; --k) {
        const GifFrame& frame = *FrameAt(document, k);
        const bool beforeTarget = k < target;
        if (!(beforeTarget && RestoresPrevious(frame))) {
            if (CoversScreen(document, frame)) {
                return {k, StartKind::Covering};
            }
            if (frame.keyframe) {
                return {k, StartKind::Keyframe};
            }
        }
        if (beforeTarget && ClearsToBackground(frame) && IsFullScreen(document, frame.rect)) {
            return {k + 1, StartKind::Blank};
        }
    }
    return {0, StartKind::Blank};
}

// Whether the screen after the current frame's disposal can be made from the
// canvas as it stands.
bool CanContinueFromCurrent(const GifDocument& document) {
    const GifFrame& current = *CurrentFrame(document);
    return !RestoresPrevious(current) || document.underCurrentFrame == document.currentFrame;
}

void Include(FrameRect& bounds, const FrameRect& rect) {
    bounds.top = std::min(bounds.top, rect.top);
    bounds.left = std::min(bounds.left, rect.left);
    bounds.bottom = std::max(bounds.bottom, rect.bottom);
    bounds.right = std::max(bounds.right, rect.right);
}

FrameRect EmptyBounds() {
    return FrameRect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
}

// The area that differs between the screens of frames `from` and `to`.
FrameRect ChangedRect(const GifDocument& document, std::int32_t from, std::int32_t to) {
    if (from < 0) {
        return FrameAt(document, to)->rect;
    }
    const std::int32_t low = std::min(from, to);
    const std::int32_t high = std::max(from, to);
    const GifFrame& fromFrame = *FrameAt(document, from);
    FrameRect bounds = EmptyBounds();
    if (to < from || ClearsToBackground(fromFrame) || RestoresPrevious(fromFrame)) {
        Include(bounds, FrameAt(document, low)->rect);
    }
    for (std::int32_t i = low + 1; i <= high; ++i) {
        Include(bounds, FrameAt(document, i)->rect);
    }
    return bounds;
}

// Brings the canvas to the screen before frame `first` is drawn (or, for a
// covering start, to a state that frame hides); returns `first`.
std::int32_t PrepareStart(GifDocument& document, const StartPoint& start, std::int32_t target) {
    switch (start.kind) {
        case StartKind::Current:
            DisposeFrame(document.canvas, *FrameAt(document, start.frame), document.underCurrent);
            return start.frame + 1;
        case StartKind::Keyframe: {
            const GifFrame& frame = *FrameAt(document, start.frame);
            DecodeKeyframe(document.canvas, *frame.keyframe);
            if (start.frame < target) {
                DisposeFrame(document.canvas, frame, document.underCurrent);
            }
            return start.frame + 1;
        }
        case StartKind::Blank:
            FillRect(document.canvas, kBackgroundPixel, CanvasRect(document));
            return start.frame;
        case StartKind::Covering:
            return start.frame;
    }
    return start.frame;
}

// Draws the frames from `first` to the target. Frames before the target need
// only their effect on the next screen: disposal 2 leaves a cleared
// rectangle, disposal 3 leaves nothing.
void DrawUpToTarget(GifDocument& document, std::int32_t first, std::int32_t target,
                    bool canvasIsScreenBefore) {
    for (std::int32_t i = first; i < target; ++i) {
        const GifFrame& frame = *FrameAt(document, i);
        if (ClearsToBackground(frame)) {
            FillRect(document.canvas, kBackgroundPixel, frame.rect);
        } else if (!RestoresPrevious(frame)) {
            DrawFrame(document.canvas, frame);
        }
        canvasIsScreenBefore = true;
    }
    if (first > target) {
        return;
    }
    const GifFrame& frame = *FrameAt(document, target);
    if (RestoresPrevious(frame) && canvasIsScreenBefore) {
        EnsureScreenSized(document.underCurrent, document);
        CopyRect(document.canvas, document.underCurrent, frame.rect);
        document.underCurrentFrame = target;
    }
    DrawFrame(document.canvas, frame);
}

// Weighs each colour by the frames that draw it where the screen changes
// (high half) and the pixels they so draw (low half). An optimised stream
// draws little more than the changes, so colours that many frames change to
// belong early in a table, where a frame indexes them with short codes.
class ChangeCounter {
public:
    explicit ChangeCounter(std::size_t colours) : pixels_(colours, 0) {}

    void Draw(PixelMap& canvas, const GifFrame& frame, std::vector<std::uint64_t>& weights) {
        DrawFrameCountingChanges(canvas, frame, pixels_.data());
        // Every colour drawn is in the frame's pixel table (a colour listed
        // twice is counted once: its count is cleared at the first).
        for (Pixel colour : PixelTable(frame)) {
            if (colour < pixels_.size() && pixels_[colour] != 0) {
                weights[colour] += (std::uint64_t(1) << 32) + pixels_[colour];
                pixels_[colour] = 0;
            }
        }
    }

private:
    std::vector<std::uint32_t> pixels_;
};

}  // namespace

void BuildKeyframes(GifDocument& document, const FrameDone& frameDone, KeyframeUse use) {
    const bool build = use == KeyframeUse::Build;
    const ColourIds sharedPalette = build ? SharedPaletteOf(document) : ColourIds{};
    PixelMap before;
    FillRect(document.canvas, kBackgroundPixel, CanvasRect(document));
    document.leavesUncovered = document.frames.empty();
    const GifFrame* previous = nullptr;
    int counter = kKeyframeInterval;
    // A keyframe costs the canvas's area to make and to decode, so one is
    // kept only when the frames since the last together drew at least as
    // much: tiny frames on a huge canvas are replayed instead.
    const std::uint64_t canvasArea = RectArea(CanvasRect(document));
    std::uint64_t drawnSinceKeyframe = 0;
    ChangeCounter changes(document.colours.size());
    document.changeWeights.assign(document.colours.size(), 0);
    for (const std::unique_ptr<GifFrame>& frame : document.frames) {
        if (RestoresPrevious(*frame)) {
            EnsureScreenSized(before, document);
            CopyRect(document.canvas, before, frame->rect);
        }
        changes.Draw(document.canvas, *frame, document.changeWeights);
        // Background appears only where nothing was drawn yet or where the
        // previous frame's disposal uncovered it.
        if (!document.leavesUncovered) {
            document.leavesUncovered = previous ? !StaysInPlace(*previous) &&
                                                      HasBackground(document.canvas, previous->rect)
                                                : ShowsBackground(document);
        }
        drawnSinceKeyframe += RectArea(frame->rect);
        if (build && --counter <= 0 && drawnSinceKeyframe >= canvasArea) {
            MakeKeyframe(document, *frame, sharedPalette);
            counter = kKeyframeInterval;
            drawnSinceKeyframe = 0;
        } else {
            frame->keyframe.reset();
        }
        DisposeFrame(document.canvas, *frame, before);
        previous = frame.get();
        if (frameDone) {
            frameDone();
        }
    }
    document.currentFrame = -1;
    document.underCurrentFrame = -1;
}

FrameRect ShowFrame(GifDocument& document, std::int32_t target) {
    const std::int32_t current =
        FrameAt(document, document.currentFrame) ? document.currentFrame : -1;
    if (document.frames.empty()) {
        FillRect(document.canvas, kBackgroundPixel, CanvasRect(document));
        document.currentFrame = -1;
        return EmptyBounds();
    }
    if (target < 0 || std::size_t(target) >= document.frames.size() || target == current) {
        return EmptyBounds();
    }
    const FrameRect changed = ChangedRect(document, current, target);
    StartPoint start = FindStart(document, target);
    if (current >= 0 && target > current && start.frame <= current &&
        CanContinueFromCurrent(document)) {
        start = {current, StartKind::Current};
    }
    const std::int32_t first = PrepareStart(document, start, target);
    document.underCurrentFrame = -1;
    DrawUpToTarget(document, first, target, start.kind != StartKind::Covering);
    document.currentFrame = target;
    return changed;
}

void RefreshCanvas(GifDocument& document) {
    const std::int32_t shown = document.currentFrame;
    document.currentFrame = -1;
    document.underCurrentFrame = -1;
    if (shown >= 0) {
        ShowFrame(document, shown);
    } else {
        FillRect(document.canvas, kBackgroundPixel, CanvasRect(document));
    }
}
