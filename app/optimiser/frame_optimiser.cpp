// Each frame is judged from three screens: `before` (what the viewer shows
// just before the frame is drawn, built from the frames as already
// optimised), `after` (the document's canvas: the screen just after the
// frame, as the file showed it originally) and `next` (the screen just after
// the following frame, where the last frame's following frame is the first
// one drawn on a cleared screen). Background, nothing drawn, is
// kBackgroundPixel on all three.
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
#include "app/optimiser/colour_tables.h"
#include "app/optimiser/progress.h"
#include "app/optimiser/size_estimate.h"

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

// Sizes are estimated from about a quarter of a large image's rows.
constexpr int kEstimateSampling = 4;
// How far the thorough mode's encoder looks ahead.
constexpr int kLookahead = 4;
// The moments to start a full table over that the thorough mode tries.
constexpr std::uint32_t kThoroughClearCheckGaps[] = {kClearCheckGap, kClearWhenFull,
                                                     kClearCheckGap / 3, kClearCheckGap * 3, ~0u};
// At most this many encodings per frame outside the thorough mode.
constexpr int kMostEncodes = 2;

// GIF images are at most 65535 pixels wide and high.
constexpr int kMaxImageSide = 0xFFFF;

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
        const FrameRect area = CanvasRect(document);
        InitPixelMap(before, area);
        // With one frame the screen after the following frame is `after`.
        if (document.frames.size() > 1) {
            InitPixelMap(next, area);
        }
        FillRect(after, kBackgroundPixel, area);
        if (std::any_of(
                document.frames.begin(), document.frames.end(),
                [](const std::unique_ptr<GifFrame>& frame) { return RestoresPrevious(*frame); })) {
            InitPixelMap(underNext, area);
        }
    }
    WorkScreens(const WorkScreens&) = delete;
    WorkScreens& operator=(const WorkScreens&) = delete;

    const PixelMap& Following() const { return next.pixels.empty() ? after : next; }

    PixelMap before;
    PixelMap& after;
    PixelMap next;
    PixelMap underNext;
};

// The bounding box of the pixels of `rect` that are marked. This is what
// shrinking each side in turn (left, top, right, bottom) while its edge
// holds no marked pixel comes to; with no pixel marked the rectangle
// collapses to its bottom-right corner. `rowMayMark` lets whole rows be
// passed over quickly.
template <typename RowMayMark, typename IsMarked>
FrameRect BoundMarked(const FrameRect& rect, const PixelMap& layout, RowMayMark rowMayMark,
                      IsMarked isMarked) {
    const int width = RectWidth(rect);
    int top = -1, bottom = 0, left = width, right = 0;
    for (int y = rect.top; y < rect.bottom && width > 0; ++y) {
        const std::size_t row = layout.Index(rect.left, y);
        if (!rowMayMark(row, width)) {
            continue;
        }
        int first = 0;
        while (first < width && !isMarked(row + std::size_t(first))) {
            ++first;
        }
        if (first == width) {
            continue;
        }
        int last = width - 1;
        while (last >= right && !isMarked(row + std::size_t(last))) {
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
    return FrameRect{top, rect.left + left, bottom, rect.left + right};
}

// Where the frame really changes the screen.
FrameRect ShrinkToChanges(const FrameRect& rect, const WorkScreens& screens) {
    const Pixel* before = screens.before.pixels.data();
    const Pixel* after = screens.after.pixels.data();
    return BoundMarked(
        rect, screens.after,
        [=](std::size_t at, int width) {
            return std::memcmp(before + at, after + at, std::size_t(width) * sizeof(Pixel)) != 0;
        },
        [=](std::size_t at) { return before[at] != after[at]; });
}

// Where restoring to background is still needed: the frame leaves something
// that the following frame does not paint over. When the following frame
// restores what it covered, everything it paints comes off again, so every
// pixel the frame leaves must be cleared.
FrameRect ShrinkToCleared(const FrameRect& rect, const WorkScreens& screens,
                          bool followingRestores) {
    const Pixel* after = screens.after.pixels.data();
    const Pixel* next = screens.Following().pixels.data();
    return BoundMarked(
        rect, screens.after, [](std::size_t, int) { return true; },
        [=](std::size_t at) {
            return after[at] != kBackgroundPixel &&
                   (followingRestores || next[at] == kBackgroundPixel);
        });
}

// Whether clearing `rect` would wipe something shown outside `allowed`.
bool WipesOutside(const FrameRect& rect, const FrameRect& allowed, const PixelMap& screen) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        const Pixel* row = screen.At(rect.left, y);
        for (int x = rect.left; x < rect.right; ++x) {
            if (row[x - rect.left] != kBackgroundPixel && !Contains(allowed, x, y)) {
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
        grown = Hull(grown, ClipToMap(ScreenRect(document), document.canvas));
    }
    if (RectWidth(grown) > kMaxImageSide || RectHeight(grown) > kMaxImageSide) {
        return rect;
    }
    if (ClearsToBackground(frame) && WipesOutside(grown, original, after)) {
        return rect;
    }
    return grown;
}

// One pixel at the corner of a collapsed rectangle, moved inside the
// screen: a zero-sized image is refused by many decoders.
FrameRect OnePixelAt(const FrameRect& collapsed, const GifDocument& document) {
    const FrameRect canvas = CanvasRect(document);
    const int left = std::clamp(collapsed.left, canvas.left, canvas.right - 1);
    const int top = std::clamp(collapsed.top, canvas.top, canvas.bottom - 1);
    return FrameRect{top, left, top + 1, left + 1};
}

enum class RowMode {
    TransparentUnchanged,  // unchanged and background pixels transparent
    ExtendEqualRuns,       // ... then runs of one colour carried over unchanged pixels
    ExtendOpaqueRuns,      // ... then opaque runs carried over unchanged pixels
    Opaque,                // only background pixels transparent
    // Short transparent stretches between shown pixels shown as they are,
    // then runs of one colour carried as in ExtendEqualRuns. A break in a
    // run of drawn pixels can cost more codes than its pixels would.
    ShowGapsBelow4,  // thorough mode only
    ShowGapsBelow12,
    ShowGapsBelow24,  // thorough mode only
    ShowGapsBelow40,
    ShowGapsBelow80,  // thorough mode only
};

// The shortest transparent stretch a mode leaves transparent, 0 for none.
int GapKept(RowMode mode) {
    switch (mode) {
        case RowMode::ShowGapsBelow4:
            return 4;
        case RowMode::ShowGapsBelow12:
            return 12;
        case RowMode::ShowGapsBelow24:
            return 24;
        case RowMode::ShowGapsBelow40:
            return 40;
        case RowMode::ShowGapsBelow80:
            return 80;
        default:
            return 0;
    }
}

// Calls visit(first, end) for each stretch of transparent pixels of a row,
// in order; visit may show pixels within its stretch.
template <typename Visit>
void ForEachTransparentStretch(Pixel* out, int width, Visit visit) {
    Pixel* const end = out + width;
    Pixel* stretch = std::find(out, end, kBackgroundPixel);
    while (stretch != end) {
        Pixel* const stretchEnd =
            std::find_if(stretch, end, [](Pixel p) { return p != kBackgroundPixel; });
        visit(stretch, stretchEnd);
        stretch = std::find(stretchEnd, end, kBackgroundPixel);
    }
}

// Shows the transparent stretches shorter than `gapKept` that lie between
// shown pixels. Pixels left undrawn (background after the frame) stay
// transparent.
void ShowShortGaps(Pixel* out, int width, const Pixel* after, int gapKept) {
    ForEachTransparentStretch(out, width, [=](Pixel* first, Pixel* end) {
        if (first != out && end != out + width && end - first < gapKept) {
            std::copy(after + (first - out), after + (end - out), first);
        }
    });
}

// Lets shown pixels spread over their transparent neighbours, left to right
// and then right to left, where `carries(shown, neighbour's colour)` allows;
// each pass sees what it has already spread. Only colours of `after` are
// written, so what the frame shows stays the same. Only the transparent
// stretches are visited: from the left end as far as the pixel before
// carries, then from the right end.
template <typename Carries>
void ExtendRuns(Pixel* out, int width, const Pixel* after, Carries carries) {
    ForEachTransparentStretch(out, width, [=](Pixel* first, Pixel* end) {
        Pixel* left = first;
        if (first != out) {
            for (; left != end && carries(left[-1], after[left - out]); ++left) {
                *left = after[left - out];
            }
        }
        if (end != out + width) {
            for (Pixel* right = end; right != left && carries(*right, after[right - 1 - out]);
                 --right) {
                right[-1] = after[right - 1 - out];
            }
        }
    });
}

// A run of one colour goes on over pixels of that colour. (Undrawn pixels
// stay transparent: a transparent pixel never matches a drawn colour, and
// an undrawn one is transparent already.)
void ExtendEqualRuns(Pixel* out, int width, const Pixel* after) {
    ExtendRuns(out, width, after, [](Pixel shown, Pixel colour) { return shown == colour; });
}

// Any shown pixel goes on over drawn pixels.
void ExtendOpaqueRuns(Pixel* out, int width, const Pixel* after) {
    ExtendRuns(out, width, after, [](Pixel shown, Pixel colour) {
        return (shown != kBackgroundPixel) & (colour != kBackgroundPixel);
    });
}

// The changed pixels of a row, the others transparent. The rows never
// overlap, which lets the compiler do many pixels at once.
void ShowChanges(Pixel* __restrict out, int width, const Pixel* __restrict before,
                 const Pixel* __restrict after) {
    for (int x = 0; x < width; ++x) {
        out[x] = before[x] != after[x] ? after[x] : kBackgroundPixel;
    }
}

// One row of the frame's image; kBackgroundPixel marks a transparent pixel.
// Drawing never leaves background behind, so a pixel that is background
// after the frame was background before it too.
void FillRow(Pixel* out, int width, const Pixel* before, const Pixel* after, RowMode mode) {
    if (mode == RowMode::Opaque) {
        std::copy(after, after + width, out);
        return;
    }
    // Nothing in an unchanged row is shown in any other mode.
    if (std::equal(before, before + width, after)) {
        std::fill(out, out + width, kBackgroundPixel);
        return;
    }
    ShowChanges(out, width, before, after);
    const int gapKept = GapKept(mode);
    if (gapKept > 0) {
        ShowShortGaps(out, width, after, gapKept);
    }
    if (mode == RowMode::ExtendEqualRuns || gapKept > 0) {
        ExtendEqualRuns(out, width, after);
    } else if (mode == RowMode::ExtendOpaqueRuns) {
        ExtendOpaqueRuns(out, width, after);
    }
}

// The pixels a row mode gives the frame's rectangle, row after row, into
// `pixels` (whose storage is reused from frame to frame).
void FillModePixels(std::vector<Pixel>& pixels, const FrameRect& rect, const WorkScreens& screens,
                    RowMode mode) {
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    pixels.resize(std::size_t(width) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const std::size_t at = screens.after.Index(rect.left, rect.top + y);
        FillRow(pixels.data() + std::size_t(y) * std::size_t(width), width,
                screens.before.pixels.data() + at, screens.after.pixels.data() + at, mode);
    }
}

// What a frame is written as, apart from its rectangle and disposal.
struct FrameEncoding {
    std::vector<std::uint8_t> encoded;
    ColourIds table;
    bool local = false;
    bool transparent = false;
    std::uint8_t transparentIndex = 0;
    std::vector<std::uint32_t> histogram;
    std::vector<std::uint8_t> indices;  // what was encoded, row after row
};

// Bytes of a table of its own: 2^bits entries of three bytes.
std::size_t LocalTableBytes(int coloursNeeded) {
    return std::size_t(3) << BitsForColours(coloursNeeded);
}

int ColoursNeededFor(const std::vector<std::uint32_t>& histogram, bool transparent,
                     std::uint8_t transparentIndex) {
    int highest = 0;
    for (std::size_t i = histogram.size(); i-- > 0;) {
        if (histogram[i] != 0) {
            highest = int(i);
            break;
        }
    }
    if (transparent) {
        highest = std::max(highest, int(transparentIndex));
    }
    return highest + 1;
}

FrameEncoding Encode(const FrameRect& rect, bool interlaced, TablePlan plan) {
    FrameImage image{rect, {}};
    const int needed = ColoursNeededFor(plan.histogram, plan.transparent, plan.transparentIndex);
    EncodeIndices(image, interlaced, needed, plan.indices.data());
    return FrameEncoding{std::move(image.encoded), std::move(plan.table), plan.local,
                         plan.transparent,         plan.transparentIndex, std::move(plan.histogram),
                         std::move(plan.indices)};
}

// The thorough mode's last step: the chosen encoding is encoded again with
// an encoder that looks ahead, starting a full table over at other moments,
// and the shortest is kept.
void EncodeHarder(FrameEncoding& encoding, const FrameRect& rect, bool interlaced) {
    const int needed =
        ColoursNeededFor(encoding.histogram, encoding.transparent, encoding.transparentIndex);
    for (std::uint32_t gap : kThoroughClearCheckGaps) {
        FrameImage other{rect, {}};
        EncodeIndices(other, interlaced, needed, encoding.indices.data(), {gap, kLookahead});
        if (other.encoded.size() < encoding.encoded.size()) {
            encoding.encoded = std::move(other.encoded);
        }
    }
}

std::size_t WrittenSize(const FrameEncoding& encoding) {
    const std::size_t table =
        encoding.local ? LocalTableBytes(ColoursNeededFor(encoding.histogram, encoding.transparent,
                                                          encoding.transparentIndex))
                       : 0;
    return encoding.encoded.size() + table;
}

// The global table and what finds colours in it, for one run, and the
// pixel buffers the frames reuse.
struct TableContext {
    ColourIds global;
    TableLookup globalLookup;
    TableLookup scratch;
    TransparencyBand band;
    std::uint8_t backgroundIndex;  // as the stream will be written
    std::vector<Pixel> modePixels;
};

// What image libraries that fill undrawn areas (with the background colour,
// or the first frame's transparent index) would show differently, and so
// must stay as it was: whether the frame declares transparency.
enum class Transparency {
    AsNeeded,  // declared only when some pixel is transparent
    Declared,  // declared even when no pixel is transparent
    Absent,    // never declared: only the opaque mode serves
};

int RootBits(int colours) {
    return std::max(BitsForColours(colours), 2);
}

// A frame that uses few colours spread over a large global table may be
// shorter with a small table of its own and narrower codes. Outside the
// thorough mode that is tried only where the estimate says it wins. Kept
// when strictly shorter; returns whether it was encoded.
bool TryOwnTable(FrameEncoding& shortest, const std::vector<Pixel>& pixels, const GifFrame& frame,
                 const FrameRect& rect, Transparency transparency,
                 std::optional<PinnedColour> pinned, TableContext& tables, bool thorough) {
    const int globalColours =
        ColoursNeededFor(shortest.histogram, shortest.transparent, shortest.transparentIndex);
    std::optional<TablePlan> plan =
        PlanTable(pixels, transparency == Transparency::Declared, pinned, tables.global,
                  tables.globalLookup, tables.scratch, tables.band, true);
    if (!plan) {
        return false;
    }
    const int ownColours = int(plan->table.size()) + (plan->transparent ? 1 : 0);
    if (BitsForColours(ownColours) >= BitsForColours(globalColours)) {
        return false;
    }
    if (!thorough) {
        const int width = RectWidth(rect);
        const std::uint64_t globalBits =
            EstimateLzwBits(pixels, width, RootBits(globalColours), kEstimateSampling);
        const std::uint64_t ownBits =
            EstimateLzwBits(pixels, width, RootBits(ownColours), kEstimateSampling);
        const std::uint64_t predicted =
            shortest.encoded.size() * ownBits / std::max<std::uint64_t>(globalBits, 1) +
            LocalTableBytes(ownColours);
        if (predicted >= shortest.encoded.size()) {
            return false;
        }
    }
    FrameEncoding own = Encode(rect, frame.interlaced, std::move(*plan));
    if (!thorough) {
        own.indices = std::vector<std::uint8_t>();
    }
    if (WrittenSize(own) < WrittenSize(shortest)) {
        shortest = std::move(own);
    }
    return true;
}

std::vector<RowMode> ModesToTry(const GifFrame& frame, const CompressionOptions& options,
                                Transparency transparency) {
    if (!options.useInterframeTransparency || transparency == Transparency::Absent) {
        return {RowMode::Opaque};
    }
    if (ClearsToBackground(frame)) {
        return {RowMode::TransparentUnchanged};
    }
    std::vector<RowMode> modes{RowMode::TransparentUnchanged, RowMode::ExtendEqualRuns,
                               RowMode::ExtendOpaqueRuns,     RowMode::Opaque,
                               RowMode::ShowGapsBelow12,      RowMode::ShowGapsBelow40};
    if (options.thorough) {
        modes.insert(modes.end(),
                     {RowMode::ShowGapsBelow4, RowMode::ShowGapsBelow24, RowMode::ShowGapsBelow80});
    }
    return modes;
}

struct ModeEstimate {
    RowMode mode;
    std::uint64_t bits;
    bool exact;  // the whole image was parsed
};

std::uint64_t HashPixels(const std::vector<Pixel>& pixels) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (Pixel pixel : pixels) {
        hash = (hash ^ pixel) * 0x100000001B3ull;
    }
    return hash;
}

// The modes ranked by their estimated size, shortest first (ties keep the
// earlier mode). A mode whose pixels equal an earlier mode's encodes to the
// same bytes and is left out, as is one that needs transparency where none
// may be declared.
std::vector<ModeEstimate> RankModes(const std::vector<RowMode>& modes, const FrameRect& rect,
                                    const WorkScreens& screens, Transparency transparency,
                                    TableContext& tables) {
    std::vector<ModeEstimate> ranked;
    std::vector<std::uint64_t> seen;
    const int rootBits = RootBits(int(tables.global.size()));
    for (RowMode mode : modes) {
        FillModePixels(tables.modePixels, rect, screens, mode);
        const std::uint64_t hash = modes.size() > 1 ? HashPixels(tables.modePixels) : 0;
        if (std::find(seen.begin(), seen.end(), hash) != seen.end()) {
            continue;
        }
        seen.push_back(hash);
        if (transparency == Transparency::Absent &&
            std::find(tables.modePixels.begin(), tables.modePixels.end(), kBackgroundPixel) !=
                tables.modePixels.end()) {
            continue;
        }
        const bool exact = tables.modePixels.size() < kEstimateWholeBelow;
        const std::uint64_t bits =
            modes.size() > 1
                ? EstimateLzwBits(tables.modePixels, RectWidth(rect), rootBits, kEstimateSampling)
                : 0;
        ranked.push_back({mode, bits, exact});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const ModeEstimate& a, const ModeEstimate& b) { return a.bits < b.bits; });
    return ranked;
}

// Whether a mode ranked after the one encoded first may still come out
// shorter: estimates of sampled images are rougher than whole parses.
bool WorthEncoding(const ModeEstimate& candidate, const ModeEstimate& first) {
    const std::uint64_t margin = candidate.exact && first.exact ? 100 : 20;
    return candidate.bits <= first.bits + first.bits / margin;
}

// The mode's pixels (left in tables.modePixels) encoded with the global
// table; none when its colours do not fit.
std::optional<FrameEncoding> EncodeMode(RowMode mode, const GifFrame& frame, const FrameRect& rect,
                                        const WorkScreens& screens, Transparency transparency,
                                        std::optional<PinnedColour> pinned, TableContext& tables) {
    FillModePixels(tables.modePixels, rect, screens, mode);
    std::optional<TablePlan> plan =
        PlanTable(tables.modePixels, transparency == Transparency::Declared, pinned, tables.global,
                  tables.globalLookup, tables.scratch, tables.band);
    if (!plan) {
        return std::nullopt;
    }
    return Encode(rect, frame.interlaced, std::move(*plan));
}

// The thorough mode encodes every mode, each also with a table of its own,
// keeps the shortest and encodes that once more, harder. Every choice the
// default mode may make is among these, so it never comes out longer.
std::optional<FrameEncoding> EncodeEveryWay(const GifFrame& frame, const FrameRect& rect,
                                            const WorkScreens& screens,
                                            const std::vector<ModeEstimate>& modes,
                                            Transparency transparency,
                                            std::optional<PinnedColour> pinned,
                                            TableContext& tables) {
    std::optional<FrameEncoding> shortest;
    for (const ModeEstimate& candidate : modes) {
        std::optional<FrameEncoding> encoded =
            EncodeMode(candidate.mode, frame, rect, screens, transparency, pinned, tables);
        if (!encoded) {
            continue;
        }
        FrameEncoding& encoding = *encoded;
        if (!encoding.local) {
            TryOwnTable(encoding, tables.modePixels, frame, rect, transparency, pinned, tables,
                        true);
        }
        if (!shortest || WrittenSize(encoding) < WrittenSize(*shortest)) {
            shortest = std::move(encoding);
        }
    }
    if (shortest) {
        EncodeHarder(*shortest, rect, frame.interlaced);
    }
    return shortest;
}

// Returns the way of writing the frame that comes out shortest (its own
// table counted). The row modes the options allow are ranked by a quick
// estimate; the best is encoded, then either a table of its own or the
// runner-up where the estimates say it may win: at most two encodings. A
// frame that clears its rectangle afterwards is encoded in the plain mode
// only. None when no mode's colours fit one table.
std::optional<FrameEncoding> EncodeShortest(const GifFrame& frame, const FrameRect& rect,
                                            const WorkScreens& screens,
                                            const CompressionOptions& options,
                                            Transparency transparency,
                                            std::optional<PinnedColour> pinned,
                                            TableContext& tables) {
    const std::vector<ModeEstimate> ranked =
        RankModes(ModesToTry(frame, options, transparency), rect, screens, transparency, tables);
    if (options.thorough) {
        return EncodeEveryWay(frame, rect, screens, ranked, transparency, pinned, tables);
    }
    std::optional<FrameEncoding> shortest;
    const ModeEstimate* firstEncoded = nullptr;
    int encodes = 0;
    for (const ModeEstimate& candidate : ranked) {
        if (firstEncoded && (encodes == kMostEncodes || !WorthEncoding(candidate, *firstEncoded))) {
            break;
        }
        std::optional<FrameEncoding> encoded =
            EncodeMode(candidate.mode, frame, rect, screens, transparency, pinned, tables);
        if (!encoded) {
            continue;
        }
        FrameEncoding& encoding = *encoded;
        // Only the thorough mode encodes the indices again.
        encoding.indices = std::vector<std::uint8_t>();
        ++encodes;
        if (!shortest || WrittenSize(encoding) < WrittenSize(*shortest)) {
            shortest = std::move(encoding);
        }
        if (!firstEncoded) {
            firstEncoded = &candidate;
            // A table of its own takes the place of the runner-up.
            if (!shortest->local && TryOwnTable(*shortest, tables.modePixels, frame, rect,
                                                transparency, pinned, tables, false)) {
                return shortest;
            }
        }
    }
    return shortest;
}

void TakeEncoding(GifFrame& frame, FrameEncoding encoding) {
    frame.encoded = std::move(encoding.encoded);
    frame.table = std::move(encoding.table);
    frame.localTable = encoding.local;
    frame.transparent = encoding.transparent;
    frame.transparentIndex = encoding.transparentIndex;
    frame.histogram = std::move(encoding.histogram);
}

// The frame as it came: it shows what it showed, whatever its colours.
void KeepAsItWas(GifFrame& frame, const FrameRect& rect, std::uint8_t disposal,
                 const TableContext& tables) {
    frame.rect = rect;
    frame.disposal = disposal;
    frame.localTable = !(frame.table.size() <= tables.global.size() &&
                         std::equal(frame.table.begin(), frame.table.end(), tables.global.begin()));
}

struct FramePlace {
    bool first;              // no frame before it
    bool followingRestores;  // the following frame has disposal 3
    bool leavesBackground;   // first, and its screen leaves something undrawn
};

// A first screen that leaves anything undrawn is shown differently by
// image libraries: undrawn areas outside the first frame take the background
// colour or index 0, and the whole screen starts transparent when the first
// frame declares transparency. Such a first frame keeps its rectangle and
// its transparency, or comes as it was when it had none.
bool FirstScreenLeavesBackground(const GifDocument& document) {
    return ShowsBackground(document);
}

// A frame that clears to background is cleared to its transparent colour by
// such libraries when it declares transparency, else to the background
// colour: it keeps declaring transparency or not.
Transparency TransparencyToKeep(const GifFrame& frame, bool first, bool leavesBackground) {
    if (!frame.hasControl) {
        return Transparency::Absent;  // it stays without a graphic control extension
    }
    if ((first && leavesBackground) || ClearsToBackground(frame)) {
        return frame.transparent ? Transparency::Declared : Transparency::Absent;
    }
    return Transparency::AsNeeded;
}

// Those libraries clear a frame disposed to background without transparency
// to the background index's entry of the frame's own table: that entry keeps
// its colour.
std::optional<PinnedColour> ClearColourToKeep(const GifDocument& document, const GifFrame& frame,
                                              Transparency transparency,
                                              const TableContext& tables) {
    if (!ClearsToBackground(frame) || transparency != Transparency::Absent ||
        document.backgroundIndex >= frame.table.size()) {
        return std::nullopt;
    }
    return PinnedColour{tables.backgroundIndex, frame.table[document.backgroundIndex]};
}

void OptimiseFrame(const GifDocument& document, GifFrame& frame, const WorkScreens& screens,
                   const CompressionOptions& options, FramePlace place, TableContext& tables) {
    frame.changesNothing = false;
    const FrameRect originalRect = frame.rect;
    const std::uint8_t originalDisposal = frame.disposal;
    const FrameRect original = ClipToMap(frame.rect, document.canvas);
    const bool firstLeavesBackground = place.leavesBackground;
    if (firstLeavesBackground && !frame.transparent) {
        KeepAsItWas(frame, originalRect, originalDisposal, tables);
        return;
    }
    FrameRect rect = ShrinkToChanges(original, screens);
    if (ClearsToBackground(frame)) {
        const FrameRect cleared = ShrinkToCleared(original, screens, place.followingRestores);
        if (RectIsEmpty(cleared)) {
            frame.disposal = kDisposalKeep;
        } else {
            rect = Hull(rect, cleared);
        }
    }
    // Nothing to draw and nothing to clear: the screen stays as it was.
    const bool changesNothing = RectIsEmpty(rect) && !place.first;
    if (firstLeavesBackground) {
        rect = original;
    } else {
        rect = ApplyRectangleOptions(rect, document, options, place.first, frame, original,
                                     screens.after);
    }
    if (RectIsEmpty(rect)) {
        // Nothing differs, so the one pixel comes out transparent.
        rect = OnePixelAt(rect, document);
    }
    const Transparency transparency = TransparencyToKeep(frame, place.first, firstLeavesBackground);
    std::optional<FrameEncoding> encoding =
        EncodeShortest(frame, rect, screens, options, transparency,
                       ClearColourToKeep(document, frame, transparency, tables), tables);
    if (!encoding) {
        KeepAsItWas(frame, originalRect, originalDisposal, tables);
        return;
    }
    frame.rect = rect;
    TakeEncoding(frame, std::move(*encoding));
    frame.changesNothing = changesNothing;
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

// Brings `before` from the screen before the current frame to the screen
// after it and its disposal, while `after` still shows the frame drawn: the
// frame as optimised shows what `after` holds within its rectangle, so that
// is copied rather than decoded. Disposal 3 leaves `before` as it was.
void AdvanceBefore(WorkScreens& screens, const GifFrame& current) {
    if (ClearsToBackground(current)) {
        FillRect(screens.before, kBackgroundPixel, current.rect);
    } else if (StaysInPlace(current)) {
        CopyRect(screens.after, screens.before, current.rect);
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

// The canvas covers the frames only; where the options grow rectangles to
// the screen's corner or the whole screen, it must reach there too.
void MakeRoomForGrownFrames(GifDocument& document, const CompressionOptions& options) {
    FrameRect needed = CanvasRect(document);
    if (!options.excludeOrigin) {
        needed = RectUnion(needed, FrameRect{0, 0, 1, 1});
    }
    if (!options.smallFirstFrameRectangle) {
        needed = RectUnion(needed, ScreenRect(document));
    }
    if (!(needed == CanvasRect(document))) {
        InitPixelMap(document.canvas, needed);
    }
}

}  // namespace

ColourIds OptimiseFrames(GifDocument& document, const CompressionOptions& options) {
    // Without a canvas there is no place for even a one-pixel frame.
    if (document.frames.empty() || document.canvas.width == 0 || document.canvas.height == 0) {
        return {};
    }
    SetOmitFrameTerminators(options.omitFrameTerminators);
    MakeRoomForGrownFrames(document, options);
    WorkScreens screens(document);
    GifFrame& first = *document.frames.front();
    DrawFrame(screens.after, first);
    // A first frame that comes as it was keeps the global table it had, so
    // that its colour 0 and background entry stay where they were.
    const bool firstLeavesBackground = FirstScreenLeavesBackground(document);
    const bool keepsFirstTable = firstLeavesBackground && !first.transparent && !first.localTable;
    ColourIds global = ChooseGlobalTable(document, keepsFirstTable ? &first.table : nullptr);
    const std::uint8_t backgroundIndex = WrittenBackgroundIndex(document, global);
    TableContext tables{std::move(global),
                        TableLookup(document.colours.size()),
                        TableLookup(document.colours.size()),
                        options.band,
                        backgroundIndex,
                        {}};
    tables.globalLookup.Set(tables.global);
    const std::size_t count = document.frames.size();
    if (StaysInPlace(first) && count > 1) {
        CopyRect(screens.after, screens.next, first.rect);
    }
    for (std::size_t i = 0; i < count; ++i) {
        GifFrame& current = *document.frames[i];
        const bool last = i + 1 == count;
        GifFrame& following = last ? first : *document.frames[i + 1];
        if (last && count > 1) {
            FillRect(screens.next, kBackgroundPixel, CanvasRect(document));
            DrawFrame(screens.next, first);
        } else if (!last) {
            DrawFollowing(screens, following);
        }
        OptimiseFrame(document, current, screens, options,
                      {i == 0, RestoresPrevious(following), i == 0 && firstLeavesBackground},
                      tables);
        StepProgress(1);
        if (last) {
            break;  // the canvas is rebuilt below
        }
        AdvanceBefore(screens, current);
        AdvanceAfter(screens, current, following);
        Dispose(screens.next, following, screens.underNext);
    }
    RefreshCanvas(document);
    document.backgroundIndex = tables.backgroundIndex;
    return tables.global;
}

int ColoursNeeded(const GifFrame& frame) {
    return ColoursNeededFor(frame.histogram, frame.transparent, frame.transparentIndex);
}
