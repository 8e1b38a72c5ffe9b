#include "framework/platform/windows/window.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "framework/platform/draw/frame.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window_system.h"

namespace {

constexpr int kCaptionHeight = 20;
constexpr int kSizingBorder = 4;
constexpr int kFixedBorder = 3;  // the raised edge and a line of face colour
constexpr int kBoxWidth = 18;

JRect ClampSize(const WindowRecord& record, JRect bounds) {
    const int width = std::clamp(bounds.Width(), record.minWidth, record.maxWidth);
    const int height = std::clamp(bounds.Height(), record.minHeight, record.maxHeight);
    return JRect{bounds.left, bounds.top, bounds.left + width, bounds.top + height};
}

void SetDefaultLimits(WindowRecord* record) {
    const JRect borders = JBordersForStyle(record->style);
    int boxes = 0;
    for (std::uint32_t box : {kWsSystemMenu, kWsCloseBox, kWsMaximiseBox, kWsMinimiseBox}) {
        boxes += (record->style & box) != 0 ? 1 : 0;
    }
    const bool captioned = (record->style & kWsCaption) != 0;
    record->minWidth =
        std::max(1, borders.left + borders.right + boxes * kBoxWidth + (captioned ? 24 : 0));
    record->minHeight = std::max(1, borders.top + borders.bottom);
}

// Top-level windows of the top-most band sit before the others.
std::size_t BandFront(const WindowRecord& record) {
    const WindowSystem& system = Windows();
    if ((record.style & kWsTopMost) != 0) {
        return 0;
    }
    std::size_t index = 0;
    while (index < system.zOrder.size() &&
           (FindWindow(system.zOrder[index])->style & kWsTopMost) != 0) {
        ++index;
    }
    return index;
}

void RemoveFromZOrder(JWnd window) {
    auto& order = Windows().zOrder;
    order.erase(std::remove(order.begin(), order.end(), window), order.end());
}

bool IsOwnedBy(const WindowRecord* record, JWnd owner) {
    while (record != nullptr) {
        if (record->handle == owner) {
            return true;
        }
        record = TopLevelRecord(record->owner);
    }
    return false;
}

bool BlockedByModal(JWnd window) {
    const JWnd modal = JModalWindow();
    if (modal == kNoWindow) {
        return false;
    }
    const WindowRecord* top = TopLevelRecord(window);
    return top == nullptr || !IsOwnedBy(top, modal);
}

bool Activatable(const WindowRecord& record) {
    return IsTopLevel(record) && (record.style & kWsNoActivate) == 0 &&
           JIsWindowVisible(record.handle) && JWindowTakesInput(record.handle);
}

void SendFocusChange(JWnd from, JWnd to) {
    if (JIsWindow(from)) {
        JMessage lost = JMakeMessage(from, JMsg::KillFocus);
        lost.source = to;
        JSendMessage(lost);
    }
    if (JIsWindow(to) && Windows().focus == to) {
        JMessage gained = JMakeMessage(to, JMsg::SetFocus);
        gained.source = from;
        JSendMessage(gained);
    }
}

// What a hidden or destroyed window leaves behind: focus, capture and
// activation inside it go elsewhere.
void LetGoOfInput(JWnd window) {
    WindowSystem& system = Windows();
    if (JIsDescendant(window, system.capture)) {
        JReleaseCapture();
    }
    if (system.active == window) {
        ActivateNextAfter(window);
    }
    if (JIsDescendant(window, system.focus)) {
        JSetFocus(system.active != window ? system.active : kNoWindow);
    }
}

void HideTopLevel(WindowRecord* record) {
    WindowSystem& system = Windows();
    auto& modals = system.modalStack;
    const bool wasModal = std::find(modals.begin(), modals.end(), record->handle) != modals.end();
    modals.erase(std::remove(modals.begin(), modals.end(), record->handle), modals.end());
    MarkWindowDirty(*record);
    if (wasModal && system.active == record->handle) {
        const JWnd before = record->activeBefore;
        WindowRecord* previous = FindWindow(before);
        if (previous != nullptr && Activatable(*previous)) {
            JActivateWindow(before);
        }
    }
    LetGoOfInput(record->handle);
}

void ShowTopLevel(WindowRecord* record, bool activate) {
    WindowSystem& system = Windows();
    if ((record->style & kWsModal) != 0) {
        record->activeBefore = system.active;
        system.modalStack.push_back(record->handle);
    }
    JBringToFront(record->handle);
    MarkWindowDirty(*record);
    if (activate || (record->style & kWsModal) != 0) {
        JActivateWindow(record->handle);
    }
}

void InvalidateInParent(const WindowRecord& record) {
    if (record.parent != kNoWindow && (record.style & kWsChild) != 0) {
        JInvalidateRect(record.parent, &record.bounds);
    }
}

bool OpenFrame(const JWindowSpec& spec) {
    JFrameSpec frame;
    frame.title = spec.title;
    frame.x = spec.bounds.left;
    frame.y = spec.bounds.top;
    frame.width = std::max(1, spec.bounds.Width());
    frame.height = std::max(1, spec.bounds.Height());
    frame.resizable = (spec.style & kWsSizing) != 0;
    return JFrameIsOpen() || JFrameOpen(frame);
}

void SendMoveAndSize(JWnd window, const JRect& before, const JRect& after) {
    if (after.Width() != before.Width() || after.Height() != before.Height()) {
        const JRect client = JWindowClientRect(window);
        JMessage size = JMakeMessage(window, JMsg::Size);
        size.width = client.Width();
        size.height = client.Height();
        JSendMessage(size);
    }
    if (after.left != before.left || after.top != before.top) {
        JMessage move = JMakeMessage(window, JMsg::Move);
        move.x = after.left;
        move.y = after.top;
        JSendMessage(move);
    }
}

// Minimised windows lie in a row along the bottom of the frame's client
// area, in the order they were minimised, wrapping upward.
constexpr int kMinimisedWidth = 160;

JRect MinimisedSlot(const WindowRecord& record, int index) {
    const JRect client = JFrameClientRect();
    const JRect borders = JBordersForStyle(record.style);
    const int height = borders.top + borders.bottom;
    const int perRow = std::max(1, client.Width() / kMinimisedWidth);
    const int left = index % perRow * kMinimisedWidth;
    const int bottom = client.Height() - index / perRow * height;
    return JRect{left, bottom - height, left + kMinimisedWidth, bottom};
}

void PlaceMinimisedWindows() {
    auto& order = Windows().minimised;
    std::erase_if(order, [](JWnd window) {
        const WindowRecord* record = FindWindow(window);
        return record == nullptr || !record->minimised;
    });
    for (std::size_t i = 0; i < order.size(); ++i) {
        JMoveWindow(order[i], MinimisedSlot(*FindWindow(order[i]), int(i)));
    }
}

void FollowFrameSize() {
    const JRect client = JFrameClientRect();
    for (JWnd top : std::vector<JWnd>(Windows().zOrder)) {
        if (JIsMaximised(top)) {
            JMoveWindow(top, JRect{0, 0, client.Width(), client.Height()});
        }
    }
    PlaceMinimisedWindows();
}

// One field of a window's record, or `missing` for a window that is gone.
template <typename T>
T ReadField(JWnd window, T WindowRecord::*field, std::type_identity_t<T> missing) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->*field : missing;
}

}  // namespace

// --- shared with the other window files ---

WindowSystem& Windows() {
    static WindowSystem system;
    return system;
}

WindowRecord* FindWindow(JWnd window) {
    if (window == kNoWindow) {
        return nullptr;
    }
    auto& windows = Windows().windows;
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : found->second.get();
}

bool IsTopLevel(const WindowRecord& record) {
    return (record.style & (kWsChild | kWsFrame)) == 0;
}

WindowRecord* TopLevelRecord(JWnd window) {
    WindowRecord* record = FindWindow(window);
    while (record != nullptr && (record->style & kWsChild) != 0) {
        record = FindWindow(record->parent);
    }
    return record;
}

JPoint ClientOriginInStore(const WindowRecord& record) {
    const JRect borders = JBordersForStyle(record.style);
    if ((record.style & kWsFrame) != 0) {
        return JPoint{0, Windows().menuBarHeight};
    }
    if ((record.style & kWsChild) == 0) {
        return JPoint{borders.left, borders.top};
    }
    const WindowRecord* parent = FindWindow(record.parent);
    const JPoint base = parent != nullptr ? ClientOriginInStore(*parent) : JPoint{};
    return JPoint{base.x + record.bounds.left + borders.left,
                  base.y + record.bounds.top + borders.top};
}

JRect OuterInFrame(const WindowRecord& record) {
    if ((record.style & kWsFrame) != 0) {
        return JRect{0, 0, record.store.width, record.store.height};
    }
    const JPoint parentOrigin = JClientToFrame(record.parent, JPoint{});
    return JRectOffset(record.bounds, parentOrigin.x, parentOrigin.y);
}

void RefreshPort(WindowRecord* record) {
    WindowRecord* top = TopLevelRecord(record->handle);
    const JPoint origin = ClientOriginInStore(*record);
    record->port.kind = DrawPortKind::Window;
    record->port.surface = top != nullptr ? &top->store : nullptr;
    record->port.originX = origin.x;
    record->port.originY = origin.y;
}

void RefreshPortsBelow(WindowRecord* record) {
    RefreshPort(record);
    for (JWnd child : record->children) {
        if (WindowRecord* childRecord = FindWindow(child)) {
            RefreshPortsBelow(childRecord);
        }
    }
}

void ActivateNextAfter(JWnd leaving) {
    WindowSystem& system = Windows();
    const JWnd modal = JModalWindow();
    if (modal != kNoWindow && modal != leaving && Activatable(*FindWindow(modal))) {
        JActivateWindow(modal);
        return;
    }
    for (JWnd candidate : system.zOrder) {
        WindowRecord* record = FindWindow(candidate);
        if (candidate != leaving && Activatable(*record)) {
            JActivateWindow(candidate);
            return;
        }
    }
    const JWnd previous = system.active;
    system.active = kNoWindow;
    if (WindowRecord* record = FindWindow(previous)) {
        DrawDecorations(record);
        JMessage message = JMakeMessage(previous, JMsg::Activate, 0);
        JSendMessage(message);
    }
}

void ForgetWindow(JWnd window) {
    WindowSystem& system = Windows();
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    if (WindowRecord* parent = FindWindow(record->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    RemoveFromZOrder(window);
    DropMessagesFor(window);
    if (JCurrentPort() == &record->port) {
        JSelectNoPort();
    }
    system.windows.erase(window);
}

void FrameBoundsChanged() {
    WindowRecord* frame = FindWindow(Windows().frame);
    if (frame == nullptr) {
        return;
    }
    const JRect before = frame->bounds;
    frame->bounds = JFrameBounds();
    if (frame->bounds.Width() != before.Width() || frame->bounds.Height() != before.Height()) {
        ResizeStore(frame);
        FollowFrameSize();
    }
    SendMoveAndSize(frame->handle, before, frame->bounds);
}

// --- classes ---

bool JRegisterClass(const JWindowClass& windowClass) {
    if (windowClass.name == nullptr || windowClass.name[0] == 0) {
        return false;
    }
    auto record = std::make_shared<ClassRecord>();
    record->name = windowClass.name;
    record->proc = windowClass.proc != nullptr ? windowClass.proc : JDefWindowProc;
    record->cursor = windowClass.cursor;
    record->iconId = windowClass.iconId;
    record->background = windowClass.background;
    record->flags = windowClass.flags;
    Windows().classes[record->name] = record;
    return true;
}

bool JIsClassRegistered(const char* name) {
    return Windows().classes.count(name) != 0;
}

void JSetClassCursor(const char* name, JCursorShape cursor) {
    auto found = Windows().classes.find(name);
    if (found != Windows().classes.end()) {
        found->second->cursor = cursor;
    }
}

int JClassIconId(const char* name) {
    auto found = Windows().classes.find(name);
    return found == Windows().classes.end() ? 0 : found->second->iconId;
}

// --- creation ---

JWnd JCreateWindow(const JWindowSpec& spec) {
    WindowSystem& system = Windows();
    auto found = system.classes.find(spec.className);
    if (found == system.classes.end()) {
        return kNoWindow;
    }
    const bool isFrame = (spec.style & kWsFrame) != 0;
    const bool isChild = !isFrame && (spec.style & kWsChild) != 0;
    if (isFrame ? system.frame != kNoWindow || !OpenFrame(spec) : system.frame == kNoWindow) {
        return kNoWindow;
    }
    if (isChild && FindWindow(spec.parent) == nullptr) {
        return kNoWindow;
    }
    auto record = std::make_unique<WindowRecord>();
    record->handle = system.nextHandle++;
    record->windowClass = found->second;
    record->title = spec.title != nullptr ? spec.title : "";
    record->style = spec.style;
    record->id = spec.id;
    record->parent = isFrame ? kNoWindow : isChild ? spec.parent : system.frame;
    const bool parentIsOwner = !isChild && !isFrame && spec.parent != system.frame;
    record->owner = spec.owner != kNoWindow ? spec.owner : parentIsOwner ? spec.parent : kNoWindow;
    record->proc = found->second->proc;
    record->userData = spec.userData;
    record->background = found->second->background;
    SetDefaultLimits(record.get());
    record->bounds = isFrame ? JFrameBounds() : ClampSize(*record, spec.bounds);
    const JWnd handle = record->handle;
    WindowRecord* created = record.get();
    system.windows[handle] = std::move(record);
    if (isFrame) {
        system.frame = handle;
    } else {
        FindWindow(created->parent)->children.push_back(handle);
    }
    if (IsTopLevel(*created)) {
        system.zOrder.insert(system.zOrder.begin() + BandFront(*created), handle);
    }
    RefreshPort(created);
    ResizeStore(created);
    JSendMessage(JMakeMessage(handle, JMsg::Create));
    return handle;
}

void JDestroyWindow(JWnd window) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr || record->destroying) {
        return;
    }
    if (window == Windows().frame) {
        JDestroyAllWindows();
        return;
    }
    record->destroying = true;
    JHideWindow(window);
    LetGoOfInput(window);
    JSendMessage(JMakeMessage(window, JMsg::Destroy));
    for (JWnd child : std::vector<JWnd>(FindWindow(window)->children)) {
        JDestroyWindow(child);
    }
    ForgetWindow(window);
}

void JDestroyAllWindows() {
    WindowSystem& system = Windows();
    CancelTracking();
    for (JWnd top : std::vector<JWnd>(system.zOrder)) {
        JDestroyWindow(top);
    }
    if (system.frame != kNoWindow) {
        const JWnd frame = system.frame;
        JSendMessage(JMakeMessage(frame, JMsg::Destroy));
        ForgetWindow(frame);
        JFrameClose();
    }
    // Classes and the handle count outlive the windows: handles are never reused.
    auto classes = std::move(system.classes);
    const JWnd nextHandle = system.nextHandle;
    system = WindowSystem{};
    system.classes = std::move(classes);
    system.nextHandle = nextHandle;
    ResetInputState();
    JFlushMessages();
}

bool JIsWindow(JWnd window) {
    return FindWindow(window) != nullptr;
}

JWnd JFrameWindow() {
    return Windows().frame;
}

JWnd JWindowParent(JWnd window) {
    return ReadField(window, &WindowRecord::parent, kNoWindow);
}

JWnd JWindowOwner(JWnd window) {
    return ReadField(window, &WindowRecord::owner, kNoWindow);
}

JWnd JTopLevelOf(JWnd window) {
    const WindowRecord* record = TopLevelRecord(window);
    return record != nullptr ? record->handle : kNoWindow;
}

bool JIsDescendant(JWnd ancestor, JWnd window) {
    if (ancestor == kNoWindow) {
        return false;
    }
    for (const WindowRecord* record = FindWindow(window); record != nullptr;
         record = FindWindow(record->parent)) {
        if (record->handle == ancestor) {
            return true;
        }
    }
    return false;
}

int JWindowChildCount(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? static_cast<int>(record->children.size()) : 0;
}

JWnd JWindowChildAt(JWnd window, int index) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr || index < 0 || index >= static_cast<int>(record->children.size())) {
        return kNoWindow;
    }
    return record->children[static_cast<std::size_t>(index)];
}

JWnd JWindowChildWithId(JWnd window, int id) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return kNoWindow;
    }
    for (JWnd child : record->children) {
        if (FindWindow(child)->id == id) {
            return child;
        }
    }
    return kNoWindow;
}

// --- attributes ---

std::uint32_t JWindowStyle(JWnd window) {
    return ReadField(window, &WindowRecord::style, 0);
}

int JWindowId(JWnd window) {
    return ReadField(window, &WindowRecord::id, 0);
}

const char* JWindowClassName(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->windowClass->name.c_str() : "";
}

void JSetWindowUserData(JWnd window, void* data) {
    if (WindowRecord* record = FindWindow(window)) {
        record->userData = data;
    }
}

void* JWindowUserData(JWnd window) {
    return ReadField(window, &WindowRecord::userData, nullptr);
}

JWindowProc JWindowProcOf(JWnd window) {
    return ReadField(window, &WindowRecord::proc, nullptr);
}

JWindowProc JSetWindowProc(JWnd window, JWindowProc proc) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr || proc == nullptr) {
        return nullptr;
    }
    const JWindowProc previous = record->proc;
    record->proc = proc;
    return previous;
}

void JSetWindowTitle(JWnd window, const char* title) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    record->title = title != nullptr ? title : "";
    if (window == Windows().frame) {
        JBackendCurrent().setFrameTitle(record->title.c_str());
        return;
    }
    DrawDecorations(record);
}

const char* JWindowTitle(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->title.c_str() : "";
}

void JSetWindowBackground(JWnd window, JColour colour) {
    if (WindowRecord* record = FindWindow(window)) {
        record->background = colour;
        JInvalidateRect(window, nullptr);
    }
}

// --- placement ---

JRect JBordersForStyle(std::uint32_t style) {
    if ((style & (kWsChild | kWsFrame)) != 0) {
        return (style & kWsThinBorder) != 0 ? JRect{1, 1, 1, 1} : JRect{};
    }
    int side = 0;
    if ((style & kWsSizing) != 0) {
        side = kSizingBorder;
    } else if ((style & kWsCaption) != 0) {
        side = kFixedBorder;  // a titled window is framed whatever its border style
    } else if ((style & kWsThinBorder) != 0) {
        side = 1;
    }
    const int caption = (style & kWsCaption) != 0 ? kCaptionHeight : 0;
    return JRect{side, side + caption, side, side};
}

JRect JWindowBorders(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? JBordersForStyle(record->style) : JRect{};
}

JRect JWindowBounds(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr ? record->bounds : JRect{};
}

JRect JWindowClientBounds(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return JRect{};
    }
    if ((record->style & kWsFrame) != 0) {
        return JRectOffset(JFrameClientRect(), record->bounds.left, record->bounds.top);
    }
    const JRect b = JBordersForStyle(record->style);
    const JRect& r = record->bounds;
    return JRect{r.left + b.left, r.top + b.top, std::max(r.left + b.left, r.right - b.right),
                 std::max(r.top + b.top, r.bottom - b.bottom)};
}

JRect JWindowClientRect(JWnd window) {
    const JRect client = JWindowClientBounds(window);
    return JRect{0, 0, client.Width(), client.Height()};
}

void JMoveWindow(JWnd window, const JRect& bounds) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    if ((record->style & kWsFrame) != 0) {
        JFrameSetBounds(bounds);
        FrameBoundsChanged();
        return;
    }
    const JRect before = record->bounds;
    // A minimised window is as small as its caption, below any size limit.
    const JRect after = record->minimised ? bounds : ClampSize(*record, bounds);
    if (after.left == before.left && after.top == before.top && after.right == before.right &&
        after.bottom == before.bottom) {
        return;
    }
    const bool visible = JIsWindowVisible(window);
    if (visible) {
        if (IsTopLevel(*record)) {
            MarkWindowDirty(*record);
        } else {
            InvalidateInParent(*record);
        }
    }
    record->bounds = after;
    RefreshPortsBelow(record);
    if (after.Width() != before.Width() || after.Height() != before.Height()) {
        ResizeStore(record);
    } else if (visible && !IsTopLevel(*record)) {
        JInvalidateRect(window, nullptr);
    }
    if (visible && IsTopLevel(*record)) {
        MarkWindowDirty(*record);
    }
    SendMoveAndSize(window, before, after);
}

void JSetWindowClientBounds(JWnd window, const JRect& client) {
    const JRect b = JWindowBorders(window);
    JMoveWindow(window, JRect{client.left - b.left, client.top - b.top, client.right + b.right,
                              client.bottom + b.bottom});
}

void JSetWindowSizeLimits(JWnd window, int minWidth, int minHeight, int maxWidth, int maxHeight) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    record->minWidth = std::max(1, minWidth);
    record->minHeight = std::max(1, minHeight);
    record->maxWidth = std::max(record->minWidth, maxWidth);
    record->maxHeight = std::max(record->minHeight, maxHeight);
    JMoveWindow(window, record->bounds);
}

void JMaximiseWindow(JWnd window, bool maximised) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr || !IsTopLevel(*record)) {
        return;
    }
    if (record->minimised) {
        record->maximisedBeforeMinimise = maximised;
        JMinimiseWindow(window, false);
        return;
    }
    if (record->maximised == maximised) {
        return;
    }
    if (maximised) {
        record->restoreBounds = record->bounds;
        record->maximised = true;
        const JRect client = JFrameClientRect();
        JMoveWindow(window, JRect{0, 0, client.Width(), client.Height()});
    } else {
        record->maximised = false;
        JMoveWindow(window, record->restoreBounds);
    }
    DrawDecorations(record);
}

bool JIsMaximised(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr && record->maximised;
}

void JMinimiseWindow(JWnd window, bool minimised) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr || !IsTopLevel(*record) || (record->style & kWsFrame) != 0 ||
        record->minimised == minimised) {
        return;
    }
    if (minimised) {
        record->maximisedBeforeMinimise = record->maximised;
        if (!record->maximised) {
            record->restoreBounds = record->bounds;
        }
        record->maximised = false;
        record->minimised = true;
        Windows().minimised.push_back(window);
        PlaceMinimisedWindows();
    } else {
        record->minimised = false;
        const bool maximise = std::exchange(record->maximisedBeforeMinimise, false);
        const JRect client = JFrameClientRect();
        record->maximised = maximise;
        JMoveWindow(window, maximise ? JRect{0, 0, client.Width(), client.Height()}
                                     : record->restoreBounds);
        PlaceMinimisedWindows();
    }
    DrawDecorations(record);
}

bool JIsMinimised(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr && record->minimised;
}

JRect JFrameClientRect() {
    const WindowRecord* frame = FindWindow(Windows().frame);
    if (frame == nullptr) {
        return JRect{};
    }
    return JRect{0, std::min(Windows().menuBarHeight, frame->store.height), frame->store.width,
                 frame->store.height};
}

void JSetMenuBarStrip(int height, void (*paint)(const JRect& strip)) {
    WindowSystem& system = Windows();
    system.menuBarHeight = std::max(0, height);
    system.menuBarPaint = paint;
    for (auto& [handle, record] : system.windows) {
        RefreshPort(record.get());
    }
    if (WindowRecord* frame = FindWindow(system.frame)) {
        JInvalidateRect(frame->handle, nullptr);
        MarkWindowDirty(*frame);
        JInvalidateMenuBarStrip();
    }
}

JPoint JClientToFrame(JWnd window, JPoint point) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return point;
    }
    if ((record->style & kWsFrame) != 0) {
        return JPoint{point.x, point.y + Windows().menuBarHeight};
    }
    const JRect client = JWindowClientBounds(window);
    return JClientToFrame(record->parent, JPoint{point.x + client.left, point.y + client.top});
}

JPoint JFrameToClient(JWnd window, JPoint point) {
    const JPoint origin = JClientToFrame(window, JPoint{});
    return JPoint{point.x - origin.x, point.y - origin.y};
}

// --- visibility and z-order ---

void JShowWindow(JWnd window, bool activate) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    if (record->shown) {
        if (activate && IsTopLevel(*record)) {
            JActivateWindow(window);
        }
        return;
    }
    record->shown = true;
    JSendMessage(JMakeMessage(window, JMsg::Show, 1));
    record = FindWindow(window);  // the procedure may have destroyed it
    if (record == nullptr || !record->shown) {
        return;
    }
    if (window == Windows().frame) {
        JBackendCurrent().showFrame(true);
        MarkWindowDirty(*record);
    } else if (IsTopLevel(*record)) {
        ShowTopLevel(record, activate && (record->style & kWsNoActivate) == 0);
    } else {
        JInvalidateRect(window, nullptr);
    }
}

void JHideWindow(JWnd window) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr || !record->shown) {
        return;
    }
    record->shown = false;
    JSendMessage(JMakeMessage(window, JMsg::Show, 0));
    record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    if (window == Windows().frame) {
        JBackendCurrent().showFrame(false);
    } else if (IsTopLevel(*record)) {
        HideTopLevel(record);
    } else {
        InvalidateInParent(*record);
        LetGoOfInput(window);
    }
}

bool JIsWindowVisible(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return false;
    }
    for (; record != nullptr; record = FindWindow(record->parent)) {
        if (!record->shown) {
            return false;
        }
    }
    return true;
}

void JBringToFront(JWnd window) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        return;
    }
    if (IsTopLevel(*record)) {
        RemoveFromZOrder(window);
        auto& order = Windows().zOrder;
        order.insert(order.begin() + BandFront(*record), window);
        MarkWindowDirty(*record);
    } else if (WindowRecord* parent = FindWindow(record->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
        siblings.push_back(window);
        JInvalidateRect(window, nullptr);
    }
}

int JTopLevelCount() {
    return static_cast<int>(Windows().zOrder.size());
}

JWnd JTopLevelAt(int index) {
    const auto& order = Windows().zOrder;
    return index >= 0 && index < static_cast<int>(order.size())
               ? order[static_cast<std::size_t>(index)]
               : kNoWindow;
}

namespace {

// The deepest visible child under a point in the window's client coordinates.
JWnd ChildFromPoint(const WindowRecord& record, JPoint point) {
    for (auto it = record.children.rbegin(); it != record.children.rend(); ++it) {
        const WindowRecord* child = FindWindow(*it);
        if (child->shown && child->bounds.Contains(point.x, point.y)) {
            const JRect client = JWindowClientBounds(child->handle);
            if (!client.Contains(point.x, point.y)) {
                return child->handle;
            }
            return ChildFromPoint(*child, JPoint{point.x - client.left, point.y - client.top});
        }
    }
    return record.handle;
}

}  // namespace

JWnd JWindowFromPoint(JPoint framePoint) {
    const WindowSystem& system = Windows();
    const WindowRecord* frame = FindWindow(system.frame);
    if (frame == nullptr) {
        return kNoWindow;
    }
    if (JFrameClientRect().Contains(framePoint.x, framePoint.y)) {
        for (JWnd top : system.zOrder) {
            const WindowRecord* record = FindWindow(top);
            if (record->shown && OuterInFrame(*record).Contains(framePoint.x, framePoint.y)) {
                const JPoint client = JFrameToClient(top, framePoint);
                if (!JWindowClientRect(top).Contains(client.x, client.y)) {
                    return top;
                }
                return ChildFromPoint(*record, client);
            }
        }
    }
    return system.frame;
}

// --- enabling and modality ---

void JEnableWindow(JWnd window, bool enabled) {
    WindowRecord* record = FindWindow(window);
    if (record == nullptr || record->enabled == enabled) {
        return;
    }
    record->enabled = enabled;
    if (!enabled) {
        LetGoOfInput(window);
    }
    JSendMessage(JMakeMessage(window, JMsg::Enable, enabled ? 1 : 0));
}

bool JIsWindowEnabled(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    return record != nullptr && record->enabled;
}

bool JWindowTakesInput(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr || BlockedByModal(window)) {
        return false;
    }
    for (; record != nullptr && (record->style & kWsFrame) == 0;
         record = FindWindow(record->parent)) {
        if (!record->enabled) {
            return false;
        }
    }
    return true;
}

JWnd JModalWindow() {
    const auto& modals = Windows().modalStack;
    return modals.empty() ? kNoWindow : modals.back();
}

// --- activation, focus and capture ---

void JActivateWindow(JWnd window) {
    WindowSystem& system = Windows();
    WindowRecord* record = TopLevelRecord(window);
    if (record == nullptr || !Activatable(*record)) {
        return;
    }
    JBringToFront(record->handle);
    const JWnd previous = system.active;
    if (previous != record->handle) {
        system.active = record->handle;
        if (WindowRecord* old = FindWindow(previous)) {
            DrawDecorations(old);
            JMessage message = JMakeMessage(previous, JMsg::Activate, 0);
            message.source = record->handle;
            JSendMessage(message);
        }
        DrawDecorations(record);
        const JWnd handle = record->handle;
        JMessage message = JMakeMessage(handle, JMsg::Activate, 1);
        message.source = previous;
        JSendMessage(message);
        record = FindWindow(handle);
        if (record == nullptr || system.active != handle) {
            return;
        }
    }
    if (!JIsDescendant(system.active, system.focus)) {
        const JWnd remembered = record->lastFocus;
        JSetFocus(JIsDescendant(record->handle, remembered) && JIsWindowVisible(remembered)
                      ? remembered
                      : record->handle);
    }
}

JWnd JActiveWindow() {
    return Windows().active;
}

void JSetFocus(JWnd window) {
    WindowSystem& system = Windows();
    if (window != kNoWindow && !JIsWindow(window)) {
        return;
    }
    if (window == system.focus) {
        return;
    }
    WindowRecord* top = TopLevelRecord(window);
    if (top != nullptr && IsTopLevel(*top) && top->handle != system.active) {
        JActivateWindow(top->handle);
        if (system.focus == window) {
            return;
        }
    }
    const JWnd previous = system.focus;
    system.focus = window;
    if (top != nullptr) {
        top->lastFocus = window;
    }
    SendFocusChange(previous, window);
}

JWnd JFocusWindow() {
    return Windows().focus;
}

void JSetCapture(JWnd window) {
    WindowSystem& system = Windows();
    if (!JIsWindow(window) || system.capture == window) {
        return;
    }
    const JWnd previous = system.capture;
    system.capture = window;
    if (JIsWindow(previous)) {
        JMessage lost = JMakeMessage(previous, JMsg::CaptureLost);
        lost.source = window;
        JSendMessage(lost);
    }
}

void JReleaseCapture() {
    WindowSystem& system = Windows();
    const JWnd previous = system.capture;
    system.capture = kNoWindow;
    if (JIsWindow(previous)) {
        JSendMessage(JMakeMessage(previous, JMsg::CaptureLost));
    }
}

JWnd JCaptureWindow() {
    return Windows().capture;
}

namespace {

void ShowCursor() {
    WindowSystem& system = Windows();
    const JCursorShape shape =
        system.cursorOverrides.empty() ? system.cursor : system.cursorOverrides.back();
    if (system.shownCursor != shape) {
        system.shownCursor = shape;
        JBackendCurrent().setCursor(shape);
    }
}

}  // namespace

void JSetCursor(JCursorShape shape) {
    Windows().cursor = shape;
    ShowCursor();
}

void JPushCursorOverride(JCursorShape shape) {
    Windows().cursorOverrides.push_back(shape);
    ShowCursor();
}

void JPopCursorOverride() {
    auto& overrides = Windows().cursorOverrides;
    if (!overrides.empty()) {
        overrides.pop_back();
    }
    ShowCursor();
}
