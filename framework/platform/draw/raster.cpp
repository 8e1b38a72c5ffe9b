#include "framework/platform/draw/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// Marks pixels of one outline before they are painted, so that no pixel is
// painted twice (which would undo an inverting pen).
class Coverage {
public:
    explicit Coverage(const JRect& box)
        : box_(box),
          marks_(static_cast<std::size_t>(std::max(box.Width(), 0)) * std::max(box.Height(), 0)) {}

    void Mark(int x, int y) {
        if (box_.Contains(x, y)) {
            marks_[Index(x, y)] = 1;
        }
    }
    void MarkSpan(int y, int x0, int x1) {  // x0..x1 inclusive
        for (int x = std::max(x0, box_.left); x <= std::min(x1, box_.right - 1); ++x) {
            Mark(x, y);
        }
    }
    void MarkSquare(int x, int y, int size) {
        const int first = -(size / 2);
        for (int dy = first; dy < first + size; ++dy) {
            MarkSpan(y + dy, x + first, x + first + size - 1);
        }
    }
    bool Marked(int x, int y) const { return box_.Contains(x, y) && marks_[Index(x, y)] != 0; }
    void Clear(int x, int y) {
        if (box_.Contains(x, y)) {
            marks_[Index(x, y)] = 0;
        }
    }
    const JRect& Box() const { return box_; }

    void Paint(const RasterTarget& target, const RasterInk& ink) const {
        for (int y = box_.top; y < box_.bottom; ++y) {
            int x = box_.left;
            while (x < box_.right) {
                if (!Marked(x, y)) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < box_.right && Marked(x, y)) {
                    ++x;
                }
                RasterSpan(target, ink, y, start, x);
            }
        }
    }

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y - box_.top) * box_.Width() + (x - box_.left);
    }
    JRect box_;
    std::vector<std::uint8_t> marks_;
};

std::uint32_t InkColourAt(const RasterInk& ink, int x, int y) {
    if (ink.pattern == nullptr) {
        return ink.colour;
    }
    const bool set = (ink.pattern->rows[y & 7] >> (7 - (x & 7))) & 1;
    return set ? ink.patternSetColour : ink.colour;
}

// Bresenham from (x0, y0) toward (x1, y1), without the end point.
template <typename Plot>
void WalkLine(int x0, int y0, int x1, int y1, Plot plot) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (x0 != x1 || y0 != y1) {
        plot(x0, y0);
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x0 += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

JRect PointsBox(const JPoint* points, int count, int margin) {
    JRect box{points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (int i = 1; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.right = std::max(box.right, points[i].x + 1);
        box.bottom = std::max(box.bottom, points[i].y + 1);
    }
    return JRect{box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
}

// Leftmost and rightmost pixel (inclusive) of each row of a rounded shape.
struct RowExtent {
    int left;
    int right;
};

// Rows of an ellipse filling a width by height box, relative to the box.
std::vector<RowExtent> EllipseRows(int width, int height) {
    std::vector<RowExtent> rows(static_cast<std::size_t>(height));
    const double rx = width / 2.0;
    const double ry = height / 2.0;
    const double cx = (width - 1) / 2.0;
    const double cy = (height - 1) / 2.0;
    for (int j = 0; j < height; ++j) {
        const double t = (j - cy) / ry;
        const double dx = rx * std::sqrt(std::max(0.0, 1.0 - t * t));
        int left = static_cast<int>(std::ceil(cx - dx - 1e-9));
        int right = static_cast<int>(std::floor(cx + dx + 1e-9));
        if (left > right) {  // a sliver narrower than a pixel keeps the middle pixels
            left = static_cast<int>(std::floor(cx));
            right = static_cast<int>(std::ceil(cx));
        }
        rows[j] = RowExtent{left, right};
    }
    return rows;
}

// Rows of a rounded rectangle, in port coordinates; empty for an empty rectangle.
std::vector<RowExtent> RoundedRows(const JRect& rect, int cornerWidth, int cornerHeight) {
    const int width = rect.Width();
    const int height = rect.Height();
    if (width <= 0 || height <= 0) {
        return {};
    }
    const int ew = std::clamp(cornerWidth, 1, width);
    const int eh = std::clamp(cornerHeight, 1, height);
    const std::vector<RowExtent> corner = EllipseRows(ew, eh);
    std::vector<RowExtent> rows(static_cast<std::size_t>(height));
    const int topCornerRows = eh / 2;
    const int bottomCornerRows = eh - topCornerRows;
    for (int j = 0; j < height; ++j) {
        int e = -1;
        if (j < topCornerRows) {
            e = j;
        } else if (j >= height - bottomCornerRows) {
            e = eh - (height - j);
        }
        if (e < 0) {
            rows[j] = RowExtent{rect.left, rect.right - 1};
            continue;
        }
        const int leftInset = corner[e].left;
        const int rightInset = ew - 1 - corner[e].right;
        rows[j] = RowExtent{rect.left + leftInset, rect.right - 1 - rightInset};
    }
    return rows;
}

// The one-pixel outline of a convex shape given by its rows: each row's end
// pixels, widened toward the next row outward so that the outline stays
// connected; the first and last rows are outline whole.
void MarkOutline(Coverage* coverage, const std::vector<RowExtent>& rows, int top) {
    const int count = static_cast<int>(rows.size());
    for (int j = 0; j < count; ++j) {
        const int y = top + j;
        const RowExtent& row = rows[j];
        if (j == 0 || j == count - 1) {
            coverage->MarkSpan(y, row.left, row.right);
            continue;
        }
        const RowExtent& outer = rows[j < count / 2 ? j - 1 : j + 1];
        coverage->MarkSpan(y, row.left, std::max(row.left, outer.left - 1));
        coverage->MarkSpan(y, std::min(row.right, outer.right + 1), row.right);
    }
}

void MarkRoundedFrame(Coverage* coverage, const JRect& rect, int cornerWidth, int cornerHeight,
                      int penWidth) {
    for (int inset = 0; inset < std::max(penWidth, 1); ++inset) {
        const JRect inner{rect.left + inset, rect.top + inset, rect.right - inset,
                          rect.bottom - inset};
        if (inner.Empty()) {
            break;
        }
        MarkOutline(coverage, RoundedRows(inner, cornerWidth - 2 * inset, cornerHeight - 2 * inset),
                    inner.top);
    }
}

// Counter-clockwise (on screen, y growing downward) angle of a vector.
double ScreenAngle(double dx, double dy) {
    const double angle = std::atan2(-dy, dx);
    return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

// Keeps only the marked pixels inside the sweep from `start` to `end`.
void KeepSweep(Coverage* coverage, const JRect& rect, JPoint start, JPoint end) {
    const double cx = (rect.left + rect.right - 1) / 2.0;
    const double cy = (rect.top + rect.bottom - 1) / 2.0;
    const double from = ScreenAngle(start.x - cx, start.y - cy);
    const double to = ScreenAngle(end.x - cx, end.y - cy);
    if (std::abs(from - to) < 1e-12) {
        return;
    }
    double sweep = to - from;
    if (sweep < 0) {
        sweep += 2 * std::numbers::pi;
    }
    const JRect& box = coverage->Box();
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            double offset = ScreenAngle(x - cx, y - cy) - from;
            if (offset < 0) {
                offset += 2 * std::numbers::pi;
            }
            const bool centre = std::abs(x - cx) < 0.5 && std::abs(y - cy) < 0.5;
            if (!centre && offset > sweep + 1e-9) {
                coverage->Clear(x, y);
            }
        }
    }
}

void PaintSolidSpan(std::uint32_t* row, int x0, int x1, std::uint32_t colour, JPenMode mode) {
    if (mode == JPenMode::Copy) {
        std::fill(row + x0, row + x1, colour);
        return;
    }
    for (int x = x0; x < x1; ++x) {
        row[x] = RasterCombine(row[x], colour, mode);
    }
}

// Paints surface pixels [x0, x1) of surface row sy, already clipped.
void PaintClippedSpan(const RasterTarget& target, const RasterInk& ink, int sy, int x0, int x1) {
    std::uint32_t* row = target.surface->Row(sy);
    if (ink.pattern == nullptr) {
        const std::uint32_t colour = target.mono ? RasterToMono(ink.colour) : ink.colour;
        PaintSolidSpan(row, x0, x1, colour, ink.mode);
        return;
    }
    const int py = sy - target.originY;
    for (int x = x0; x < x1; ++x) {
        std::uint32_t colour = InkColourAt(ink, x - target.originX, py);
        if (target.mono) {
            colour = RasterToMono(colour);
        }
        row[x] = RasterCombine(row[x], colour, ink.mode);
    }
}

}  // namespace

std::uint32_t RasterToMono(std::uint32_t rgb) {
    const std::uint32_t luminance =
        (JRgbRed(rgb) * 299 + JRgbGreen(rgb) * 587 + JRgbBlue(rgb) * 114) / 1000;
    return luminance >= 128 ? kWhite : kBlack;
}

std::uint32_t RasterCombine(std::uint32_t destination, std::uint32_t source, JPenMode mode) {
    if (mode == JPenMode::Invert) {
        return ~(destination ^ source) & kRgbMask;
    }
    return source;
}

void RasterSpan(const RasterTarget& target, const RasterInk& ink, int y, int x0, int x1) {
    RasterForEachClippedSpan(target, y, x0, x1, [&](int sy, int sx0, int sx1) {
        PaintClippedSpan(target, ink, sy, sx0, sx1);
    });
}

void RasterFillRect(const RasterTarget& target, const RasterInk& ink, const JRect& rect) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        RasterSpan(target, ink, y, rect.left, rect.right);
    }
}

void RasterSetPixel(const RasterTarget& target, const RasterInk& ink, int x, int y) {
    RasterSpan(target, ink, y, x, x + 1);
}

bool RasterGetPixel(const RasterTarget& target, int x, int y, std::uint32_t* rgb) {
    const int sx = x + target.originX;
    const int sy = y + target.originY;
    if (!target.surface->Bounds().Contains(sx, sy)) {
        return false;
    }
    *rgb = target.surface->At(sx, sy);
    return true;
}

void RasterPolyline(const RasterTarget& target, const RasterInk& ink, const JPoint* points,
                    int count, bool closed, int penWidth) {
    if (count < 1) {
        return;
    }
    const int width = std::max(penWidth, 1);
    Coverage coverage(PointsBox(points, count, width));
    auto plot = [&](int x, int y) { coverage.MarkSquare(x, y, width); };
    for (int i = 0; i + 1 < count; ++i) {
        WalkLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, plot);
    }
    if (closed && count > 1) {
        WalkLine(points[count - 1].x, points[count - 1].y, points[0].x, points[0].y, plot);
    }
    coverage.Paint(target, ink);
}

void RasterPolygonFill(const RasterTarget& target, const RasterInk& ink, const JPoint* points,
                       int count) {
    if (count < 3) {
        return;
    }
    const JRect box = PointsBox(points, count, 0);
    std::vector<double> crossings;
    for (int y = box.top; y < box.bottom; ++y) {
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const JPoint& a = points[i];
            const JPoint& b = points[(i + 1) % count];
            if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) {
                continue;
            }
            crossings.push_back(a.x + static_cast<double>(y - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int x0 = static_cast<int>(std::ceil(crossings[i]));
            const int x1 = static_cast<int>(std::ceil(crossings[i + 1]));
            RasterSpan(target, ink, y, x0, x1);
        }
    }
}

void RasterRoundRectFill(const RasterTarget& target, const RasterInk& ink, const JRect& rect,
                         int cornerWidth, int cornerHeight) {
    const std::vector<RowExtent> rows = RoundedRows(rect, cornerWidth, cornerHeight);
    for (std::size_t j = 0; j < rows.size(); ++j) {
        RasterSpan(target, ink, rect.top + static_cast<int>(j), rows[j].left, rows[j].right + 1);
    }
}

void RasterRoundRectFrame(const RasterTarget& target, const RasterInk& ink, const JRect& rect,
                          int cornerWidth, int cornerHeight, int penWidth) {
    Coverage coverage(rect);
    MarkRoundedFrame(&coverage, rect, cornerWidth, cornerHeight, penWidth);
    coverage.Paint(target, ink);
}

void RasterArc(const RasterTarget& target, const RasterInk& ink, const JRect& rect, JPoint start,
               JPoint end, int penWidth) {
    Coverage coverage(rect);
    MarkRoundedFrame(&coverage, rect, rect.Width(), rect.Height(), penWidth);
    KeepSweep(&coverage, rect, start, end);
    coverage.Paint(target, ink);
}

void RasterPie(const RasterTarget& target, const RasterInk& ink, const JRect& rect, JPoint start,
               JPoint end) {
    Coverage coverage(rect);
    const std::vector<RowExtent> rows = RoundedRows(rect, rect.Width(), rect.Height());
    for (std::size_t j = 0; j < rows.size(); ++j) {
        coverage.MarkSpan(rect.top + static_cast<int>(j), rows[j].left, rows[j].right);
    }
    KeepSweep(&coverage, rect, start, end);
    coverage.Paint(target, ink);
}
