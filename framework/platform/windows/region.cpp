#include "framework/platform/windows/region.h"

namespace {

// The parts of `a` outside `cut`: up to four bands.
void PushDifference(const JRect& a, const JRect& cut, JRegion* out) {
    const JRect both = JRectIntersect(a, cut);
    if (both.Empty()) {
        out->push_back(a);
        return;
    }
    if (a.top < both.top) {
        out->push_back(JRect{a.left, a.top, a.right, both.top});
    }
    if (both.bottom < a.bottom) {
        out->push_back(JRect{a.left, both.bottom, a.right, a.bottom});
    }
    if (a.left < both.left) {
        out->push_back(JRect{a.left, both.top, both.left, both.bottom});
    }
    if (both.right < a.right) {
        out->push_back(JRect{both.right, both.top, a.right, both.bottom});
    }
}

}  // namespace

void JRegionAdd(JRegion* region, const JRect& rect) {
    if (rect.Empty()) {
        return;
    }
    JRegion pieces{rect};
    for (const JRect& held : *region) {
        JRegion rest;
        for (const JRect& piece : pieces) {
            PushDifference(piece, held, &rest);
        }
        pieces.swap(rest);
        if (pieces.empty()) {
            return;
        }
    }
    region->insert(region->end(), pieces.begin(), pieces.end());
}

void JRegionSubtract(JRegion* region, const JRect& rect) {
    if (rect.Empty()) {
        return;
    }
    JRegion rest;
    for (const JRect& held : *region) {
        PushDifference(held, rect, &rest);
    }
    region->swap(rest);
}

JRegion JRegionIntersect(const JRegion& region, const JRect& rect) {
    JRegion result;
    for (const JRect& held : region) {
        const JRect both = JRectIntersect(held, rect);
        if (!both.Empty()) {
            result.push_back(both);
        }
    }
    return result;
}

JRect JRegionBounds(const JRegion& region) {
    if (region.empty()) {
        return JRect{};
    }
    JRect box = region.front();
    for (const JRect& r : region) {
        box = JRect{std::min(box.left, r.left), std::min(box.top, r.top),
                    std::max(box.right, r.right), std::max(box.bottom, r.bottom)};
    }
    return box;
}

void JRegionOffset(JRegion* region, int dx, int dy) {
    for (JRect& r : *region) {
        r = JRectOffset(r, dx, dy);
    }
}

bool JRegionIntersects(const JRegion& region, const JRect& rect) {
    for (const JRect& held : region) {
        if (!JRectIntersect(held, rect).Empty()) {
            return true;
        }
    }
    return false;
}
