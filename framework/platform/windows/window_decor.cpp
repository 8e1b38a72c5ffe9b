// The platform's look of a window, in the colours of the system table: the
// classic raised frame lit from the top left, a caption shaded from its dark
// left end to its light right end (grey when inactive), raised caption
// buttons with pixel-exact glyphs at the right, the system-menu box at the
// left; and where a point falls on them.
#include <algorithm>
#include <array>

#include "framework/platform/draw/system_colours.h"
#include "framework/platform/draw/text.h"
#include "framework/platform/windows/window_system.h"

namespace {

constexpr int kBoxWidth = 16;
constexpr int kBoxHeight = 14;
constexpr int kBoxGap = 2;       // between the close box and the others, and at the ends
constexpr int kCornerGrip = 16;  // how far a corner's sizing area reaches along each edge
constexpr int kTitleFontSize = 13;
constexpr int kTitleGap = 3;  // between the system-menu box and the title

enum class Box { SystemMenu, Minimise, Maximise, Close };

// The caption box held down by the mouse, drawn pushed in.
struct PressedBox {
    JWnd window = kNoWindow;
    JHit box = kHitNowhere;
};

PressedBox& Pressed() {
    static PressedBox pressed;
    return pressed;
}

// Glyphs as pixel rows, '#' drawn, so that they stay crisp with any font.
struct Glyph {
    int width;
    int height;
    std::array<const char*, 9> rows;
};

constexpr Glyph kCloseGlyph{
    8, 7, {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##"}};
constexpr Glyph kMinimiseGlyph{6, 2, {"######", "######"}};
constexpr Glyph kMaximiseGlyph{9,
                               9,
                               {"#########", "#########", "#.......#", "#.......#", "#.......#",
                                "#.......#", "#.......#", "#.......#", "#########"}};
constexpr Glyph kRestoreGlyph{8,
                              9,
                              {"..######", "..######", "..#....#", "######.#", "######.#",
                               "#....###", "#....#..", "#....#..", "######.."}};
constexpr Glyph kSystemMenuGlyph{8, 2, {"########", "########"}};

int Side(std::uint32_t style) {
    return JBordersForStyle(style).left;
}

// The caption strip: the bar itself and a line of face colour below it.
JRect CaptionRect(const WindowRecord& record) {
    const JRect b = JBordersForStyle(record.style);
    return JRect{b.left, b.left, record.bounds.Width() - b.right, b.top};
}

JRect CaptionBar(const WindowRecord& record) {
    JRect bar = CaptionRect(record);
    bar.bottom = std::max(bar.top, bar.bottom - 1);
    return bar;
}

// A box in the window's outer coordinates; empty when the style has none.
// Minimise and maximise sit side by side, the close box apart at the right.
JRect BoxRect(const WindowRecord& record, Box box) {
    if ((record.style & kWsCaption) == 0) {
        return JRect{};
    }
    const JRect bar = CaptionBar(record);
    const int top = bar.top + (bar.Height() - kBoxHeight) / 2;
    if (box == Box::SystemMenu) {
        return (record.style & kWsSystemMenu) != 0
                   ? JRect{bar.left + kBoxGap, top, bar.left + kBoxGap + kBoxWidth,
                           top + kBoxHeight}
                   : JRect{};
    }
    int right = bar.right - kBoxGap;
    const std::pair<Box, std::uint32_t> order[] = {{Box::Close, kWsCloseBox},
                                                   {Box::Maximise, kWsMaximiseBox},
                                                   {Box::Minimise, kWsMinimiseBox}};
    for (const auto& [which, flag] : order) {
        if ((record.style & flag) == 0) {
            continue;
        }
        const JRect rect{right - kBoxWidth, top, right, top + kBoxHeight};
        if (which == box) {
            return rect;
        }
        right = rect.left - (which == Box::Close ? kBoxGap : 0);
    }
    return JRect{};
}

JHit HitOfBox(Box box) {
    switch (box) {
        case Box::SystemMenu:
            return kHitSystemMenu;
        case Box::Minimise:
            return kHitMinimise;
        case Box::Maximise:
            return kHitMaximise;
        case Box::Close:
            return kHitClose;
    }
    return kHitNowhere;
}

void Fill(const RasterTarget& target, const JRect& rect, JSysColour colour) {
    RasterFillRect(target, RasterInk{JSystemRgb(colour)}, rect);
}

// One ring of an edge: `topLeft` along the top and left, `bottomRight` along
// the bottom and right, which own the corners they meet at.
void Ring(const RasterTarget& target, const JRect& r, JSysColour topLeft, JSysColour bottomRight) {
    if (r.Empty()) {
        return;
    }
    Fill(target, JRect{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    Fill(target, JRect{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    Fill(target, JRect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    Fill(target, JRect{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

JRect Inset(const JRect& r, int by) {
    return JRect{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

void DrawGlyph(const RasterTarget& target, const Glyph& glyph, int left, int top,
               JSysColour colour) {
    const RasterInk ink{JSystemRgb(colour)};
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            if (glyph.rows[static_cast<std::size_t>(y)][x] == '#') {
                RasterSetPixel(target, ink, left + x, top + y);
            }
        }
    }
}

const Glyph& GlyphOf(const WindowRecord& record, Box box) {
    switch (box) {
        case Box::SystemMenu:
            return kSystemMenuGlyph;
        case Box::Minimise:
            return record.minimised ? kRestoreGlyph : kMinimiseGlyph;
        case Box::Maximise:
            return record.maximised ? kRestoreGlyph : kMaximiseGlyph;
        case Box::Close:
            break;
    }
    return kCloseGlyph;
}

// A raised button, or a pushed-in one with its glyph a pixel down and right.
void DrawBox(const RasterTarget& target, const WindowRecord& record, Box box) {
    const JRect r = BoxRect(record, box);
    if (r.Empty()) {
        return;
    }
    const bool pushed = Pressed().window == record.handle && Pressed().box == HitOfBox(box);
    Fill(target, r, JSysColour::Face);
    if (pushed) {
        Ring(target, r, JSysColour::DarkShadow, JSysColour::Light3D);
        Ring(target, Inset(r, 1), JSysColour::Shadow, JSysColour::Light);
    } else {
        Ring(target, r, JSysColour::Light3D, JSysColour::DarkShadow);
        Ring(target, Inset(r, 1), JSysColour::Light, JSysColour::Shadow);
    }
    const Glyph& glyph = GlyphOf(record, box);
    const int shift = pushed ? 1 : 0;
    // Centred, leaning up and left when the room is odd, as the classic glyphs do.
    int left = r.left + (r.Width() - glyph.width) / 2 + shift;
    int top = r.top + (r.Height() - glyph.height) / 2 + shift;
    if (box == Box::Minimise) {
        left = r.left + 4 + shift;
        top = r.bottom - 5 + shift;
    }
    DrawGlyph(target, glyph, left, top, JSysColour::ButtonText);
}

std::uint32_t Blend(std::uint32_t from, std::uint32_t to, int step, int steps) {
    const auto mix = [&](std::uint32_t a, std::uint32_t b) {
        return static_cast<std::uint32_t>(
            (static_cast<int>(a) * (steps - step) + static_cast<int>(b) * step + steps / 2) /
            steps);
    };
    return JRgb(mix(JRgbRed(from), JRgbRed(to)), mix(JRgbGreen(from), JRgbGreen(to)),
                mix(JRgbBlue(from), JRgbBlue(to)));
}

// The caption's colour runs from its left end to its right end.
void DrawCaptionBar(const RasterTarget& target, const WindowRecord& record, bool active) {
    const JRect strip = CaptionRect(record);
    Fill(target, strip, JSysColour::Face);
    const JRect bar = CaptionBar(record);
    const std::uint32_t from =
        JSystemRgb(active ? JSysColour::ActiveCaption : JSysColour::InactiveCaption);
    const std::uint32_t to =
        JSystemRgb(active ? JSysColour::ActiveCaptionEnd : JSysColour::InactiveCaptionEnd);
    const int steps = std::max(1, bar.Width() - 1);
    for (int x = bar.left; x < bar.right; ++x) {
        RasterFillRect(target, RasterInk{Blend(from, to, x - bar.left, steps)},
                       JRect{x, bar.top, x + 1, bar.bottom});
    }
}

void DrawTitle(const RasterTarget& target, const WindowRecord& record, bool active) {
    const JRect bar = CaptionBar(record);
    JRect textArea = bar;
    const JRect menuBox = BoxRect(record, Box::SystemMenu);
    textArea.left = (menuBox.Empty() ? bar.left + kBoxGap : menuBox.right) + kTitleGap;
    for (Box box : {Box::Minimise, Box::Maximise, Box::Close}) {
        const JRect r = BoxRect(record, box);
        if (!r.Empty()) {
            textArea.right = std::min(textArea.right, r.left - kBoxGap);
        }
    }
    if (textArea.Empty() || record.title.empty()) {
        return;
    }
    JFont* font = JFontGet(kDefaultFontFace, kTitleFontSize, kFontBold, 1.0);
    const JTextExtent extent = JFontMeasure(font, record.title.c_str());
    const std::vector<JRect> clip{textArea};
    RasterTarget clipped = target;
    clipped.clip = &clip;
    const int baseline = bar.top + (bar.Height() + extent.ascent - extent.descent) / 2;
    JFontDraw(font, clipped, textArea.left, baseline, record.title.c_str(),
              JSystemRgb(active ? JSysColour::CaptionText : JSysColour::InactiveCaptionText));
    JFontRelease(font);
}

// Two pixels of raised edge (light and white at the top left, black and
// shadow at the bottom right), then face colour for the rest of the border.
// A one-pixel border is the edge's outer ring on a pop-up, a dark line on a
// child or where the class asks for a plain border.
void DrawBorder(const RasterTarget& target, const WindowRecord& record, const JRect& outer) {
    const int side = Side(record.style);
    if (side <= 0) {
        return;
    }
    if (side == 1) {
        const bool plain =
            !IsTopLevel(record) || (record.windowClass->flags & kClassPlainBorder) != 0;
        if (plain) {
            Ring(target, outer, JSysColour::WindowFrame, JSysColour::WindowFrame);
        } else {
            Ring(target, outer, JSysColour::Light, JSysColour::DarkShadow);
        }
        return;
    }
    const JRect inner = Inset(outer, side);
    for (const JRect& band : {JRect{outer.left, outer.top, outer.right, inner.top},
                              JRect{outer.left, inner.bottom, outer.right, outer.bottom},
                              JRect{outer.left, inner.top, inner.left, inner.bottom},
                              JRect{inner.right, inner.top, outer.right, inner.bottom}}) {
        Fill(target, band, JSysColour::Face);
    }
    Ring(target, outer, JSysColour::Light, JSysColour::DarkShadow);
    Ring(target, Inset(outer, 1), JSysColour::Light3D, JSysColour::Shadow);
}

// Where the window's outer rectangle lies on its top-level's store.
JRect OuterInStore(const WindowRecord& record) {
    if (IsTopLevel(record)) {
        return JRect{0, 0, record.bounds.Width(), record.bounds.Height()};
    }
    const WindowRecord* parent = FindWindow(record.parent);
    const JPoint origin = parent != nullptr ? ClientOriginInStore(*parent) : JPoint{};
    return JRectOffset(record.bounds, origin.x, origin.y);
}

JHit SizingHit(const WindowRecord& record, JPoint p) {
    const int side = Side(record.style);
    const int width = record.bounds.Width();
    const int height = record.bounds.Height();
    const bool left = p.x < side;
    const bool right = p.x >= width - side;
    const bool top = p.y < side;
    const bool bottom = p.y >= height - side;
    if (!left && !right && !top && !bottom) {
        return kHitNowhere;
    }
    const bool nearLeft = p.x < kCornerGrip;
    const bool nearRight = p.x >= width - kCornerGrip;
    const bool nearTop = p.y < kCornerGrip;
    const bool nearBottom = p.y >= height - kCornerGrip;
    if ((top && nearLeft) || (left && nearTop)) {
        return kHitTopLeft;
    }
    if ((top && nearRight) || (right && nearTop)) {
        return kHitTopRight;
    }
    if ((bottom && nearLeft) || (left && nearBottom)) {
        return kHitBottomLeft;
    }
    if ((bottom && nearRight) || (right && nearBottom)) {
        return kHitBottomRight;
    }
    return left ? kHitLeft : right ? kHitRight : top ? kHitTop : kHitBottom;
}

}  // namespace

void DrawDecorations(WindowRecord* record) {
    if ((record->style & kWsFrame) != 0 || record->port.surface == nullptr) {
        return;
    }
    const JRect borders = JBordersForStyle(record->style);
    if (borders.left == 0 && borders.top == 0) {
        return;
    }
    const JRect outer = OuterInStore(*record);
    RasterTarget target{record->port.surface, outer.left, outer.top, nullptr, false};
    const JRect local{0, 0, outer.Width(), outer.Height()};
    DrawBorder(target, *record, local);
    if ((record->style & kWsCaption) != 0) {
        const bool active = JActiveWindow() == record->handle;
        DrawCaptionBar(target, *record, active);
        for (Box box : {Box::SystemMenu, Box::Minimise, Box::Maximise, Box::Close}) {
            DrawBox(target, *record, box);
        }
        DrawTitle(target, *record, active);
    }
    if (JIsWindowVisible(record->handle)) {
        const WindowRecord* top = TopLevelRecord(record->handle);
        const JRect topInFrame = OuterInFrame(*top);
        MarkFrameDirty(JRectOffset(outer, topInFrame.left, topInFrame.top));
    }
}

JHit HitTestWindow(const WindowRecord& record, JPoint point) {
    if (!record.bounds.Contains(point.x, point.y)) {
        return kHitNowhere;
    }
    const JPoint p{point.x - record.bounds.left, point.y - record.bounds.top};
    if ((record.style & kWsSizing) != 0 && !record.maximised) {
        const JHit edge = SizingHit(record, p);
        if (edge != kHitNowhere) {
            return edge;
        }
    }
    const std::pair<Box, JHit> boxes[] = {{Box::SystemMenu, kHitSystemMenu},
                                          {Box::Minimise, kHitMinimise},
                                          {Box::Maximise, kHitMaximise},
                                          {Box::Close, kHitClose}};
    for (const auto& [box, hit] : boxes) {
        if (BoxRect(record, box).Contains(p.x, p.y)) {
            return hit;
        }
    }
    if ((record.style & kWsCaption) != 0 && CaptionRect(record).Contains(p.x, p.y)) {
        return kHitCaption;
    }
    const JRect client = JWindowClientBounds(record.handle);
    return client.Contains(point.x, point.y) ? kHitClient : kHitBorder;
}

void JSetCaptionBoxPressed(JWnd window, JHit box) {
    PressedBox& pressed = Pressed();
    if (pressed.window == window && pressed.box == box) {
        return;
    }
    const JWnd before = pressed.window;
    pressed = box != kHitNowhere ? PressedBox{window, box} : PressedBox{};
    for (JWnd redraw : {before, window}) {
        if (WindowRecord* record = FindWindow(redraw)) {
            DrawDecorations(record);
        }
    }
}

JHit JCaptionBoxPressed(JWnd window) {
    return Pressed().window == window ? Pressed().box : kHitNowhere;
}
