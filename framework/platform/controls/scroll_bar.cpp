#include "framework/platform/controls/scroll_bar.h"

#include <algorithm>

#include "framework/platform/system/process.h"

namespace {

constexpr int kMinThumb = 8;

enum class Part { None, LineBack, LineForward, PageBack, PageForward, Thumb };

struct BarState {
    bool vertical = false;
    bool windowBar = false;
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    int page = 0;
    Part pressed = Part::None;
    int grab = 0;           // pointer offset from the thumb's start when grabbed
    int trackPosition = 0;  // where the dragged thumb stands
};

JControlTable<BarState>& Bars() {
    static JControlTable<BarState> table;
    return table;
}

// The bar's geometry along its length.
struct Layout {
    int length = 0;
    int arrow = 0;  // each arrow's length
    int trackStart = 0;
    int trackLength = 0;
    int thumbLength = 0;
};

Layout LayoutOf(JWnd bar, const BarState& state) {
    const JRect client = JWindowClientRect(bar);
    Layout layout;
    layout.length = state.vertical ? client.Height() : client.Width();
    const int thickness = state.vertical ? client.Width() : client.Height();
    layout.arrow = std::min(thickness, layout.length / 2);
    layout.trackStart = layout.arrow;
    layout.trackLength = std::max(0, layout.length - 2 * layout.arrow);
    const int range = state.maximum - state.minimum;
    layout.thumbLength =
        state.page > 0 ? layout.trackLength * state.page / (range + state.page) : thickness;
    layout.thumbLength = std::min(std::max(layout.thumbLength, kMinThumb), layout.trackLength);
    return layout;
}

bool Enabled(JWnd bar, const BarState& state) {
    return state.maximum > state.minimum && JIsWindowEnabled(bar);
}

int ThumbStart(const Layout& layout, const BarState& state, int position) {
    const int range = state.maximum - state.minimum;
    const int room = layout.trackLength - layout.thumbLength;
    return layout.trackStart + (range > 0 ? (position - state.minimum) * room / range : 0);
}

int ShownPosition(const BarState& state) {
    return state.pressed == Part::Thumb ? state.trackPosition : state.position;
}

// A span along the length as a rectangle of the bar.
JRect SpanRect(JWnd bar, const BarState& state, int start, int length) {
    const JRect client = JWindowClientRect(bar);
    return state.vertical ? JRect{client.left, start, client.right, start + length}
                          : JRect{start, client.top, start + length, client.bottom};
}

Part PartAt(JWnd bar, const BarState& state, int x, int y) {
    const Layout layout = LayoutOf(bar, state);
    const int along = state.vertical ? y : x;
    if (along < layout.arrow) {
        return Part::LineBack;
    }
    if (along >= layout.length - layout.arrow) {
        return Part::LineForward;
    }
    const int thumb = ThumbStart(layout, state, ShownPosition(state));
    if (along < thumb) {
        return Part::PageBack;
    }
    return along < thumb + layout.thumbLength ? Part::Thumb : Part::PageForward;
}

void Notify(JWnd bar, const BarState& state, JScrollPart part, int value) {
    const JWnd parent = JWindowParent(bar);
    if (parent == kNoWindow) {
        return;
    }
    JMessage message =
        JMakeMessage(parent, state.vertical ? JMsg::VScroll : JMsg::HScroll, part, value);
    message.source = state.windowBar ? kNoWindow : bar;
    JSendMessage(message);
}

// --- drawing ---

// The track: the scroll-bar colour dithered with white, as a checkerboard.
void DrawTrack(const JRect& rect) {
    JFillArea(rect, JSysColour::ScrollBar);
    JSetForeColour(JSystemColour(JSysColour::Light3D));
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left + (y + rect.left) % 2; x < rect.right; x += 2) {
            JFillRect(x, y, x + 1, y + 1);
        }
    }
}

void DrawArrowBox(const JRect& rect, JArrowDirection direction, bool pressed, bool enabled) {
    JFillArea(rect, JSysColour::Face);
    if (pressed) {
        JFrameArea(rect, JSysColour::Shadow);
    } else {
        JDrawBevel(rect, true);
    }
    JDrawArrow(pressed ? JRectOffset(rect, 1, 1) : rect, direction, enabled);
}

void Paint(JWnd bar) {
    const BarState* state = Bars().Find(bar);
    if (state == nullptr) {
        return;
    }
    JPaintControl(bar, [&](const JRect& client) {
        const Layout layout = LayoutOf(bar, *state);
        const bool enabled = Enabled(bar, *state);
        DrawTrack(client);
        const JRect back = SpanRect(bar, *state, 0, layout.arrow);
        const JRect forward = SpanRect(bar, *state, layout.length - layout.arrow, layout.arrow);
        DrawArrowBox(back, state->vertical ? JArrowDirection::Up : JArrowDirection::Left,
                     state->pressed == Part::LineBack, enabled);
        DrawArrowBox(forward, state->vertical ? JArrowDirection::Down : JArrowDirection::Right,
                     state->pressed == Part::LineForward, enabled);
        if (enabled && layout.trackLength > 0) {
            const int start = ThumbStart(layout, *state, ShownPosition(*state));
            const JRect thumb = SpanRect(bar, *state, start, layout.thumbLength);
            JFillArea(thumb, JSysColour::Face);
            JDrawBevel(thumb, true);
        }
    });
}

// --- input ---

// A line or page step of the part held down; false for any other part.
bool StepHeldPart(JWnd bar, const BarState& state) {
    switch (state.pressed) {
        case Part::LineBack:
        case Part::LineForward:
            Notify(bar, state, kScrollLine, state.pressed == Part::LineBack ? -1 : 1);
            return true;
        case Part::PageBack:
        case Part::PageForward:
            Notify(bar, state, kScrollPage, state.pressed == Part::PageBack ? -1 : 1);
            return true;
        default:
            return false;
    }
}

void Press(JWnd bar, BarState* state, const JMessage& message) {
    if (!Enabled(bar, *state)) {
        return;
    }
    state->pressed = PartAt(bar, *state, message.x, message.y);
    JSetCapture(bar);
    JInvalidateRect(bar, nullptr);
    if (state->pressed == Part::Thumb) {
        const Layout layout = LayoutOf(bar, *state);
        state->trackPosition = state->position;
        state->grab =
            (state->vertical ? message.y : message.x) - ThumbStart(layout, *state, state->position);
    } else {
        StepHeldPart(bar, *state);
    }
}

void Track(JWnd bar, BarState* state, const JMessage& message) {
    if (state->pressed != Part::Thumb) {
        return;
    }
    const Layout layout = LayoutOf(bar, *state);
    const int room = layout.trackLength - layout.thumbLength;
    const int start = (state->vertical ? message.y : message.x) - state->grab - layout.trackStart;
    const int range = state->maximum - state->minimum;
    int position = state->minimum;
    if (room > 0) {
        position += (std::clamp(start, 0, room) * range + room / 2) / room;
    }
    if (position != state->trackPosition) {
        state->trackPosition = position;
        JInvalidateRect(bar, nullptr);
        Notify(bar, *state, kScrollThumbTrack, position);
    }
}

void Release(JWnd bar, BarState* state) {
    const Part pressed = state->pressed;
    if (pressed == Part::None) {
        return;
    }
    state->pressed = Part::None;
    if (JCaptureWindow() == bar) {
        JReleaseCapture();
    }
    JInvalidateRect(bar, nullptr);
    if (pressed == Part::Thumb) {
        Notify(bar, *state, kScrollThumb, state->trackPosition);
    }
}

void Key(JWnd bar, const BarState& state, std::uint16_t key) {
    switch (key) {
        case kKeyUp:
        case kKeyLeft:
            Notify(bar, state, kScrollLine, -1);
            break;
        case kKeyDown:
        case kKeyRight:
            Notify(bar, state, kScrollLine, 1);
            break;
        case kKeyPageUp:
        case kKeyPageDown:
            Notify(bar, state, kScrollPage, key == kKeyPageUp ? -1 : 1);
            break;
        case kKeyHome:
        case kKeyEnd:
            Notify(bar, state, kScrollEnd, key == kKeyHome ? -1 : 1);
            break;
        default:
            break;
    }
}

JResult BarProc(JWnd bar, const JMessage& message) {
    BarState* state = Bars().Find(bar);
    if (message.type == JMsg::Create) {
        BarState* made = Bars().Add(bar);
        made->vertical = (JWindowStyle(bar) & kSbsVertical) != 0;
        made->windowBar = (JWindowStyle(bar) & kSbsWindowBar) != 0;
        return 0;
    }
    if (state == nullptr) {
        return JDefWindowProc(bar, message);
    }
    switch (message.type) {
        case JMsg::Destroy:
            Bars().Remove(bar);
            return 0;
        case JMsg::Paint:
            Paint(bar);
            return 0;
        case JMsg::GetDialogCode:
            return kDlgWantsArrows;
        case JMsg::MouseDown:
            Press(bar, state, message);
            return 0;
        case JMsg::MouseMove:
            Track(bar, state, message);
            return 0;
        case JMsg::MouseUp:
        case JMsg::CaptureLost:
            Release(bar, state);
            return 0;
        case JMsg::KeyDown:
            Key(bar, *state, message.key);
            return 0;
        case JMsg::Enable:
        case JMsg::Size:
            JInvalidateRect(bar, nullptr);
            return 0;
        default:
            return JDefWindowProc(bar, message);
    }
}

}  // namespace

int JScrollBarWidth() {
    return JNewerShell() ? 16 : 21;
}

JWnd JCreateScrollBar(const JControlSpec& spec) {
    JWindowClass windowClass;
    windowClass.name = kScrollBarClass;
    windowClass.proc = BarProc;
    windowClass.background = JSystemColour(JSysColour::Face);
    return JCreateControlWindow(windowClass, spec, 0);
}

JWnd JAttachWindowScrollBar(JWnd window, bool vertical) {
    const JRect client = JWindowClientRect(window);
    JControlSpec spec;
    spec.parent = window;
    const int width = JScrollBarWidth();
    spec.bounds = vertical ? JRect{client.right - width, 0, client.right, client.bottom}
                           : JRect{0, client.bottom - width, client.right, client.bottom};
    spec.style = kSbsWindowBar | (vertical ? kSbsVertical : 0);
    return JCreateScrollBar(spec);
}

bool JScrollBarRepeatHeldPart(JWnd bar) {
    const BarState* state = Bars().Find(bar);
    if (state == nullptr || state->pressed == Part::None || state->pressed == Part::Thumb) {
        return false;
    }
    const JPoint pointer = JFrameToClient(bar, JPointerPosition());
    if (PartAt(bar, *state, pointer.x, pointer.y) == state->pressed) {
        StepHeldPart(bar, *state);
    }
    return true;
}

void JScrollBarSetRange(JWnd bar, int minimum, int maximum) {
    if (BarState* state = Bars().Find(bar)) {
        state->minimum = minimum;
        state->maximum = std::max(minimum, maximum);
        state->position = std::clamp(state->position, state->minimum, state->maximum);
        JInvalidateRect(bar, nullptr);
    }
}

void JScrollBarRange(JWnd bar, int* minimum, int* maximum) {
    const BarState* state = Bars().Find(bar);
    *minimum = state != nullptr ? state->minimum : 0;
    *maximum = state != nullptr ? state->maximum : 0;
}

void JScrollBarSetPosition(JWnd bar, int position) {
    BarState* state = Bars().Find(bar);
    if (state == nullptr) {
        return;
    }
    position = std::clamp(position, state->minimum, state->maximum);
    if (position != state->position) {
        state->position = position;
        JInvalidateRect(bar, nullptr);
    }
}

int JScrollBarPosition(JWnd bar) {
    const BarState* state = Bars().Find(bar);
    return state != nullptr ? state->position : 0;
}

void JScrollBarSetPage(JWnd bar, int page) {
    if (BarState* state = Bars().Find(bar)) {
        state->page = std::max(0, page);
        JInvalidateRect(bar, nullptr);
    }
}

JRect JScrollBarThumbRect(JWnd bar) {
    const BarState* state = Bars().Find(bar);
    if (state == nullptr || !Enabled(bar, *state)) {
        return JRect{};
    }
    const Layout layout = LayoutOf(bar, *state);
    return SpanRect(bar, *state, ThumbStart(layout, *state, ShownPosition(*state)),
                    layout.thumbLength);
}
