// Points and rectangles of the platform layer. A rectangle holds its left and
// top edges and stops before its right and bottom edges.
#pragma once

#include <algorithm>

struct JPoint {
    int x = 0;
    int y = 0;
};

struct JRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const JRect&) const = default;
};

inline JRect JRectIntersect(const JRect& a, const JRect& b) {
    return JRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
}

inline JRect JRectOffset(const JRect& r, int dx, int dy) {
    return JRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}
