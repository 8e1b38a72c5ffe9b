// The platform's look of a window: border, caption with the title (dark blue
// when active, grey when not), the system-menu box at the left and the
// minimise, maximise and close boxes at the right; and where a point falls
// on them.
#include <algorithm>

#include "framework/platform/draw/text.h"
#include "framework/platform/windows/window_system.h"

namespace {

constexpr int kBoxSize = 16;
constexpr int kBoxGap = 2;
constexpr int kCornerGrip = 16;  // how far a corner's sizing area reaches along each edge
constexpr int kTitleFontSize = 13;

constexpr std::uint32_t kOutline = 0x404040;
constexpr std::uint32_t kBorderFace = 0xC0C0C0;
constexpr std::uint32_t kBorderLight = 0xF0F0F0;
constexpr std::uint32_t kActiveCaption = 0x1F4E8C;
constexpr std::uint32_t kInactiveCaption = 0x9AA3AE;
constexpr std::uint32_t kActiveTitle = 0xFFFFFF;
constexpr std::uint32_t kInactiveTitle = 0xEEEEEE;
constexpr std::uint32_t kBoxFace = 0xD4D0C8;
constexpr std::uint32_t kGlyph = 0x000000;

enum class Box { SystemMenu, Minimise, Maximise, Close };

int Side(std::uint32_t style) {
    return JBordersForStyle(style).left;
}

JRect CaptionRect(const WindowRecord& record) {
    const JRect b = JBordersForStyle(record.style);
    return JRect{b.left, b.left, record.bounds.Width() - b.right, b.top};
}

// A box in the window's outer coordinates; empty when the style has none.
JRect BoxRect(const WindowRecord& record, Box box) {
    if ((record.style & kWsCaption) == 0) {
        return JRect{};
    }
    const JRect caption = CaptionRect(record);
    const int top = caption.top + (caption.Height() - kBoxSize) / 2;
    if (box == Box::SystemMenu) {
        return (record.style & kWsSystemMenu) != 0
                   ? JRect{caption.left + kBoxGap, top, caption.left + kBoxGap + kBoxSize,
                           top + kBoxSize}
                   : JRect{};
    }
    int right = caption.right - kBoxGap;
    const std::pair<Box, std::uint32_t> order[] = {{Box::Close, kWsCloseBox},
                                                   {Box::Maximise, kWsMaximiseBox},
                                                   {Box::Minimise, kWsMinimiseBox}};
    for (const auto& [which, flag] : order) {
        if ((record.style & flag) == 0) {
            continue;
        }
        const JRect rect{right - kBoxSize, top, right, top + kBoxSize};
        if (which == box) {
            return rect;
        }
        right = rect.left - kBoxGap;
    }
    return JRect{};
}

void Fill(const RasterTarget& target, const JRect& rect, std::uint32_t colour) {
    RasterFillRect(target, RasterInk{colour}, rect);
}

void Outline(const RasterTarget& target, const JRect& r, std::uint32_t colour) {
    Fill(target, JRect{r.left, r.top, r.right, r.top + 1}, colour);
    Fill(target, JRect{r.left, r.bottom - 1, r.right, r.bottom}, colour);
    Fill(target, JRect{r.left, r.top, r.left + 1, r.bottom}, colour);
    Fill(target, JRect{r.right - 1, r.top, r.right, r.bottom}, colour);
}

void Line(const RasterTarget& target, int x0, int y0, int x1, int y1) {
    const JPoint points[] = {{x0, y0}, {x1, y1}};
    RasterPolyline(target, RasterInk{kGlyph}, points, 2, false, 1);
}

void DrawBox(const RasterTarget& target, const JRect& r, Box box) {
    if (r.Empty()) {
        return;
    }
    Fill(target, r, kBoxFace);
    Outline(target, r, kOutline);
    const int midX = (r.left + r.right) / 2;
    const int midY = (r.top + r.bottom) / 2;
    switch (box) {
        case Box::SystemMenu:  // a bar, as on a menu's pull tab
            Fill(target, JRect{r.left + 3, midY - 1, r.right - 3, midY + 1}, kGlyph);
            break;
        case Box::Minimise:
            Fill(target, JRect{r.left + 4, r.bottom - 5, r.right - 4, r.bottom - 3}, kGlyph);
            break;
        case Box::Maximise:
            Outline(target, JRect{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3}, kGlyph);
            Fill(target, JRect{r.left + 3, r.top + 4, r.right - 3, r.top + 5}, kGlyph);
            break;
        case Box::Close:
            Line(target, r.left + 4, r.top + 4, r.right - 4, r.bottom - 4);
            Line(target, r.right - 5, r.top + 4, r.left + 3, r.bottom - 4);
            Line(target, midX - 3, r.top + 4, r.right - 4, r.bottom - 5);
            break;
    }
}

void DrawTitle(const RasterTarget& target, const WindowRecord& record, bool active) {
    const JRect caption = CaptionRect(record);
    JRect textArea = caption;
    const JRect menuBox = BoxRect(record, Box::SystemMenu);
    textArea.left = (menuBox.Empty() ? caption.left : menuBox.right) + 4;
    for (Box box : {Box::Minimise, Box::Maximise, Box::Close}) {
        const JRect r = BoxRect(record, box);
        if (!r.Empty()) {
            textArea.right = std::min(textArea.right, r.left - 2);
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
    const int baseline = caption.top + (caption.Height() + extent.ascent - extent.descent) / 2;
    JFontDraw(font, clipped, textArea.left, baseline, record.title.c_str(),
              active ? kActiveTitle : kInactiveTitle);
    JFontRelease(font);
}

void DrawBorder(const RasterTarget& target, const WindowRecord& record, const JRect& outer) {
    const int side = Side(record.style);
    if (side <= 0) {
        return;
    }
    const JRect inner{outer.left + side, outer.top + side, outer.right - side, outer.bottom - side};
    for (const JRect& band : {JRect{outer.left, outer.top, outer.right, inner.top},
                              JRect{outer.left, inner.bottom, outer.right, outer.bottom},
                              JRect{outer.left, inner.top, inner.left, inner.bottom},
                              JRect{inner.right, inner.top, outer.right, inner.bottom}}) {
        Fill(target, band, kBorderFace);
    }
    if (side > 2) {
        Outline(target, JRect{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1},
                kBorderLight);
    }
    Outline(target, outer, kOutline);
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
        Fill(target, CaptionRect(*record), active ? kActiveCaption : kInactiveCaption);
        for (Box box : {Box::SystemMenu, Box::Minimise, Box::Maximise, Box::Close}) {
            DrawBox(target, BoxRect(*record, box), box);
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
