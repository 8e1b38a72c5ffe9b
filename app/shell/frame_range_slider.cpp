#include "app/shell/frame_range_slider.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/platform/draw/pictures.h"
#include "framework/ui/control_drawing.h"

// A thumb is a square picture of a round knob, copied only where the knob
// covers it. The picture's corners hold the groove as it looks across the
// track, so the knob's soft edge blends with the groove it sits on; a tick
// under a thumb is drawn again outside the knob's circle.

namespace {

constexpr int kNoThumb = -1;

struct Thumb {
    int centre = 0;  // along the track, from the control's start
    int value = 0;
};

struct RangeSlider : JKindRecord {
    int maximum = 3;
    std::array<Thumb, 2> thumbs;
    int reportedLow = 0;
    int reportedHigh = 0;
    bool vertical = true;
    FrameRangeGeometry geometry;
    // While a thumb is dragged: which, and where along the track the
    // pointer held it, relative to its centre.
    int dragged = kNoThumb;
    int grabOffset = 0;
    FrameRangePressedCallback pressed = nullptr;
    FrameRangeChangeCallback changing = nullptr;
    FrameRangeChangeCallback changed = nullptr;
};

RangeSlider* SliderOf(JControl* control) {
    return JKindDataOf<RangeSlider>(control);
}

// --- values and pixels ---

int TruncatedValue(const FrameRangeGeometry& geometry, int maximum, int pixel) {
    const std::int64_t span = geometry.lastPixel - geometry.firstPixel;
    if (span <= 0) {
        return 0;
    }
    const std::int64_t value = (pixel - geometry.firstPixel) * std::int64_t{maximum} / span;
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, maximum));
}

int PixelOf(const RangeSlider& slider, int value) {
    return FrameRangePixelOfValue(slider.geometry, slider.maximum, value);
}

// A thumb still on its value's pixel keeps its value: where several values
// share one pixel, the pixel alone cannot say which.
int ValueOfThumb(const RangeSlider& slider, const Thumb& thumb) {
    if (thumb.centre == PixelOf(slider, thumb.value)) {
        return thumb.value;
    }
    return FrameRangeValueAtPixel(slider.geometry, slider.maximum, thumb.centre);
}

// Thumb values as they are now: a dragged thumb's from where it is.
int LiveValue(const RangeSlider& slider, int index) {
    const Thumb& thumb = slider.thumbs[index];
    return index == slider.dragged ? ValueOfThumb(slider, thumb) : thumb.value;
}

std::pair<int, int> LiveRange(const RangeSlider& slider) {
    return std::minmax(LiveValue(slider, 0), LiveValue(slider, 1));
}

// --- places in the window ---

int AcrossCentre(const FrameRangeGeometry& geometry) {
    return (geometry.thickness - 1) / 2;
}

// The rectangle [along0, along1) by [across0, across1) in window content
// coordinates.
JRect Span(const JControl* control, bool vertical, int along0, int along1, int across0,
           int across1) {
    if (vertical) {
        return JRect{control->left + across0, control->top + along0, control->left + across1,
                     control->top + along1};
    }
    return JRect{control->left + along0, control->top + across0, control->left + along1,
                 control->top + across1};
}

JRect ThumbSquare(JControl* control, const Thumb& thumb) {
    const RangeSlider* slider = SliderOf(control);
    const int r = slider->geometry.thumbRadius;
    const int across = AcrossCentre(slider->geometry);
    return Span(control, slider->vertical, thumb.centre - r, thumb.centre + r + 1, across - r,
                across + r + 1);
}

JRect GrooveRect(JControl* control) {
    const RangeSlider* slider = SliderOf(control);
    const FrameRangeGeometry& g = slider->geometry;
    return Span(control, slider->vertical, g.firstPixel - g.thumbRadius,
                g.lastPixel + g.thumbRadius + 1, g.trackInset, g.thickness - g.trackInset);
}

void Invalidate(JControl* control, const JRect& rect) {
    if (control->Visible() && control->owner != nullptr && !control->owner->Destroyed()) {
        JInvalidateRect(control->owner->platform, &rect);
    }
}

void MoveThumb(JControl* control, Thumb& thumb, int centre) {
    if (thumb.centre == centre) {
        return;
    }
    Invalidate(control, ThumbSquare(control, thumb));
    thumb.centre = centre;
    Invalidate(control, ThumbSquare(control, thumb));
}

// A sunken groove: a two-pixel bevel around a channel of the face colour.
void DrawGroove(const JRect& groove) {
    JUiRing(groove, JUiShadow(), JUiWhite());
    const JRect inner = JUiInset(groove, 1);
    JUiRing(inner, JUiBlack(), JUiLight());
    const JRect channel = JUiInset(groove, 2);
    JSetForeColour(JUiFace());
    JFillRect(channel.left, channel.top, channel.right, channel.bottom);
}

// --- the thumb pictures ---

struct ThumbPictures {
    JSurface enabled;
    JSurface disabled;
    // Per picture row, the columns the knob covers at all: [first, last).
    std::vector<std::pair<int, int>> rows;
};

using ThumbPictureKey = std::tuple<int, int, bool>;  // width, height, vertical

std::map<ThumbPictureKey, ThumbPictures>& ThumbPictureCache() {
    static std::map<ThumbPictureKey, ThumbPictures> cache;
    return cache;
}

std::uint32_t Mix(std::uint32_t from, std::uint32_t to, double amount) {
    const auto channel = [&](int shift) {
        const double a = (from >> shift) & 0xFF;
        const double b = (to >> shift) & 0xFF;
        return static_cast<std::uint32_t>(std::lround(a + (b - a) * amount)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

// The knob's circle has the thumb's radius about its centre pixel's
// centre, so its outermost pixels are half covered and blend with the
// groove.
double KnobEdge(int radius) {
    return radius;
}

// The knob at a point (x, y) from its centre: a dark rim one pixel wide
// around a face lit from the top left.
std::uint32_t KnobColour(double x, double y, double edge, bool enabled) {
    const std::uint32_t face = JColourToRgb(JUiFace());
    const std::uint32_t shadow = JColourToRgb(JUiShadow());
    if (std::hypot(x, y) > edge - 1.0) {
        return enabled ? Mix(shadow, JColourToRgb(JUiBlack()), 0.35) : shadow;
    }
    if (!enabled) {
        return face;
    }
    const std::uint32_t base = Mix(face, JColourToRgb(JUiWhite()), 0.3);
    const double light = -(x + y) / (edge * std::sqrt(2.0));
    return light > 0 ? Mix(base, JColourToRgb(JUiWhite()), 0.9 * light)
                     : Mix(base, shadow, -0.7 * light);
}

// How much of each picture pixel the knob covers, from 8 by 8 samples, and
// the knob's colour there; the rest is what lies under it.
void PaintKnob(JSurface* picture, int radius, bool enabled) {
    constexpr int kSamples = 8;
    const double edge = KnobEdge(radius);
    const double centre = radius + 0.5;
    for (int py = 0; py < picture->height; ++py) {
        for (int px = 0; px < picture->width; ++px) {
            double red = 0;
            double green = 0;
            double blue = 0;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = px + (sx + 0.5) / kSamples - centre;
                    const double y = py + (sy + 0.5) / kSamples - centre;
                    if (std::hypot(x, y) > edge) {
                        continue;
                    }
                    const std::uint32_t colour = KnobColour(x, y, edge, enabled);
                    red += JRgbRed(colour);
                    green += JRgbGreen(colour);
                    blue += JRgbBlue(colour);
                    ++covered;
                }
            }
            std::uint32_t& pixel = picture->Row(py)[px];
            const int uncovered = kSamples * kSamples - covered;
            const auto blend = [&](double knob, std::uint32_t under) {
                return static_cast<std::uint32_t>(
                    std::lround((knob + under * uncovered) / (kSamples * kSamples)));
            };
            pixel = JRgb(blend(red, JRgbRed(pixel)), blend(green, JRgbGreen(pixel)),
                         blend(blue, JRgbBlue(pixel)));
        }
    }
}

// The columns of each row that any part of the knob reaches.
std::vector<std::pair<int, int>> KnobRows(int radius) {
    const int size = 2 * radius + 1;
    const double edge = KnobEdge(radius);
    std::vector<std::pair<int, int>> rows(size, {0, 0});
    for (int dy = -radius; dy <= radius; ++dy) {
        const double nearY = std::max(std::abs(dy) - 0.5, 0.0);
        int reach = -1;
        for (int dx = 0; dx <= radius; ++dx) {
            const double nearX = std::max(dx - 0.5, 0.0);
            if (nearX * nearX + nearY * nearY < edge * edge) {
                reach = dx;
            }
        }
        if (reach >= 0) {
            rows[dy + radius] = {radius - reach, radius + reach + 1};
        }
    }
    return rows;
}

// The square around a thumb as it looks without the thumb: the control's
// face, and the groove running through it from end to end.
JSurface GrooveUnderThumb(JControl* control) {
    const RangeSlider* slider = SliderOf(control);
    const FrameRangeGeometry& g = slider->geometry;
    const int size = g.pictureSize;
    JSurface surface;
    JSurfaceResize(&surface, size, size, JColourToRgb(JUiFace()));
    DrawPort port;
    port.kind = DrawPortKind::Picture;
    port.surface = &surface;
    const DrawingState saved = JSaveDrawingState();
    JSelectPort(&port);
    JClearClip();
    // The square's first row across the track, as the groove's origin.
    const int offset = AcrossCentre(g) - g.thumbRadius;
    const int across0 = g.trackInset - offset;
    const int across1 = g.thickness - g.trackInset - offset;
    DrawGroove(slider->vertical ? JRect{across0, -4, across1, size + 4}
                                : JRect{-4, across0, size + 4, across1});
    JRestoreDrawingState(saved);
    return surface;
}

const ThumbPictures& PicturesFor(JControl* control) {
    const RangeSlider* slider = SliderOf(control);
    const ThumbPictureKey key{control->width, control->height, slider->vertical};
    auto& cache = ThumbPictureCache();
    const auto found = cache.find(key);
    if (found != cache.end()) {
        return found->second;
    }
    const int radius = slider->geometry.thumbRadius;
    ThumbPictures pictures;
    pictures.enabled = GrooveUnderThumb(control);
    pictures.disabled = pictures.enabled;
    PaintKnob(&pictures.enabled, radius, true);
    PaintKnob(&pictures.disabled, radius, false);
    pictures.rows = KnobRows(radius);
    return cache.emplace(key, std::move(pictures)).first->second;
}

// --- drawing ---

// Ticks cross the groove and reach half way to the control's edges.
std::pair<int, int> TickAcross(const FrameRangeGeometry& g) {
    const int beyond = g.trackInset / 2;
    return {g.trackInset - beyond, g.thickness - g.trackInset + beyond};
}

// One line of a tick: at `along`, across [across0, across1).
void DrawTickLine(JControl* control, int along, int across0, int across1, JColour colour) {
    if (across0 >= across1) {
        return;
    }
    const JRect line =
        Span(control, SliderOf(control)->vertical, along, along + 1, across0, across1);
    JSetForeColour(colour);
    JFillRect(line.left, line.top, line.right, line.bottom);
}

bool OutsideRange(int value, const std::pair<int, int>& range) {
    return value < range.first || value > range.second;
}

// A dark line and a light one beside it for every value outside the range.
void DrawTicks(JControl* control) {
    const RangeSlider* slider = SliderOf(control);
    if (!slider->geometry.ticksShown) {
        return;
    }
    const auto range = LiveRange(*slider);
    const auto [across0, across1] = TickAcross(slider->geometry);
    for (int value = 0; value <= slider->maximum; ++value) {
        if (OutsideRange(value, range)) {
            const int along = PixelOf(*slider, value);
            DrawTickLine(control, along, across0, across1, JUiShadow());
            DrawTickLine(control, along + 1, across0, across1, JUiWhite());
        }
    }
}

// Half the length of a tick line hidden by the knob of a thumb this far
// from it: the half-chord of the knob's circle, measured at the line's far
// edge; -1 when the line passes outside the circle.
int HiddenHalfLength(int radius, int distance) {
    const double edge = KnobEdge(radius);
    const double far = distance + 0.5;
    if (far >= edge) {
        return -1;
    }
    return static_cast<int>(std::sqrt(edge * edge - far * far));
}

// Tick lines within a thumb's square are drawn again where they pass
// outside its circle.
void DrawTicksBeside(JControl* control, const Thumb& thumb) {
    const RangeSlider* slider = SliderOf(control);
    const FrameRangeGeometry& g = slider->geometry;
    if (!g.ticksShown) {
        return;
    }
    const auto range = LiveRange(*slider);
    const auto [across0, across1] = TickAcross(g);
    const int r = g.thumbRadius;
    const int middle = AcrossCentre(g);
    const int squareStart = std::max(across0, middle - r);
    const int squareEnd = std::min(across1, middle + r + 1);
    for (int value = 0; value <= slider->maximum; ++value) {
        if (!OutsideRange(value, range)) {
            continue;
        }
        const int along = PixelOf(*slider, value);
        for (int line = 0; line < 2; ++line) {
            const int distance = std::abs(along + line - thumb.centre);
            if (distance > r) {
                continue;
            }
            const JColour colour = line == 0 ? JUiShadow() : JUiWhite();
            const int hidden = HiddenHalfLength(r, distance);
            if (hidden < 0) {
                DrawTickLine(control, along + line, squareStart, squareEnd, colour);
                continue;
            }
            DrawTickLine(control, along + line, squareStart, std::min(squareEnd, middle - hidden),
                         colour);
            DrawTickLine(control, along + line, std::max(squareStart, middle + hidden + 1),
                         squareEnd, colour);
        }
    }
}

void DrawThumb(JControl* control, const Thumb& thumb) {
    const ThumbPictures& pictures = PicturesFor(control);
    const JSurface& picture = control->Enabled() ? pictures.enabled : pictures.disabled;
    const JRect square = ThumbSquare(control, thumb);
    const JRect bounds = control->Rect();
    std::vector<JRect> knob;
    for (int row = 0; row < static_cast<int>(pictures.rows.size()); ++row) {
        const auto [first, last] = pictures.rows[row];
        const JRect span{square.left + first, square.top + row, square.left + last,
                         square.top + row + 1};
        const JRect inside = JRectIntersect(span, bounds);
        if (!inside.Empty()) {
            knob.push_back(inside);
        }
    }
    if (!knob.empty()) {
        const DrawingState saved = JSaveDrawingState();
        JSetClipRects(knob.data(), static_cast<int>(knob.size()));
        DrawPort port;
        port.kind = DrawPortKind::Picture;
        port.surface = const_cast<JSurface*>(&picture);
        JCopyPicture(&port, picture.Bounds(), square, kCopySource);
        JRestoreDrawingState(saved);
    }
    DrawTicksBeside(control, thumb);
}

void Draw(JControl* control) {
    const RangeSlider* slider = SliderOf(control);
    const JRect bounds = control->Rect();
    JSetForeColour(JUiFace());
    JFillRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
    DrawGroove(GrooveRect(control));
    DrawTicks(control);
    // The thumb a press would take, or the one being dragged, lies on top.
    const int top = slider->dragged == kNoThumb ? 0 : slider->dragged;
    DrawThumb(control, slider->thumbs[1 - top]);
    DrawThumb(control, slider->thumbs[top]);
}

// --- layout ---

void PlaceThumbs(JControl* control) {
    RangeSlider* slider = SliderOf(control);
    for (Thumb& thumb : slider->thumbs) {
        thumb.value = std::clamp(thumb.value, 0, slider->maximum);
        thumb.centre = PixelOf(*slider, thumb.value);
    }
}

// A new size, maximum or orientation ends any drag without a report.
void Relayout(JControl* control) {
    RangeSlider* slider = SliderOf(control);
    const int thickness = slider->vertical ? control->width : control->height;
    const int length = slider->vertical ? control->height : control->width;
    slider->geometry = FrameRangeLayout(thickness, length, slider->maximum);
    slider->dragged = kNoThumb;
    PlaceThumbs(control);
    JControlRedraw(control);
}

void Create(JControl* control) {
    control->kindData = std::make_unique<RangeSlider>();
    Relayout(control);
}

void NaturalSize(JControl* control, int* width, int* height) {
    const bool vertical = SliderOf(control)->vertical;
    *width = vertical ? kFrameRangeDefaultThickness : 3 * kFrameRangeDefaultThickness;
    *height = vertical ? 3 * kFrameRangeDefaultThickness : kFrameRangeDefaultThickness;
}

void SetSize(JControl* control, int width, int height) {
    const bool vertical = SliderOf(control)->vertical;
    int thickness = vertical ? width : height;
    int length = vertical ? height : width;
    if (thickness <= 0) {
        thickness = kFrameRangeDefaultThickness;
    }
    if (length <= 0) {
        length = 3 * thickness;
    }
    JDefaultSetSize(control, vertical ? thickness : length, vertical ? length : thickness);
    Relayout(control);
}

void SetPosition(JControl* control, int left, int top) {
    // The geometry is the control's own, so it moves along unchanged.
    JDefaultSetPosition(control, left, top);
}

// A thumb let go of without a report returns to its value.
void EndDragQuietly(JControl* control) {
    RangeSlider* slider = SliderOf(control);
    if (slider->dragged == kNoThumb) {
        return;
    }
    slider->dragged = kNoThumb;
    PlaceThumbs(control);
    JControlRedraw(control);
}

void Disable(JControl* control) {
    EndDragQuietly(control);
    JControlRedraw(control);
}

// --- the mouse ---

int AlongOf(JControl* control, int x, int y) {
    return SliderOf(control)->vertical ? y - control->top : x - control->left;
}

enum class Hit { Nothing, ThumbA, ThumbB, Track };

Hit HitTest(JControl* control, int x, int y) {
    const RangeSlider* slider = SliderOf(control);
    if (ThumbSquare(control, slider->thumbs[0]).Contains(x, y)) {
        return Hit::ThumbA;
    }
    if (ThumbSquare(control, slider->thumbs[1]).Contains(x, y)) {
        return Hit::ThumbB;
    }
    return GrooveRect(control).Contains(x, y) ? Hit::Track : Hit::Nothing;
}

// Calls back with the range as it is now and which ends differ from the
// last report; unless `always`, only when one does.
void Report(JControl* control, FrameRangeChangeCallback callback, bool always) {
    RangeSlider* slider = SliderOf(control);
    const auto [low, high] = LiveRange(*slider);
    const bool lowChanged = low != slider->reportedLow;
    const bool highChanged = high != slider->reportedHigh;
    if (!always && !lowChanged && !highChanged) {
        return;
    }
    slider->reportedLow = low;
    slider->reportedHigh = high;
    callback(control, lowChanged, low, highChanged, high);
}

void MouseDown(JControl* control, const JMouseEvent& event) {
    RangeSlider* slider = SliderOf(control);
    if (!control->Enabled() || (event.modifiers & kUiNotPlainClick) != 0) {
        return;
    }
    const Hit hit = HitTest(control, event.x, event.y);
    // A press on the track beside the thumbs does nothing.
    if (hit != Hit::ThumbA && hit != Hit::ThumbB) {
        return;
    }
    const int index = hit == Hit::ThumbA ? 0 : 1;
    slider->dragged = index;
    std::tie(slider->reportedLow, slider->reportedHigh) =
        std::minmax(slider->thumbs[0].value, slider->thumbs[1].value);
    slider->grabOffset = AlongOf(control, event.x, event.y) - slider->thumbs[index].centre;
    Invalidate(control, ThumbSquare(control, slider->thumbs[index]));
    if (slider->pressed != nullptr) {
        slider->pressed(control, slider->thumbs[index].value);
    }
}

void MouseMoved(JControl* control, int x, int y) {
    RangeSlider* slider = SliderOf(control);
    if (slider->dragged == kNoThumb) {
        return;
    }
    const FrameRangeGeometry& g = slider->geometry;
    Thumb& thumb = slider->thumbs[slider->dragged];
    const int centre =
        std::clamp(AlongOf(control, x, y) - slider->grabOffset, g.firstPixel, g.lastPixel);
    if (centre == thumb.centre) {
        return;
    }
    const auto before = LiveRange(*slider);
    MoveThumb(control, thumb, centre);
    // Ticks appear and vanish along the whole track as the range changes.
    if (LiveRange(*slider) != before) {
        JControlRedraw(control);
    }
    if (slider->changing != nullptr) {
        Report(control, slider->changing, false);
    }
}

void MouseUp(JControl* control, const JMouseEvent& event) {
    RangeSlider* slider = SliderOf(control);
    if (slider->dragged == kNoThumb || (event.modifiers & kUiNotPlainClick) != 0) {
        return;
    }
    // The thumb goes where the button came up, in case no move said so.
    MouseMoved(control, event.x, event.y);
    if (control->Deleted() || slider->dragged == kNoThumb) {
        return;
    }
    Thumb& thumb = slider->thumbs[slider->dragged];
    const int value = ValueOfThumb(*slider, thumb);
    slider->dragged = kNoThumb;
    JControlRedraw(control);
    if (slider->geometry.ticksShown) {
        thumb.centre = PixelOf(*slider, value);
    }
    if (value == thumb.value) {
        return;
    }
    thumb.value = value;
    if (slider->changed != nullptr) {
        Report(control, slider->changed, true);
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("frame range slider");
    kind.create = Create;
    kind.draw = Draw;
    kind.mouseDown = MouseDown;
    kind.mouseMoved = MouseMoved;
    kind.mouseUp = MouseUp;
    kind.setSize = SetSize;
    kind.setPosition = SetPosition;
    kind.naturalSize = NaturalSize;
    kind.disable = Disable;
    return kind;
}

// The thumb holding the lesser value (`greater` false) or the greater one;
// with equal values thumb A counts as the lesser.
Thumb& ThumbHolding(RangeSlider* slider, bool greater) {
    const bool aIsLesser = slider->thumbs[0].value <= slider->thumbs[1].value;
    return slider->thumbs[aIsLesser == greater ? 1 : 0];
}

void SetThumbValue(JControl* control, Thumb& thumb, int value) {
    RangeSlider* slider = SliderOf(control);
    thumb.value = std::clamp(value, 0, slider->maximum);
    thumb.centre = PixelOf(*slider, thumb.value);
    JControlRedraw(control);
}

}  // namespace

FrameRangeGeometry FrameRangeLayout(int thickness, int length, int maximum) {
    FrameRangeGeometry g;
    g.thickness = thickness;
    g.length = length;
    const int spare = std::max(thickness - 8, 0);
    g.thumbRadius = spare / 4;
    g.trackInset = spare / 3 + 3;
    g.firstPixel = 3 * g.thumbRadius - 1 + 4;
    g.lastPixel = std::max(length - 3 * g.thumbRadius - 5, g.firstPixel);
    g.pictureSize = 2 * g.thumbRadius + 1;
    g.tickSpacing = (g.lastPixel - g.firstPixel) / std::max(maximum, 1);
    g.ticksShown = g.tickSpacing > 3;
    return g;
}

int FrameRangePixelOfValue(const FrameRangeGeometry& geometry, int maximum, int value) {
    maximum = std::max(maximum, 1);
    value = std::clamp(value, 0, maximum);
    const std::int64_t span = geometry.lastPixel - geometry.firstPixel;
    return geometry.firstPixel + static_cast<int>(span * value / maximum);
}

int FrameRangeValueAtPixel(const FrameRangeGeometry& geometry, int maximum, int pixel) {
    maximum = std::max(maximum, 1);
    int value = TruncatedValue(geometry, maximum, pixel);
    if (value < maximum && geometry.lastPixel > geometry.firstPixel) {
        const int fromThis = pixel - FrameRangePixelOfValue(geometry, maximum, value);
        const int toNext = FrameRangePixelOfValue(geometry, maximum, value + 1) - pixel;
        if (fromThis > toNext) {
            ++value;
        }
    }
    return value;
}

void RegisterFrameRangeSliderKind() {
    FrameRangeSliderKind();
}

const ControlKind* FrameRangeSliderKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

JControl* NewFrameRangeSlider(JWindow* window, int left, int top) {
    JControl* control = JControlNew(FrameRangeSliderKind(), window, left, top);
    JControlResize(control, 0, 0);
    return control;
}

void FrameRangeSliderSetMaximum(JControl* control, int maximum) {
    SliderOf(control)->maximum = std::clamp(maximum, 1, 32767);
    Relayout(control);
}

void FrameRangeSliderSetLow(JControl* control, int value) {
    SetThumbValue(control, ThumbHolding(SliderOf(control), false), value);
}

void FrameRangeSliderSetHigh(JControl* control, int value) {
    SetThumbValue(control, ThumbHolding(SliderOf(control), true), value);
}

void FrameRangeSliderSetVertical(JControl* control, bool vertical) {
    RangeSlider* slider = SliderOf(control);
    if (slider->vertical != vertical) {
        slider->vertical = vertical;
        Relayout(control);
    }
}

void FrameRangeSliderSetCallbacks(JControl* control, FrameRangePressedCallback pressed,
                                  FrameRangeChangeCallback changing,
                                  FrameRangeChangeCallback changed) {
    RangeSlider* slider = SliderOf(control);
    slider->pressed = pressed;
    slider->changing = changing;
    slider->changed = changed;
}

int FrameRangeSliderLow(JControl* control) {
    const RangeSlider* slider = SliderOf(control);
    return std::min(slider->thumbs[0].value, slider->thumbs[1].value);
}

int FrameRangeSliderHigh(JControl* control) {
    const RangeSlider* slider = SliderOf(control);
    return std::max(slider->thumbs[0].value, slider->thumbs[1].value);
}

int FrameRangeSliderMaximum(JControl* control) {
    return SliderOf(control)->maximum;
}

const FrameRangeGeometry& FrameRangeSliderGeometry(JControl* control) {
    return SliderOf(control)->geometry;
}

JRect FrameRangeSliderThumbRect(JControl* control, int thumb) {
    return ThumbSquare(control, SliderOf(control)->thumbs[std::clamp(thumb, 0, 1)]);
}

int FrameRangeThumbPictureCount() {
    return static_cast<int>(ThumbPictureCache().size());
}
