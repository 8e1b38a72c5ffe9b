#include "framework/platform/draw/draw_port.h"

#include <algorithm>
#include <array>
#include <memory>

#include "framework/platform/draw/bitmaps.h"
#include "framework/platform/draw/frame.h"
#include "framework/platform/draw/pictures.h"
#include "framework/platform/draw/system_colours.h"

namespace {

struct DrawingGlobals {
    DrawPort* port = nullptr;
    PenState* pen = nullptr;
    std::vector<std::unique_ptr<PenState>> penStates;
    std::vector<JRect> clip;  // clipping asked for by the drawing code
    bool clipped = false;
    std::vector<JRect> effectiveClip;  // port's visible area and the clip together
    bool hasDisabledColour = false;
    JColour disabledColour;
};

DrawingGlobals& Globals() {
    static DrawingGlobals globals;
    return globals;
}

std::vector<JRect> IntersectLists(const std::vector<JRect>& a, const std::vector<JRect>& b) {
    std::vector<JRect> result;
    for (const JRect& r : a) {
        for (const JRect& s : b) {
            const JRect both = JRectIntersect(r, s);
            if (!both.Empty()) {
                result.push_back(both);
            }
        }
    }
    return result;
}

// An empty list means "no clipping" to the rasteriser, so a clip that leaves
// nothing is kept as one empty rectangle.
void UpdateEffectiveClip() {
    DrawingGlobals& g = Globals();
    g.effectiveClip.clear();
    const bool portLimited = g.port != nullptr && !g.port->visible.empty();
    if (portLimited && g.clipped) {
        g.effectiveClip = IntersectLists(g.port->visible, g.clip);
    } else if (portLimited) {
        g.effectiveClip = g.port->visible;
    } else if (g.clipped) {
        std::copy_if(g.clip.begin(), g.clip.end(), std::back_inserter(g.effectiveClip),
                     [](const JRect& r) { return !r.Empty(); });
    } else {
        return;
    }
    if (g.effectiveClip.empty()) {
        g.effectiveClip.push_back(JRect{});
    }
}

void RebuildInks(PenState* pen) {
    const std::uint32_t foreground = JColourToRgb(pen->foreground);
    pen->pen = RasterInk{foreground, pen->mode, nullptr, kWhite};
    if (pen->pattern == 1) {
        pen->brush = RasterInk{foreground, pen->mode, nullptr, kWhite};
        return;
    }
    JPattern bits;
    if (!JLoadPattern(JPatternBitmapId(pen->pattern), &bits)) {
        pen->brush.mode = pen->mode;  // a missing pattern leaves the brush as it was
        return;
    }
    pen->patternBits = bits;
    pen->brush = RasterInk{foreground, pen->mode, &pen->patternBits, JColourToRgb(pen->background)};
}

void ReplaceFont(PenState* pen, JFont* font) {
    const bool selected = Globals().pen == pen;
    if (pen->font != nullptr) {
        if (selected) {
            JFontDeselect(pen->font);
        }
        JFontRelease(pen->font);
    }
    pen->font = font;
    if (selected) {
        JFontSelect(font);
    }
}

void ChangeFont(const char* face, int size, int style, double factor) {
    PenState* pen = JCurrentPenState();
    ReplaceFont(pen, JFontGet(face, size, style, factor));
}

PenState* MakePenState() {
    auto pen = std::make_unique<PenState>();
    pen->font = JFontGet(kDefaultFontFace, kDefaultFontSize, kDefaultFontStyle, 1.0);
    RebuildInks(pen.get());
    Globals().penStates.push_back(std::move(pen));
    return Globals().penStates.back().get();
}

// The compass position on a rectangle that includes its right and bottom edges.
JPoint CompassPoint(const JRect& r, int position) {
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    constexpr int kX[8] = {1, 2, 2, 2, 1, 0, 0, 0};  // 0 left, 1 middle, 2 right
    constexpr int kY[8] = {0, 0, 1, 2, 2, 2, 1, 0};
    const int p = position & 7;
    const int xs[3] = {r.left, midX, r.right};
    const int ys[3] = {r.top, midY, r.bottom};
    return JPoint{xs[kX[p]], ys[kY[p]]};
}

bool HasTarget() {
    return Globals().port != nullptr && Globals().port->surface != nullptr;
}

void DrawTextIn(int x, int y, const char* text, std::uint32_t colour) {
    if (HasTarget()) {
        JFontDraw(JCurrentPenState()->font, JCurrentRasterTarget(), x, y, text, colour);
    }
}

// Changes a value the pen and brush are made from, and remakes them.
template <typename Field>
void SetInkField(Field PenState::*field, Field value) {
    PenState* pen = JCurrentPenState();
    pen->*field = value;
    RebuildInks(pen);
}

}  // namespace

void JDrawingStartup() {
    DrawingGlobals& g = Globals();
    if (g.pen == nullptr) {
        g.pen = MakePenState();
        JFontSelect(g.pen->font);
    }
}

void JDrawingShutdown() {
    JSelectNoPort();
    JReleaseAllPictures();
    DrawingGlobals& g = Globals();
    if (g.pen != nullptr) {
        JFontDeselect(g.pen->font);
    }
    for (auto& pen : g.penStates) {
        JFontRelease(pen->font);
    }
    g = DrawingGlobals{};
}

// --- ports ---

void JSelectPort(DrawPort* port) {
    DrawingGlobals& g = Globals();
    g.port = port;
    g.clip.clear();
    g.clipped = false;
    UpdateEffectiveClip();
}

void JSelectFramePort() {
    JSelectPort(JFramePort());
}

void JSelectScreenPort() {
    JSelectPort(JScreenPort());
}

bool JSelectClipboardPort() {
    JSelectNoPort();
    return false;
}

void JSelectNoPort() {
    JSelectPort(nullptr);
}

DrawPort* JCurrentPort() {
    return Globals().port;
}

void JSetClipRects(const JRect* rects, int count) {
    DrawingGlobals& g = Globals();
    g.clip.assign(rects, rects + std::max(count, 0));
    g.clipped = true;
    UpdateEffectiveClip();
}

void JClearClip() {
    Globals().clip.clear();
    Globals().clipped = false;
    UpdateEffectiveClip();
}

DrawingState JSaveDrawingState() {
    const DrawingGlobals& g = Globals();
    return DrawingState{g.port, g.pen, g.clip, g.clipped};
}

void JRestoreDrawingState(const DrawingState& state) {
    JSelectPort(state.port);
    if (state.pen != nullptr) {
        JSelectPenState(state.pen);
    }
    Globals().clip = state.clip;
    Globals().clipped = state.clipped;
    UpdateEffectiveClip();
}

RasterTarget JCurrentRasterTarget() {
    const DrawingGlobals& g = Globals();
    RasterTarget target;
    if (g.port == nullptr) {
        return target;
    }
    target.surface = g.port->surface;
    target.originX = g.port->originX;
    target.originY = g.port->originY;
    target.clip = &g.effectiveClip;
    target.mono = g.port->mono;
    return target;
}

// --- pen states ---

PenState* JPenStateNew() {
    return MakePenState();
}

void JSelectPenState(PenState* pen) {
    DrawingGlobals& g = Globals();
    if (g.pen == pen || pen == nullptr) {
        return;
    }
    if (g.pen != nullptr) {
        JFontDeselect(g.pen->font);
    }
    g.pen = pen;
    JFontSelect(pen->font);
}

PenState* JCurrentPenState() {
    JDrawingStartup();
    return Globals().pen;
}

void JSetForeColour(JColour colour) {
    SetInkField(&PenState::foreground, colour);
}

void JSetBackColour(JColour colour) {
    SetInkField(&PenState::background, colour);
}

void JSetPenWidth(int width) {
    JCurrentPenState()->width = std::max(width, 1);
}

void JSetPenMode(JPenMode mode) {
    SetInkField(&PenState::mode, mode);
}

void JSetFillPattern(int pattern) {
    SetInkField(&PenState::pattern, pattern);
}

void JSetFontFace(const char* face) {
    const JFont* font = JCurrentPenState()->font;
    ChangeFont(face, font->size, font->style, font->widthFactor);
}

void JSetFontSize(int size) {
    const JFont* font = JCurrentPenState()->font;
    ChangeFont(font->face.c_str(), size, font->style, font->widthFactor);
}

void JSetFontStyle(int style) {
    const JFont* font = JCurrentPenState()->font;
    ChangeFont(font->face.c_str(), font->size, style, font->widthFactor);
}

void JSetFontWidthFactor(double factor) {
    const JFont* font = JCurrentPenState()->font;
    ChangeFont(font->face.c_str(), font->size, font->style, factor);
}

PenSnapshot JSavePenState() {
    const PenState* pen = JCurrentPenState();
    return PenSnapshot{JFontRetain(pen->font),
                       pen->foreground,
                       pen->background,
                       pen->mode,
                       pen->width,
                       pen->pattern};
}

// The snapshot's font reference passes to the pen state.
void JRestorePenState(const PenSnapshot& snapshot) {
    PenState* pen = JCurrentPenState();
    ReplaceFont(pen, snapshot.font);
    pen->foreground = snapshot.foreground;
    pen->background = snapshot.background;
    pen->mode = snapshot.mode;
    pen->width = snapshot.width;
    pen->pattern = snapshot.pattern;
    RebuildInks(pen);
}

// --- primitives ---

void JDrawLine(int x1, int y1, int x2, int y2) {
    JPoint from{x1, y1};
    JPoint to{x2, y2};
    if (x1 == x2) {  // vertical: one past the lower end
        if (to.y < from.y) {
            std::swap(from, to);
        }
        ++to.y;
    } else {  // horizontal or sloped: one past the right end
        if (to.x < from.x) {
            std::swap(from, to);
        }
        ++to.x;
    }
    const JPoint points[2] = {from, to};
    if (HasTarget()) {
        RasterPolyline(JCurrentRasterTarget(), JCurrentPenState()->pen, points, 2, false,
                       JCurrentPenState()->width);
    }
}

void JFrameRect(int left, int top, int right, int bottom) {
    const JPoint corners[4] = {
        {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
    JFramePolygon(corners, 4);
}

void JFillRect(int left, int top, int right, int bottom) {
    if (HasTarget()) {
        RasterFillRect(JCurrentRasterTarget(), JCurrentPenState()->brush,
                       JRect{left, top, right, bottom});
    }
}

void JFrameRoundRect(const JRect& rect, int cornerWidth, int cornerHeight) {
    if (HasTarget()) {
        RasterRoundRectFrame(JCurrentRasterTarget(), JCurrentPenState()->pen, rect, 2 * cornerWidth,
                             2 * cornerHeight, JCurrentPenState()->width);
    }
}

void JThickFrameRoundRect(const JRect& rect, int cornerWidth, int cornerHeight) {
    JSetPenWidth(2);
    JFrameRoundRect(rect, cornerWidth, cornerHeight);
    JSetPenWidth(1);
}

void JPaintRoundRect(const JRect& rect, int cornerWidth, int cornerHeight) {
    if (rect.Width() == 1 || rect.Height() == 1) {
        JFillRect(rect.left, rect.top, rect.right, rect.bottom);
        return;
    }
    if (HasTarget()) {
        RasterRoundRectFill(JCurrentRasterTarget(), JCurrentPenState()->brush, rect,
                            2 * cornerWidth, 2 * cornerHeight);
        JFrameRoundRect(rect, cornerWidth, cornerHeight);
    }
}

void JDrawArc(const JRect& rect, int start, int end) {
    if (HasTarget()) {
        const JRect box{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
        RasterArc(JCurrentRasterTarget(), JCurrentPenState()->pen, box, CompassPoint(rect, start),
                  CompassPoint(rect, end), JCurrentPenState()->width);
    }
}

void JPaintPie(const JRect& rect, int start, int end) {
    if (HasTarget()) {
        const JRect box{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
        RasterPie(JCurrentRasterTarget(), JCurrentPenState()->brush, box, CompassPoint(rect, start),
                  CompassPoint(rect, end));
    }
}

void JDrawPolyline(const JPoint* points, int count) {
    if (!HasTarget() || count < 1) {
        return;
    }
    std::vector<JPoint> extended(points, points + count);
    extended.push_back(JPoint{points[count - 1].x + 1, points[count - 1].y});
    RasterPolyline(JCurrentRasterTarget(), JCurrentPenState()->pen, extended.data(),
                   static_cast<int>(extended.size()), false, JCurrentPenState()->width);
}

void JFramePolygon(const JPoint* points, int count) {
    if (HasTarget()) {
        RasterPolyline(JCurrentRasterTarget(), JCurrentPenState()->pen, points, count, true,
                       JCurrentPenState()->width);
    }
}

void JFillPolygon(const JPoint* points, int count) {
    if (HasTarget()) {
        RasterPolygonFill(JCurrentRasterTarget(), JCurrentPenState()->brush, points, count);
    }
}

void JPaintPolygon(const JPoint* points, int count) {
    JFillPolygon(points, count);
    JFramePolygon(points, count);
}

void JSetPixel(int x, int y) {
    JSetPixelColour(x, y, JCurrentPenState()->foreground);
}

void JSetPixelColour(int x, int y, JColour colour) {
    if (HasTarget()) {
        RasterSetPixel(JCurrentRasterTarget(), RasterInk{JColourToRgb(colour)}, x, y);
    }
}

JColour JGetPixel(int x, int y) {
    std::uint32_t rgb = kBlack;
    if (HasTarget()) {
        RasterGetPixel(JCurrentRasterTarget(), x, y, &rgb);
    }
    return JColourFromRgb(rgb);
}

// --- text ---

void JDrawText(int x, int y, const char* text) {
    const PenState* pen = JCurrentPenState();
    const std::uint32_t foreground = JColourToRgb(pen->foreground);
    if ((pen->font->style & kFontOutlined) == 0) {
        DrawTextIn(x, y, text, foreground);
        return;
    }
    constexpr std::array<JPoint, 8> kAround = {
        {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}};
    for (const JPoint& offset : kAround) {
        DrawTextIn(x + offset.x, y + offset.y, text, foreground);
    }
    DrawTextIn(x, y, text, JColourToRgb(pen->background));
}

void JDrawDisabledText(int x, int y, const char* text) {
    const DrawingGlobals& g = Globals();
    DrawTextIn(
        x, y, text,
        g.hasDisabledColour ? JColourToRgb(g.disabledColour) : JSystemRgb(JSysColour::GreyText));
}

void JSetDisabledTextColour(const JColour* colour) {
    Globals().hasDisabledColour = colour != nullptr;
    if (colour != nullptr) {
        Globals().disabledColour = *colour;
    }
}

JTextExtent JMeasureText(const char* text) {
    return JFontMeasure(JCurrentPenState()->font, text);
}
