// Moving a window by its caption and resizing it by its borders: while the
// button is held, pointer events move or resize the window and reach no one
// else.
#include <algorithm>

#include "framework/platform/windows/window_system.h"

namespace {

constexpr int kCaptionKeptVisible = 24;  // pixels of a dragged window that stay in the frame

struct Tracking {
    bool active = false;
    JWnd window = kNoWindow;
    JHit hit = kHitNowhere;
    JPoint start;
    JRect startBounds;
};

Tracking& Track() {
    static Tracking tracking;
    return tracking;
}

bool Moves(JHit hit, JHit a, JHit b, JHit c) {
    return hit == a || hit == b || hit == c;
}

// One edge moved by `delta`, kept within the size limits; the other edge
// stays where it was.
void MoveLowEdge(int* low, int high, int delta, int minSize, int maxSize) {
    *low = std::clamp(*low + delta, high - maxSize, high - minSize);
}
void MoveHighEdge(int low, int* high, int delta, int minSize, int maxSize) {
    *high = std::clamp(*high + delta, low + minSize, low + maxSize);
}

JRect DraggedBounds(const Tracking& t, int dx, int dy) {
    const JRect client = JFrameClientRect();
    JRect moved = JRectOffset(t.startBounds, dx, dy);
    const int width = moved.Width();
    const int left = std::clamp(moved.left, kCaptionKeptVisible - width,
                                std::max(0, client.Width() - kCaptionKeptVisible));
    const int top = std::clamp(moved.top, 0, std::max(0, client.Height() - kCaptionKeptVisible));
    return JRectOffset(moved, left - moved.left, top - moved.top);
}

JRect ResizedBounds(const Tracking& t, const WindowRecord& record, int dx, int dy) {
    JRect r = t.startBounds;
    const JHit h = t.hit;
    if (Moves(h, kHitLeft, kHitTopLeft, kHitBottomLeft)) {
        MoveLowEdge(&r.left, r.right, dx, record.minWidth, record.maxWidth);
    }
    if (Moves(h, kHitRight, kHitTopRight, kHitBottomRight)) {
        MoveHighEdge(r.left, &r.right, dx, record.minWidth, record.maxWidth);
    }
    if (Moves(h, kHitTop, kHitTopLeft, kHitTopRight)) {
        MoveLowEdge(&r.top, r.bottom, dy, record.minHeight, record.maxHeight);
    }
    if (Moves(h, kHitBottom, kHitBottomLeft, kHitBottomRight)) {
        MoveHighEdge(r.top, &r.bottom, dy, record.minHeight, record.maxHeight);
    }
    return r;
}

void Follow(const JInputEvent& event) {
    Tracking& t = Track();
    const WindowRecord* record = FindWindow(t.window);
    if (record == nullptr) {
        t = Tracking{};
        return;
    }
    const int dx = event.x - t.start.x;
    const int dy = event.y - t.start.y;
    JMoveWindow(t.window, t.hit == kHitCaption ? DraggedBounds(t, dx, dy)
                                               : ResizedBounds(t, *record, dx, dy));
}

}  // namespace

void BeginTracking(JWnd window, JHit hit, JPoint framePoint) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr || record->maximised || (JMouseButtons() & kModLeftButton) == 0) {
        return;
    }
    Track() = Tracking{true, window, hit, framePoint, record->bounds};
}

bool TrackingActive() {
    return Track().active;
}

bool TrackPointer(const JInputEvent& event) {
    Tracking& t = Track();
    if (!t.active) {
        return false;
    }
    switch (event.kind) {
        case JInputKind::PointerMoved:
            Follow(event);
            return true;
        case JInputKind::ButtonUp:
            Follow(event);
            t = Tracking{};
            return true;
        case JInputKind::ButtonDown:
        case JInputKind::Wheel:
            return true;
        default:
            return false;
    }
}

void CancelTracking() {
    Track() = Tracking{};
}
