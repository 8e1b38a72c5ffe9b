#include "framework/platform/draw/frame.h"

namespace {

struct FrameState {
    bool open = false;
    JSurface content;
    DrawPort framePort;
    DrawPort screenPort;
    JRect bounds;
};

FrameState& State() {
    static FrameState state;
    return state;
}

void UpdatePorts() {
    FrameState& state = State();
    state.framePort.kind = DrawPortKind::Window;
    state.framePort.surface = &state.content;
    state.screenPort.kind = DrawPortKind::Screen;
    state.screenPort.surface = &state.content;
    state.screenPort.originX = -state.bounds.left;
    state.screenPort.originY = -state.bounds.top;
}

// Takes the backend's content rectangle; a new size gives a new surface.
void RefreshBounds() {
    FrameState& state = State();
    const JRect previous = state.bounds;
    state.bounds = JBackendCurrent().frameBounds();
    if (previous.Width() != state.bounds.Width() || previous.Height() != state.bounds.Height()) {
        JSurfaceResize(&state.content, state.bounds.Width(), state.bounds.Height());
    }
    UpdatePorts();
}

}  // namespace

bool JFrameOpen(const JFrameSpec& spec) {
    FrameState& state = State();
    if (state.open || !JBackendCurrent().createFrame(spec)) {
        return false;
    }
    state.open = true;
    state.bounds = JRect{};
    RefreshBounds();
    return true;
}

void JFrameClose() {
    FrameState& state = State();
    if (!state.open) {
        return;
    }
    if (JCurrentPort() == &state.framePort || JCurrentPort() == &state.screenPort) {
        JSelectNoPort();
    }
    JBackendCurrent().destroyFrame();
    state.open = false;
    JSurfaceResize(&state.content, 0, 0);
}

bool JFrameIsOpen() {
    return State().open;
}

JSurface* JFrameSurface() {
    return &State().content;
}

DrawPort* JFramePort() {
    return State().open ? &State().framePort : nullptr;
}

DrawPort* JScreenPort() {
    return State().open ? &State().screenPort : nullptr;
}

JRect JFrameBounds() {
    return State().bounds;
}

void JFrameSetBounds(const JRect& bounds) {
    FrameState& state = State();
    if (!state.open) {
        return;
    }
    JBackendCurrent().setFrameBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    RefreshBounds();
}

void JFramePresent(const JRect& region) {
    if (State().open) {
        JBackendCurrent().present(State().content, region);
    }
}

void JFramePresentAll() {
    JFramePresent(State().content.Bounds());
}

bool JFramePoll(JInputEvent* event) {
    if (!JBackendCurrent().poll(event)) {
        return false;
    }
    if (State().open &&
        (event->kind == JInputKind::FrameResized || event->kind == JInputKind::FrameMoved)) {
        RefreshBounds();
    }
    return true;
}

bool JFrameWaitForInput(std::uint32_t milliseconds) {
    return JBackendCurrent().waitForInput(milliseconds);
}

JPointerState JFramePointerNow() {
    return JBackendCurrent().pointer();
}

void JFrameDropInput() {
    JInputEvent event;
    while (JBackendCurrent().poll(&event)) {
    }
}
