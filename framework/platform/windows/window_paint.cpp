#include "framework/platform/windows/window_paint.h"

#include <algorithm>

#include "framework/platform/draw/frame.h"
#include "framework/platform/windows/window_system.h"

namespace {

constexpr int kMaxPaintsPerUpdate = 10000;  // a window that invalidates itself while painting

bool MenuStripInvalid = false;

// The client area less the visible children, which draw for themselves.
JRegion ClientLessChildren(const WindowRecord& record, JRegion region) {
    for (JWnd child : record.children) {
        const WindowRecord* childRecord = FindWindow(child);
        if (childRecord != nullptr && childRecord->shown) {
            JRegionSubtract(&region, childRecord->bounds);
        }
    }
    return region;
}

// DrawPort's empty visible list means "everything", so nothing is one empty rectangle.
void SetPortVisible(WindowRecord* record, JRegion visible) {
    if (visible.empty()) {
        visible.push_back(JRect{});
    }
    record->port.visible = std::move(visible);
}

void MarkClientDirty(const WindowRecord& record, const JRegion& region) {
    const JPoint origin = JClientToFrame(record.handle, JPoint{});
    for (const JRect& r : region) {
        MarkFrameDirty(JRectOffset(r, origin.x, origin.y));
    }
}

void FillBackground(const WindowRecord& record) {
    const RasterTarget target{record.port.surface, record.port.originX, record.port.originY,
                              &record.port.visible, false};
    for (const JRect& r : record.port.visible) {
        RasterFillRect(target, RasterInk{JColourToRgb(record.background)}, r);
    }
}

void InvalidateChildrenUnder(const WindowRecord& record, const JRect& rect) {
    for (JWnd child : record.children) {
        const WindowRecord* childRecord = FindWindow(child);
        if (childRecord == nullptr || !childRecord->shown) {
            continue;
        }
        const JRect overlap = JRectIntersect(rect, childRecord->bounds);
        if (overlap.Empty()) {
            continue;
        }
        const JRect client = JWindowClientBounds(child);
        const JRect inChild = JRectOffset(overlap, -client.left, -client.top);
        JInvalidateRect(child, &inChild);
        const JRect inClient = JRectIntersect(overlap, client);
        if (inClient.left != overlap.left || inClient.top != overlap.top ||
            inClient.right != overlap.right || inClient.bottom != overlap.bottom) {
            DrawDecorations(FindWindow(child));
        }
    }
}

JWnd FindInvalidBelow(const WindowRecord& record, JWnd filter) {
    if (!record.shown) {
        return kNoWindow;
    }
    if (!record.invalid.empty() && (filter == kNoWindow || JIsDescendant(filter, record.handle))) {
        return record.handle;
    }
    for (JWnd child : record.children) {
        const WindowRecord* childRecord = FindWindow(child);
        const JWnd found = childRecord != nullptr ? FindInvalidBelow(*childRecord, filter) : 0;
        if (found != kNoWindow) {
            return found;
        }
    }
    return kNoWindow;
}

void PaintMenuStrip(WindowRecord* frame) {
    WindowSystem& system = Windows();
    MenuStripInvalid = false;
    const JRect strip{0, 0, frame->store.width,
                      std::min(system.menuBarHeight, frame->store.height)};
    if (strip.Empty() || system.menuBarPaint == nullptr) {
        return;
    }
    DrawPort port;
    port.kind = DrawPortKind::Window;
    port.surface = &frame->store;
    port.visible = {strip};
    const DrawingState saved = JSaveDrawingState();
    JSelectPort(&port);
    system.menuBarPaint(strip);
    JRestoreDrawingState(saved);
    if (JCurrentPort() == &port) {
        JSelectNoPort();
    }
    MarkFrameDirty(strip);
}

void CopyRect(const JSurface& from, int fromX, int fromY, JSurface* to, const JRect& rect) {
    for (int y = rect.top; y < rect.bottom; ++y) {
        const std::uint32_t* source = from.Row(y - fromY) + (rect.left - fromX);
        std::copy(source, source + rect.Width(), to->Row(y) + rect.left);
    }
}

void ComposeRect(const JRect& rect, const JRect& clientArea) {
    const WindowSystem& system = Windows();
    JSurface* screen = JFrameSurface();
    CopyRect(FindWindow(system.frame)->store, 0, 0, screen, rect);
    const JRect windowsPart = JRectIntersect(rect, clientArea);
    for (auto it = system.zOrder.rbegin(); it != system.zOrder.rend(); ++it) {
        const WindowRecord* record = FindWindow(*it);
        if (!record->shown) {
            continue;
        }
        const JRect outer = OuterInFrame(*record);
        const JRect part = JRectIntersect(windowsPart, outer);
        if (!part.Empty()) {
            CopyRect(record->store, outer.left, outer.top, screen, part);
        }
    }
}

// Moves a block of the store by dx, dy, within `limit` (store coordinates).
void ShiftPixels(JSurface* store, const JRect& limit, int dx, int dy) {
    const JRect destination = JRectIntersect(JRectOffset(limit, dx, dy), limit);
    if (destination.Empty()) {
        return;
    }
    std::vector<std::uint32_t> block(static_cast<std::size_t>(destination.Width()) *
                                     destination.Height());
    for (int y = destination.top; y < destination.bottom; ++y) {
        const std::uint32_t* source = store->Row(y - dy) + (destination.left - dx);
        std::copy(
            source, source + destination.Width(),
            block.begin() + static_cast<std::ptrdiff_t>(y - destination.top) * destination.Width());
    }
    for (int y = destination.top; y < destination.bottom; ++y) {
        auto row =
            block.begin() + static_cast<std::ptrdiff_t>(y - destination.top) * destination.Width();
        std::copy(row, row + destination.Width(), store->Row(y) + destination.left);
    }
}

void MoveChildrenBy(WindowRecord* record, int dx, int dy) {
    for (JWnd child : std::vector<JWnd>(record->children)) {
        if (WindowRecord* childRecord = FindWindow(child)) {
            JMoveWindow(child, JRectOffset(childRecord->bounds, dx, dy));
        }
    }
}

}  // namespace

// --- shared with the other window files ---

void MarkFrameDirty(const JRect& frameRect) {
    JRegionAdd(&Windows().frameDirty, frameRect);
}

void MarkWindowDirty(const WindowRecord& record) {
    MarkFrameDirty(OuterInFrame(record));
}

void ResizeStore(WindowRecord* record) {
    if (IsTopLevel(*record) || (record->style & kWsFrame) != 0) {
        JSurfaceResize(&record->store, record->bounds.Width(), record->bounds.Height(),
                       JColourToRgb(record->background));
        RefreshPortsBelow(record);
    }
    DrawDecorations(record);
    JInvalidateRect(record->handle, nullptr);
    if ((record->style & kWsFrame) != 0) {
        MarkWindowDirty(*record);
        JInvalidateMenuBarStrip();
    }
}

JWnd FindWindowToPaint(JWnd filter) {
    const WindowSystem& system = Windows();
    const WindowRecord* frame = FindWindow(system.frame);
    if (frame == nullptr || !frame->shown) {
        return kNoWindow;
    }
    if (!frame->invalid.empty() && (filter == kNoWindow || filter == frame->handle)) {
        return frame->handle;
    }
    for (auto it = system.zOrder.rbegin(); it != system.zOrder.rend(); ++it) {
        const JWnd found = FindInvalidBelow(*FindWindow(*it), filter);
        if (found != kNoWindow) {
            return found;
        }
    }
    return kNoWindow;
}

// --- invalid areas ---

void JInvalidateRect(JWnd window, const JRect* rect) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    const JRect client = JWindowClientRect(window);
    const JRect area = rect != nullptr ? JRectIntersect(*rect, client) : client;
    if (area.Empty()) {
        return;
    }
    JRegionAdd(&record->invalid, area);
    InvalidateChildrenUnder(*record, area);
}

void JInvalidateRegion(JWnd window, const std::vector<JRect>& region) {
    for (const JRect& rect : region) {
        JInvalidateRect(window, &rect);
    }
}

void JValidateRect(JWnd window, const JRect* rect) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    if (rect == nullptr) {
        record->invalid.clear();
    } else {
        JRegionSubtract(&record->invalid, *rect);
    }
}

bool JWindowNeedsPaint(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr && !record->invalid.empty();
}

std::vector<JRect> JWindowUpdateRegion(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->invalid : std::vector<JRect>{};
}

void JSystemColoursChanged() {
    for (auto& [handle, record] : Windows().windows) {
        DrawDecorations(record.get());
        JInvalidateRect(handle, nullptr);
    }
    JInvalidateMenuBarStrip();
}

JColour JWindowBackground(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->background : kColourWhite;
}

void JInvalidateMenuBarStrip() {
    MenuStripInvalid = true;
}

// --- painting ---

DrawPort* JBeginPaint(JWnd window, JPaintInfo* paint) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr || paint == nullptr) {
        return nullptr;
    }
    NotePaintBegun();
    paint->saved = JSaveDrawingState();
    // Only what lies in the client area now: a window that shrank since
    // its area was made invalid must not paint where it no longer is.
    paint->region = JRegionIntersect(record->invalid, JWindowClientRect(window));
    record->invalid.clear();
    paint->box = JRegionBounds(paint->region);
    SetPortVisible(record, ClientLessChildren(*record, paint->region));
    if ((record->windowClass->flags & kClassNoBackground) == 0) {
        FillBackground(*record);
    }
    JSelectPort(&record->port);
    if (JIsWindowVisible(window)) {
        MarkClientDirty(*record, paint->region);
    }
    return &record->port;
}

void JEndPaint(JWnd window, const JPaintInfo& paint) {
    if (WindowRecord* record = FindWindow(window)) {
        SetPortVisible(record, ClientLessChildren(*record, {JWindowClientRect(window)}));
    }
    JRestoreDrawingState(paint.saved);
}

DrawPort* JWindowPort(JWnd window) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return nullptr;
    }
    const JRegion visible = ClientLessChildren(*record, {JWindowClientRect(window)});
    SetPortVisible(record, visible);
    if (JIsWindowVisible(window)) {
        MarkClientDirty(*record, visible);
    }
    return &record->port;
}

void JUpdateWindow(JWnd window) {
    for (int i = 0; i < kMaxPaintsPerUpdate; ++i) {
        JMessage message;
        if (!JPeekMessage(&message, window, kPeekPaintOnly)) {
            return;
        }
        JDispatchMessage(message);
    }
}

void JUpdateAllWindows() {
    JUpdateWindow(kNoWindow);
}

void JScrollWindow(JWnd window, int dx, int dy, const JRect* area) {
    WindowRecord* record = FindWindow(window);
    WindowRecord* top = TopLevelRecord(window);
    if (record == nullptr || top == nullptr || (dx == 0 && dy == 0)) {
        return;
    }
    const JRect client = JWindowClientRect(window);
    const JRect rect = area != nullptr ? JRectIntersect(*area, client) : client;
    if (rect.Empty()) {
        return;
    }
    const JPoint origin = ClientOriginInStore(*record);
    ShiftPixels(&top->store, JRectOffset(rect, origin.x, origin.y), dx, dy);
    // What was invalid moves with the pixels; what they uncover becomes invalid.
    JRegion moved = JRegionIntersect(record->invalid, rect);
    JRegionOffset(&moved, dx, dy);
    JRegionSubtract(&record->invalid, rect);
    for (const JRect& r : JRegionIntersect(moved, rect)) {
        JRegionAdd(&record->invalid, r);
    }
    JRegion uncovered{rect};
    JRegionSubtract(&uncovered, JRectOffset(rect, dx, dy));
    if (area == nullptr) {
        MoveChildrenBy(record, dx, dy);
    }
    JInvalidateRegion(window, uncovered);
    if (JIsWindowVisible(window)) {
        MarkClientDirty(*record, {rect});
    }
}

void JComposeFrame() {
    WindowSystem& system = Windows();
    WindowRecord* frame = FindWindow(system.frame);
    if (frame == nullptr || !JFrameIsOpen()) {
        return;
    }
    if (MenuStripInvalid) {
        PaintMenuStrip(frame);
    }
    JSurface* screen = JFrameSurface();
    if (system.frameDirty.empty() || screen->width != frame->store.width ||
        screen->height != frame->store.height) {
        return;
    }
    const JRect clientArea = JFrameClientRect();
    const JRegion dirty = JRegionIntersect(system.frameDirty, screen->Bounds());
    system.frameDirty.clear();
    for (const JRect& rect : dirty) {
        ComposeRect(rect, clientArea);
    }
    if (frame->shown && !dirty.empty()) {
        JFramePresent(JRegionBounds(dirty));
    }
}
