// Each frame is judged from three screens: `before` (what the viewer shows
// just before the frame is drawn, built from the frames as already
// optimised), `after` (the document's canvas: the screen just after the
// frame, as the file showed it originally) and `next` (the screen just after
// the following frame, where the last frame's following frame is the first
// one drawn on a cleared screen). Background, nothing drawn, is 255 on all
// three.
//
// Disposal acts on the screens as in the document's screen model: 2 clears
// the frame's rectangle to background, 3 puts back what the rectangle held
// before the frame was drawn, every other value leaves the frame in place.
#include "app/optimiser/frame_optimiser.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

#include "app/codec/image_encode.h"
#include "app/optimiser/progress.h"
#include "framework/core/memory.h"

namespace {

bool ClearsToBackground(const GifFrame& frame) {
    return frame.disposal == kDisposalRestoreBackground;
}

bool RestoresPrevious(const GifFrame& frame) {
    return frame.disposal == kDisposalRestorePrevious;
}

bool StaysInPlace(const GifFrame& frame) {
    return !ClearsToBackground(frame) && !RestoresPrevious(frame);
}

FrameRect WholeScreen(const GifDocument& document) {
    return FrameRect{0, 0, std::int16_t(document.screenHeight), std::int16_t(document.screenWidth)};
}

FrameRect ClipToScreen(const FrameRect& rect, const GifDocument& document) {
    const auto clamp = [](int value, int limit) {
        return std::int16_t(std::clamp(value, 0, limit));
    };
    const int width = document.screenWidth;
    const int height = document.screenHeight;
    return FrameRect{clamp(rect.top, height), clamp(rect.left, width), clamp(rect.bottom, height),
                     clamp(rect.right, width)};
}

// The smallest rectangle holding both (a collapsed rectangle takes part with
// its corner).
FrameRect Hull(const FrameRect& a, const FrameRect& b) {
    return FrameRect{std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
                     std::max(a.right, b.right)};
}

bool Contains(const FrameRect& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// The four screens of a run. `after` is the document's canvas; the others
// live only as long as the run. `underNext` keeps what the following frame
// covered on `next`, for a following frame that restores it.
struct WorkScreens {
    explicit WorkScreens(GifDocument& document) : after(document.canvas) {
        const std::uint16_t width = document.screenWidth;
        const std::uint16_t height = document.screenHeight;
        if (after.width != width || after.height != height) {
            ResizePixelMap(after, width, height);
        }
        InitPixelMap(before, width, height);
        InitPixelMap(next, width, height);
        const FrameRect whole = WholeScreen(document);
        FillRect(before, kBackgroundPixel, whole);
        FillRect(after, kBackgroundPixel, whole);
        FillRect(next, kBackgroundPixel, whole);
        if (std::any_of(document.frames.begin(), document.frames.end(),
                        [](const GifFrame* frame) { return RestoresPrevious(*frame); })) {
            InitPixelMap(underNext, width, height);
        }
    }
    ~WorkScreens() {
        FreePixels(before);
        FreePixels(next);
        FreePixels(underNext);
    }
    WorkScreens(const WorkScreens&) = delete;
    WorkScreens& operator=(const WorkScreens&) = delete;

    PixelMap before{};
    PixelMap& after;
    PixelMap next{};
    PixelMap underNext{};
};

// The bounding box of the pixels of `rect` that are marked. This is what
// shrinking each side in turn (left, top, right, bottom) while its edge
// holds no marked pixel comes to; with no pixel marked the rectangle
// collapses to its bottom-right corner. `rowMayMark` lets whole rows be
// passed over quickly.
template <typename RowMayMark, typename IsMarked>
FrameRect BoundMarked(const FrameRect& rect, std::uint32_t stride, RowMayMark rowMayMark,
                      IsMarked isMarked) {
    const int width = RectWidth(rect);
    int top = -1, bottom = 0, left = width, right = 0;
    for (int y = rect.top; y < rect.bottom && width > 0; ++y) {
        const std::uint32_t row = std::uint32_t(y) * stride + std::uint32_t(rect.left);
        if (!rowMayMark(row, width)) {
            continue;
        }
        int first = 0;
        while (first < width && !isMarked(row + std::uint32_t(first))) {
            ++first;
        }
        if (first == width) {
            continue;
        }
        int last = width - 1;
        while (last >= right && !isMarked(row + std::uint32_t(last))) {
            --last;
        }
        if (top < 0) {
            top = y;
        }
        bottom = y + 1;
        left = std::min(left, first);
        right = std::max(right, last + 1);
    }
    if (top < 0) {
        return FrameRect{rect.bottom, rect.right, rect.bottom, rect.right};
    }
    return FrameRect{std::int16_t(top), std::int16_t(rect.left + left), std::int16_t(bottom),
                     std::int16_t(rect.left + right)};
}

// Where the frame really changes the screen.
FrameRect ShrinkToChanges(const FrameRect& rect, const WorkScreens& screens) {
    const std::uint8_t* before = screens.before.pixels;
    const std::uint8_t* after = screens.after.pixels;
    return BoundMarked(
        rect, screens.after.width,
        [=](std::uint32_t at, int width) {
            return std::memcmp(before + at, after + at, std::size_t(width)) != 0;
        },
        [=](std::uint32_t at) { return before[at] != after[at]; });
}

// Where restoring to background is still needed: the frame leaves something
// that the following frame does not paint over. When the following frame
// restores what it covered, everything it paints comes off again, so every
// pixel the frame leaves must be cleared.
FrameRect ShrinkToCleared(const FrameRect& rect, const WorkScreens& screens,
                          bool followingRestores) {
    const std::uint8_t* after = screens.after.pixels;
    const std::uint8_t* next = screens.next.pixels;
    return BoundMarked(
        rect, screens.after.width, [](std::uint32_t, int) { return true; },
        [=](std::uint32_t at) {
            return after[at] != kBackgroundPixel &&
                   (followingRestores || next[at] == kBackgroundPixel);
        });
}

// Whether clearing `rect` would wipe something shown outside `allowed`.
bool WipesOutside(const FrameRect& rect, const FrameRect& allowed, const PixelMap& screen) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        const std::uint8_t* row = screen.pixels + std::size_t(y) * screen.width;
        for (int x = rect.left; x < rect.right; ++x) {
            if (row[x] != kBackgroundPixel && !Contains(allowed, x, y)) {
                return true;
            }
        }
    }
    return false;
}

// The rectangle the options ask for. A frame that clears its rectangle
// afterwards may clear only what its original rectangle covered (pixels
// there are either background or painted over by the following frame), so
// it keeps its own rectangle where growing it would wipe visible pixels.
FrameRect ApplyRectangleOptions(const FrameRect& rect, const GifDocument& document,
                                const CompressionOptions& options, bool first,
                                const GifFrame& frame, const FrameRect& original,
                                const PixelMap& after) {
    FrameRect grown = rect;
    if (!options.excludeOrigin) {
        grown.top = 0;
        grown.left = 0;
    }
    if (!options.smallFirstFrameRectangle && first) {
        grown = WholeScreen(document);
    }
    if (ClearsToBackground(frame) && WipesOutside(grown, original, after)) {
        return rect;
    }
    return grown;
}

// One pixel at the corner of a collapsed rectangle, moved inside the
// screen: a zero-sized image is refused by many decoders.
FrameRect OnePixelAt(const FrameRect& collapsed, const GifDocument& document) {
    const int left = std::max(0, std::min<int>(collapsed.left, document.screenWidth - 1));
    const int top = std::max(0, std::min<int>(collapsed.top, document.screenHeight - 1));
    return FrameRect{std::int16_t(top), std::int16_t(left), std::int16_t(top + 1),
                     std::int16_t(left + 1)};
}

// Highest index with a non-zero count, 0 when none.
int HighestUsedIndex(const std::vector<std::uint32_t>& histogram, int colourCount) {
    for (int i = std::min(int(histogram.size()), colourCount); i-- > 0;) {
        if (histogram[std::size_t(i)] != 0) {
            return i;
        }
    }
    return 0;
}

enum class RowMode {
    TransparentUnchanged,  // unchanged and background pixels transparent
    ExtendEqualRuns,       // ... then runs of one colour carried over unchanged pixels
    ExtendOpaqueRuns,      // ... then opaque runs carried over unchanged pixels
    Opaque,                // only background pixels transparent
};

// Lets shown pixels spread over their transparent neighbours, left to right
// and then right to left, where `carries(shown, neighbour's colour)` allows;
// each pass sees what it has already spread. Only colours of `after` are
// written, so what the frame shows stays the same.
template <typename Carries>
void ExtendRuns(std::uint8_t* out, int width, const std::uint8_t* after, std::uint8_t t,
                Carries carries) {
    for (int x = 1; x < width; ++x) {
        if (out[x - 1] != t && carries(out[x - 1], after[x])) {
            out[x] = after[x];
        }
    }
    for (int x = width - 1; x >= 1; --x) {
        if (out[x] != t && carries(out[x], after[x - 1])) {
            out[x - 1] = after[x - 1];
        }
    }
}

void FillRow(std::uint8_t* out, int width, const std::uint8_t* before, const std::uint8_t* after,
             std::uint8_t t, RowMode mode) {
    for (int x = 0; x < width; ++x) {
        const bool shows = after[x] != kBackgroundPixel;
        if (mode == RowMode::Opaque) {
            out[x] = shows ? after[x] : t;
        } else {
            out[x] = shows && before[x] != after[x] ? after[x] : t;
        }
    }
    if (mode == RowMode::ExtendEqualRuns) {
        ExtendRuns(out, width, after, t,
                   [](std::uint8_t shown, std::uint8_t colour) { return shown == colour; });
    } else if (mode == RowMode::ExtendOpaqueRuns) {
        ExtendRuns(out, width, after, t,
                   [](std::uint8_t, std::uint8_t colour) { return colour != kBackgroundPixel; });
    }
}

void EncodeWithMode(const GifDocument& document, GifFrame& frame, const WorkScreens& screens,
                    RowMode mode) {
    const std::uint8_t* before = screens.before.pixels;
    const std::uint8_t* after = screens.after.pixels;
    const std::uint8_t t = frame.transparentIndex;
    EncodeFrameImageWith(frame, frame.interlaced, screens.after.width,
                         ColoursNeeded(document, frame),
                         [=](std::uint8_t* row, std::uint16_t width, std::uint32_t at) {
                             FillRow(row, width, before + at, after + at, t, mode);
                         });
}

// The pixels a row mode gives the frame's rectangle, row after row.
std::vector<std::uint8_t> ModePixels(const GifFrame& frame, const WorkScreens& screens,
                                     RowMode mode) {
    const int width = RectWidth(frame.rect);
    const int height = RectHeight(frame.rect);
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const std::size_t at =
            std::size_t(frame.rect.top + y) * screens.after.width + std::size_t(frame.rect.left);
        FillRow(pixels.data() + std::size_t(y) * std::size_t(width), width,
                screens.before.pixels + at, screens.after.pixels + at, frame.transparentIndex,
                mode);
    }
    return pixels;
}

// The shortest encoded image met so far, held apart from its frame; freed
// unless handed back.
class ShortestImage {
public:
    ShortestImage() = default;
    ShortestImage(const ShortestImage&) = delete;
    ShortestImage& operator=(const ShortestImage&) = delete;
    ~ShortestImage() { JFree(bytes_); }

    // Takes the frame's encoded image when it is strictly shorter than the
    // one held (or none is held yet); otherwise frees it.
    void Offer(GifFrame& frame) {
        if (!bytes_ || frame.encodedSize < size_) {
            JFree(bytes_);
            bytes_ = frame.encodedImage;
            size_ = frame.encodedSize;
            frame.encodedImage = nullptr;
            frame.encodedSize = 0;
        } else {
            FreeEncodedImage(frame);
        }
    }

    std::uint32_t Size() const { return size_; }

    // Gives the held image to a frame that owns none.
    void HandTo(GifFrame& frame) {
        frame.encodedImage = bytes_;
        frame.encodedSize = size_;
        bytes_ = nullptr;
        size_ = 0;
    }

private:
    std::uint8_t* bytes_ = nullptr;
    std::uint32_t size_ = 0;
};

// Tries the row modes the options allow and leaves the shortest encoding in
// the frame; ties keep the earlier mode. A frame that clears its rectangle
// afterwards is encoded in the plain mode only.
void EncodeShortest(const GifDocument& document, GifFrame& frame, const WorkScreens& screens,
                    const CompressionOptions& options) {
    if (!options.useInterframeTransparency) {
        EncodeWithMode(document, frame, screens, RowMode::Opaque);
        return;
    }
    ShortestImage shortest;
    EncodeWithMode(document, frame, screens, RowMode::TransparentUnchanged);
    shortest.Offer(frame);
    if (!ClearsToBackground(frame)) {
        // A mode whose pixels equal an earlier mode's encodes to the same
        // bytes, which can never be strictly shorter: it is not encoded.
        std::vector<std::vector<std::uint8_t>> tried{
            ModePixels(frame, screens, RowMode::TransparentUnchanged)};
        for (RowMode mode :
             {RowMode::ExtendEqualRuns, RowMode::ExtendOpaqueRuns, RowMode::Opaque}) {
            std::vector<std::uint8_t> pixels = ModePixels(frame, screens, mode);
            if (std::find(tried.begin(), tried.end(), pixels) != tried.end()) {
                continue;
            }
            EncodeWithMode(document, frame, screens, mode);
            shortest.Offer(frame);
            tried.push_back(std::move(pixels));
        }
    }
    shortest.HandTo(frame);
}

// A frame that shows every pixel of its rectangle and whose transparent
// index would cost a wider code may do better without transparency; a tie
// goes to the version without.
bool MayDropTransparency(const GifDocument& document, const GifFrame& frame) {
    const int t = frame.transparentIndex;
    const std::uint64_t shown =
        std::accumulate(frame.histogram.begin(), frame.histogram.end(), std::uint64_t{0});
    const std::uint64_t area = std::uint64_t(RectWidth(frame.rect)) * RectHeight(frame.rect);
    return StaysInPlace(frame) && t > HighestUsedIndex(frame.histogram, document.colourCount) &&
           std::has_single_bit(unsigned(t)) && shown == area;
}

void DropTransparencyIfShorter(const GifDocument& document, GifFrame& frame,
                               const PixelMap& after) {
    ShortestImage withTransparency;
    withTransparency.Offer(frame);
    frame.transparent = false;
    EncodeFrameImage(after, frame, frame.interlaced, ColoursNeeded(document, frame));
    if (withTransparency.Size() < frame.encodedSize) {
        FreeEncodedImage(frame);
        withTransparency.HandTo(frame);
        frame.transparent = true;
    }
}

void CountShownColours(const GifDocument& document, GifFrame& frame, const PixelMap& after,
                       bool showsNothing) {
    frame.histogram.assign(document.colourCount, 0);
    if (!showsNothing) {
        CountColoursBelow255(after, frame.rect, document.colourCount, frame.histogram.data());
    }
}

struct FramePlace {
    bool first;              // no frame before it
    bool followingRestores;  // the following frame has disposal 3
};

void OptimiseFrame(const GifDocument& document, GifFrame& frame, const WorkScreens& screens,
                   const CompressionOptions& options, FramePlace place) {
    const FrameRect original = ClipToScreen(frame.rect, document);
    FrameRect rect = ShrinkToChanges(original, screens);
    if (ClearsToBackground(frame)) {
        const FrameRect cleared = ShrinkToCleared(original, screens, place.followingRestores);
        if (RectIsEmpty(cleared)) {
            frame.disposal = kDisposalKeep;
        } else {
            rect = Hull(rect, cleared);
        }
    }
    rect =
        ApplyRectangleOptions(rect, document, options, place.first, frame, original, screens.after);
    const bool showsNothing = RectIsEmpty(rect);
    frame.rect = showsNothing ? OnePixelAt(rect, document) : rect;
    CountShownColours(document, frame, screens.after, showsNothing);
    frame.transparent = true;
    frame.transparentIndex =
        PickTransparentIndex(document.colourCount, frame.histogram.data(), options.band);
    FreeEncodedImage(frame);
    if (showsNothing) {
        // Nothing differs, so the one pixel comes out transparent.
        EncodeWithMode(document, frame, screens, RowMode::TransparentUnchanged);
        return;
    }
    EncodeShortest(document, frame, screens, options);
    if (MayDropTransparency(document, frame)) {
        DropTransparencyIfShorter(document, frame, screens.after);
    }
}

// Turns a screen that shows a frame into the screen before the following
// frame; `under` holds what the frame covered, for disposal 3.
void Dispose(PixelMap& screen, const GifFrame& frame, const PixelMap& under) {
    if (ClearsToBackground(frame)) {
        FillRect(screen, kBackgroundPixel, frame.rect);
    } else if (RestoresPrevious(frame)) {
        CopyRect(under, screen, frame.rect);
    }
}

// Brings `before` from the screen before `previous` to the screen after it
// and its disposal; disposal 3 leaves it as it was.
void AdvanceBefore(PixelMap& before, const GifFrame& previous) {
    if (ClearsToBackground(previous)) {
        FillRect(before, kBackgroundPixel, previous.rect);
    } else if (StaysInPlace(previous)) {
        DrawFrame(before, previous);
    }
}

// Makes `next` show the following frame drawn over the screen it holds.
void DrawFollowing(WorkScreens& screens, const GifFrame& following) {
    if (RestoresPrevious(following)) {
        CopyRect(screens.next, screens.underNext, following.rect);
    }
    DrawFrame(screens.next, following);
}

// Moves `after` on to the screen of the following frame. That screen is
// already on `next`: the disposal as decided differs from the original one
// only where the following frame paints over, so copying the following
// frame's rectangle does what drawing it again would, without decoding it.
void AdvanceAfter(WorkScreens& screens, const GifFrame& current, const GifFrame& following) {
    Dispose(screens.after, current, screens.before);
    CopyRect(screens.next, screens.after, following.rect);
}

}  // namespace

void OptimiseFrames(GifDocument& document, const CompressionOptions& options) {
    // Without a screen there is no place for even a one-pixel frame.
    if (document.frames.empty() || document.screenWidth == 0 || document.screenHeight == 0) {
        return;
    }
    SetOmitFrameTerminators(options.omitFrameTerminators);
    WorkScreens screens(document);
    GifFrame& first = *document.frames.front();
    DrawFrame(screens.after, first);
    if (StaysInPlace(first)) {
        CopyRect(screens.after, screens.next, first.rect);
    }
    const std::size_t count = document.frames.size();
    for (std::size_t i = 0; i < count; ++i) {
        GifFrame& current = *document.frames[i];
        const bool last = i + 1 == count;
        GifFrame& following = last ? first : *document.frames[i + 1];
        if (i > 0) {
            AdvanceBefore(screens.before, *document.frames[i - 1]);
        }
        if (last) {
            FillRect(screens.next, kBackgroundPixel, WholeScreen(document));
            DrawFrame(screens.next, first);
        } else {
            DrawFollowing(screens, following);
        }
        OptimiseFrame(document, current, screens, options, {i == 0, RestoresPrevious(following)});
        StepProgress(1);
        if (last) {
            Dispose(screens.after, current, screens.before);
        } else {
            AdvanceAfter(screens, current, following);
            Dispose(screens.next, following, screens.underNext);
        }
    }
    RefreshCanvas(document);
}

int ColoursNeeded(const GifDocument& document, const GifFrame& frame) {
    return ColoursNeededInRange(frame, document.colourCount);
}

int ColoursNeededInRange(const GifFrame& frame, std::size_t range) {
    int highest = HighestUsedIndex(frame.histogram, int(std::min<std::size_t>(range, 256)));
    if (frame.transparent) {
        highest = std::max(highest, int(frame.transparentIndex));
    }
    return highest + 1;
}
