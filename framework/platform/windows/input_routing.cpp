// Backend input into window messages: the pointer goes to the capturing
// window or the window under it, a press first activates its window, keys go
// to the focus, and windows that a modal window blocks get nothing.
#include <array>
#include <cstdlib>

#include "framework/platform/draw/frame.h"
#include "framework/platform/system/clock.h"
#include "framework/platform/windows/window_system.h"

namespace {

constexpr std::uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;

struct LastPress {
    JWnd window = kNoWindow;
    std::uint8_t button = 0;
    std::uint32_t time = 0;
    JPoint at;
};

struct InputState {
    std::array<bool, 256> keysDown{};
    std::uint16_t modifiers = 0;
    std::uint16_t buttons = 0;
    JPoint pointer;
    LastPress lastPress;
};

InputState& Input() {
    static InputState state;
    return state;
}

std::uint16_t ButtonBit(std::uint8_t button) {
    switch (button) {
        case kButtonLeft:
            return kModLeftButton;
        case kButtonRight:
            return kModRightButton;
        case kButtonMiddle:
            return kModMiddleButton;
        default:
            return 0;
    }
}

// Backends give no clicks count for scripted presses: two presses close in
// time and place on one window make a double click.
std::uint8_t CountClicks(JWnd window, const JInputEvent& event, std::uint32_t now) {
    LastPress& last = Input().lastPress;
    const bool again = last.window == window && last.button == event.button &&
                       now - last.time <= kDoubleClickMs &&
                       std::abs(last.at.x - event.x) <= kDoubleClickSlop &&
                       std::abs(last.at.y - event.y) <= kDoubleClickSlop;
    if (again || event.clicks >= 2) {
        last = LastPress{};
        return 2;
    }
    last = LastPress{window, event.button, now, JPoint{event.x, event.y}};
    return 1;
}

JMessage PointerMessage(JWnd window, JMsg type, const JInputEvent& event) {
    JMessage message = JMakeMessage(window, type);
    const JPoint client = JFrameToClient(window, JPoint{event.x, event.y});
    message.x = client.x;
    message.y = client.y;
    message.button = event.button;
    message.modifiers = static_cast<std::uint16_t>(event.modifiers | Input().buttons);
    return message;
}

JCursorShape SizingCursor(JHit hit) {
    switch (hit) {
        case kHitLeft:
        case kHitRight:
            return JCursorShape::SizeWE;
        case kHitTop:
        case kHitBottom:
            return JCursorShape::SizeNS;
        case kHitTopLeft:
        case kHitBottomRight:
            return JCursorShape::SizeNWSE;
        case kHitTopRight:
        case kHitBottomLeft:
            return JCursorShape::SizeNESW;
        default:
            return JCursorShape::Arrow;
    }
}

// The class's cursor over the client area; over a sizing border, the
// cursor that shows which way it sizes.
void UpdateCursor(JWnd window) {
    const WindowRecord* record = FindWindow(window);
    if (record == nullptr) {
        JSetCursor(JCursorShape::Arrow);
        return;
    }
    const JPoint pointer = Input().pointer;
    const JPoint client = JFrameToClient(window, pointer);
    if (JWindowClientRect(window).Contains(client.x, client.y)) {
        JSetCursor(record->windowClass->cursor);
    } else if (IsTopLevel(*record) && !record->minimised && window != JFrameWindow()) {
        JSetCursor(SizingCursor(HitTestWindow(*record, JFrameToClient(record->parent, pointer))));
    } else {
        JSetCursor(JCursorShape::Arrow);
    }
}

// A press on a window that cannot take it: the modal window comes forward.
void RefusePress() {
    JBackendCurrent().beep();
    if (JModalWindow() != kNoWindow) {
        JActivateWindow(JModalWindow());
    }
}

void RoutePress(const JInputEvent& event) {
    const JPoint point{event.x, event.y};
    JWnd target = JCaptureWindow();
    if (target == kNoWindow) {
        target = JWindowFromPoint(point);
        if (target == kNoWindow) {
            return;
        }
        if (!JWindowTakesInput(target)) {
            RefusePress();
            return;
        }
        const WindowRecord* top = TopLevelRecord(target);
        if (top != nullptr && IsTopLevel(*top) && (top->style & kWsNoActivate) == 0) {
            JActivateWindow(top->handle);
        }
    }
    const std::uint8_t clicks = CountClicks(target, event, JTickCount());
    const WindowRecord* record = FindWindow(target);
    const bool menuStrip =
        target == JFrameWindow() && !JFrameClientRect().Contains(point.x, point.y);
    if (record != nullptr && JCaptureWindow() == kNoWindow && (IsTopLevel(*record) || menuStrip)) {
        const JPoint client = JFrameToClient(target, point);
        if (menuStrip || !JWindowClientRect(target).Contains(client.x, client.y)) {
            const JPoint inParent = JFrameToClient(record->parent, point);
            JMessage message = JMakeMessage(target, JMsg::NcMouseDown);
            message.code = menuStrip ? kHitMenuBar : HitTestWindow(*record, inParent);
            message.x = point.x;
            message.y = point.y;
            message.button = event.button;
            message.clicks = clicks;
            message.modifiers = static_cast<std::uint16_t>(event.modifiers | Input().buttons);
            QueueInputMessage(message);
            return;
        }
    }
    JMessage message = PointerMessage(target, JMsg::MouseDown, event);
    message.clicks = clicks;
    QueueInputMessage(message);
}

// Moves, releases and the wheel go where the pointer is, or to the capture.
void RoutePointer(JMsg type, const JInputEvent& event) {
    JWnd target = JCaptureWindow();
    if (target == kNoWindow) {
        target = JWindowFromPoint(JPoint{event.x, event.y});
        if (type == JMsg::MouseMove) {
            UpdateCursor(target);
        }
        if (target == kNoWindow || !JWindowTakesInput(target)) {
            return;
        }
        const JPoint client = JFrameToClient(target, JPoint{event.x, event.y});
        if (!JWindowClientRect(target).Contains(client.x, client.y)) {
            return;  // over a caption or border
        }
    }
    JMessage message = PointerMessage(target, type, event);
    message.value = event.wheel;
    QueueInputMessage(message);
}

// Keys go to the focus, else to the active window, else to the frame; while a
// modal window is up, never past it.
JWnd KeyTarget() {
    JWnd target = JFocusWindow();
    if (target == kNoWindow) {
        target = JActiveWindow() != kNoWindow ? JActiveWindow() : JFrameWindow();
    }
    const JWnd modal = JModalWindow();
    if (modal != kNoWindow && !JWindowTakesInput(target)) {
        target = modal;
    }
    return target;
}

void RouteKey(const JInputEvent& event) {
    InputState& input = Input();
    const bool down = event.kind == JInputKind::KeyDown;
    if (event.key < input.keysDown.size()) {
        input.keysDown[event.key] = down;
    }
    input.modifiers = event.modifiers;
    JMessage message = JMakeMessage(KeyTarget(), down ? JMsg::KeyDown : JMsg::KeyUp);
    message.key = event.key;
    message.modifiers = event.modifiers;
    QueueInputMessage(message);
}

// One character of the single-byte set for each UTF-8 sequence that has one.
void RouteText(const JInputEvent& event) {
    const auto* p = reinterpret_cast<const unsigned char*>(event.text);
    while (*p != 0) {
        unsigned code = *p;
        int length = 1;
        if ((code & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) {
            code = ((code & 0x1F) << 6) | (p[1] & 0x3F);
            length = 2;
        } else if (code >= 0x80) {
            length = code >= 0xF0 ? 4 : code >= 0xE0 ? 3 : 1;
            code = 0;  // outside the single-byte set
        }
        for (int i = 0; i < length && *p != 0; ++i) {
            ++p;
        }
        if (code >= 32 && code <= 255 && code != 127) {
            JMessage message = JMakeMessage(KeyTarget(), JMsg::Char);
            message.key = static_cast<std::uint16_t>(code);
            message.modifiers = Input().modifiers;
            QueueInputMessage(message);
        }
    }
}

void RouteFrameEvent(const JInputEvent& event) {
    const JWnd frame = JFrameWindow();
    switch (event.kind) {
        case JInputKind::FrameResized:
        case JInputKind::FrameMoved:
            FrameBoundsChanged();
            break;
        case JInputKind::FocusGained:
        case JInputKind::FocusLost:
            JSendMessage(frame, JMsg::ActivateApp, event.kind == JInputKind::FocusGained ? 1 : 0);
            break;
        case JInputKind::CloseRequested:
            QueueInputMessage(JMakeMessage(frame, JMsg::Close));
            break;
        case JInputKind::FileDropped:
            QueueInputMessage(JMakeMessage(frame, JMsg::FileDropped));
            break;
        case JInputKind::FrameExposed:
            if (const WindowRecord* record = FindWindow(frame)) {
                MarkWindowDirty(*record);
            }
            break;
        default:
            break;
    }
}

void RouteEvent(const JInputEvent& event) {
    InputState& input = Input();
    switch (event.kind) {
        case JInputKind::PointerMoved:
            input.pointer = JPoint{event.x, event.y};
            RoutePointer(JMsg::MouseMove, event);
            break;
        case JInputKind::ButtonDown:
            input.pointer = JPoint{event.x, event.y};
            input.buttons |= ButtonBit(event.button);
            RoutePress(event);
            break;
        case JInputKind::ButtonUp:
            input.pointer = JPoint{event.x, event.y};
            input.buttons &= static_cast<std::uint16_t>(~ButtonBit(event.button));
            RoutePointer(JMsg::MouseUp, event);
            break;
        case JInputKind::Wheel:
            RoutePointer(JMsg::Wheel, event);
            break;
        case JInputKind::KeyDown:
        case JInputKind::KeyUp:
            RouteKey(event);
            break;
        case JInputKind::Text:
            RouteText(event);
            break;
        default:
            RouteFrameEvent(event);
            break;
    }
}

}  // namespace

bool TranslateNextInput() {
    JInputEvent event;
    if (!JFramePoll(&event)) {
        return false;
    }
    if (JFrameWindow() == kNoWindow) {
        return true;
    }
    if (TrackPointer(event)) {
        InputState& input = Input();
        input.pointer = JPoint{event.x, event.y};
        if (event.kind == JInputKind::ButtonUp) {
            input.buttons &= static_cast<std::uint16_t>(~ButtonBit(event.button));
        }
        return true;
    }
    RouteEvent(event);
    return true;
}

void ResetInputState() {
    Input() = InputState{};
}

bool JKeyIsDown(std::uint16_t key) {
    return key < Input().keysDown.size() && Input().keysDown[key];
}

std::uint16_t JKeyModifiers() {
    return Input().modifiers;
}

std::uint16_t JMouseButtons() {
    return Input().buttons;
}

JPoint JPointerPosition() {
    return Input().pointer;
}
