// Moving a window by its caption and resizing it by its borders: while the
// button is held, pointer events move or resize the window and reach no one
// else.
#include <algorithm>

#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window_paint.h"
#include "framework/platform/windows/window_system.h"

namespace {

constexpr int kCaptionKeptVisible = 24;  // pixels of a dragged window that stay in the frame

constexpr int kKeyStep = 8;  // pixels an arrow key moves a window or an edge

struct Tracking {
    bool active = false;
    JWnd window = kNoWindow;
    JHit hit = kHitNowhere;  // with the keys: none until the first arrow picks an edge
    JPoint start;
    JRect startBounds;
    bool keyboard = false;
    JPoint moved;        // the keys' offset so far
    int boxCommand = 0;  // a caption box held down: the command it gives
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

void FollowOffset(int dx, int dy) {
    Tracking& t = Track();
    const WindowRecord* record = FindWindow(t.window);
    if (record == nullptr) {
        t = Tracking{};
        return;
    }
    JMoveWindow(t.window, t.hit == kHitCaption ? DraggedBounds(t, dx, dy)
                                               : ResizedBounds(t, *record, dx, dy));
}

void Follow(const JInputEvent& event) {
    const Tracking& t = Track();
    FollowOffset(event.x - t.start.x, event.y - t.start.y);
}

// The first arrow picks the edge to size; an arrow across it adds the
// corner.
JHit EdgeForArrow(JHit hit, std::uint16_t key) {
    const bool horizontal = key == kKeyLeft || key == kKeyRight;
    const JHit side = key == kKeyLeft    ? kHitLeft
                      : key == kKeyRight ? kHitRight
                      : key == kKeyUp    ? kHitTop
                                         : kHitBottom;
    if (hit == kHitNowhere) {
        return side;
    }
    if (horizontal && (hit == kHitTop || hit == kHitBottom)) {
        return hit == kHitTop ? (side == kHitLeft ? kHitTopLeft : kHitTopRight)
                              : (side == kHitLeft ? kHitBottomLeft : kHitBottomRight);
    }
    if (!horizontal && (hit == kHitLeft || hit == kHitRight)) {
        return hit == kHitLeft ? (side == kHitTop ? kHitTopLeft : kHitBottomLeft)
                               : (side == kHitTop ? kHitTopRight : kHitBottomRight);
    }
    return hit;
}

void ArrowKey(std::uint16_t key) {
    Tracking& t = Track();
    if (t.hit != kHitCaption) {
        const JHit edge = EdgeForArrow(t.hit, key);
        const bool picked = edge != t.hit;
        t.hit = edge;
        if (picked) {
            return;  // picking an edge does not move it yet
        }
    }
    t.moved.x += key == kKeyLeft ? -kKeyStep : key == kKeyRight ? kKeyStep : 0;
    t.moved.y += key == kKeyUp ? -kKeyStep : key == kKeyDown ? kKeyStep : 0;
    FollowOffset(t.moved.x, t.moved.y);
}

// Keys and clicks while the keys move or size a window; all of them are
// taken, the text of the keys too.
void TrackKeyboard(const JInputEvent& event) {
    Tracking& t = Track();
    if (event.kind == JInputKind::ButtonDown) {
        t = Tracking{};
        return;
    }
    if (event.kind != JInputKind::KeyDown) {
        return;
    }
    switch (event.key) {
        case kKeyLeft:
        case kKeyRight:
        case kKeyUp:
        case kKeyDown:
            ArrowKey(event.key);
            break;
        case kKeyReturn:
            t = Tracking{};
            break;
        case kKeyEscape:
            JMoveWindow(t.window, t.startBounds);
            t = Tracking{};
            break;
        default:
            break;
    }
}

bool OverTheBox(const Tracking& t, const JInputEvent& event) {
    const WindowRecord* record = FindWindow(t.window);
    return record != nullptr &&
           HitTestWindow(*record, JFrameToClient(record->parent, JPoint{event.x, event.y})) ==
               t.hit;
}

bool TrackBox(const JInputEvent& event) {
    Tracking& t = Track();
    switch (event.kind) {
        case JInputKind::PointerMoved:
            JSetCaptionBoxPressed(t.window, OverTheBox(t, event) ? t.hit : kHitNowhere);
            return true;
        case JInputKind::ButtonUp: {
            const bool over = OverTheBox(t, event);
            const Tracking ended = t;
            t = Tracking{};
            JSetCaptionBoxPressed(ended.window, kHitNowhere);
            if (over) {
                JPostMessage(JMakeMessage(ended.window, JMsg::SysCommand, ended.boxCommand));
            }
            return true;
        }
        case JInputKind::ButtonDown:
        case JInputKind::Wheel:
            return true;
        default:
            return false;
    }
}

}  // namespace

void BeginTracking(JWnd window, JHit hit, JPoint framePoint) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr || record->maximised || (JMouseButtons() & kModLeftButton) == 0 ||
        (record->minimised && hit != kHitCaption)) {
        return;
    }
    Tracking tracking;
    tracking.active = true;
    tracking.window = window;
    tracking.hit = hit;
    tracking.start = framePoint;
    tracking.startBounds = record->bounds;
    Track() = tracking;
}

void BeginBoxTracking(JWnd window, JHit box, int command) {
    if (FindWindow(window) == nullptr || (JMouseButtons() & kModLeftButton) == 0) {
        return;
    }
    Tracking tracking;
    tracking.active = true;
    tracking.window = window;
    tracking.hit = box;
    tracking.boxCommand = command;
    Track() = tracking;
    JSetCaptionBoxPressed(window, box);
}

void BeginKeyboardTracking(JWnd window, bool moving) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr || record->maximised || (!moving && record->minimised) ||
        (!moving && (record->style & kWsSizing) == 0)) {
        return;
    }
    Tracking tracking;
    tracking.active = true;
    tracking.window = window;
    tracking.hit = moving ? kHitCaption : kHitNowhere;
    tracking.startBounds = record->bounds;
    tracking.keyboard = true;
    Track() = tracking;
}

bool TrackingActive() {
    return Track().active;
}

bool TrackPointer(const JInputEvent& event) {
    Tracking& t = Track();
    if (!t.active) {
        return false;
    }
    if (t.boxCommand != 0) {
        return TrackBox(event);
    }
    if (t.keyboard) {
        const bool keysOrPress =
            event.kind == JInputKind::KeyDown || event.kind == JInputKind::KeyUp ||
            event.kind == JInputKind::Text || event.kind == JInputKind::ButtonDown ||
            event.kind == JInputKind::Wheel;
        if (!keysOrPress) {
            return false;  // the pointer and the frame go on as usual
        }
        if (!JIsWindow(t.window)) {
            t = Tracking{};
            return false;
        }
        TrackKeyboard(event);
        return true;
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
