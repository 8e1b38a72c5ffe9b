#include "framework/platform/draw/frame.h"

#include <deque>

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

struct FrameState {
    bool open = false;
    JSurface content;
    DrawPort framePort;
    DrawPort screenPort;
    JRect bounds;
    JRect restoredBounds;  // the last bounds while not maximised
    int minimumWidth = 0;
    int minimumHeight = 0;
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
    if (!JBackendCurrent().frameMaximised()) {
        state.restoredBounds = state.bounds;
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

JFramePlacement JFrameGetPlacement() {
    const FrameState& state = State();
    JFramePlacement placement;
    placement.bounds = state.restoredBounds;
    placement.maximised = state.open && JBackendCurrent().frameMaximised();
    placement.minimumWidth = state.minimumWidth;
    placement.minimumHeight = state.minimumHeight;
    return placement;
}

void JFrameSetPlacement(const JFramePlacement& placement) {
    FrameState& state = State();
    if (!state.open) {
        return;
    }
    state.minimumWidth = placement.minimumWidth;
    state.minimumHeight = placement.minimumHeight;
    JBackendCurrent().setFrameMinimumSize(placement.minimumWidth, placement.minimumHeight);
    JBackendCurrent().setFrameMaximised(false);
    JFrameSetBounds(placement.bounds);
    if (placement.maximised) {
        JBackendCurrent().setFrameMaximised(true);
    }
}

std::string JFramePlacementText(const JFramePlacement& placement) {
    const JRect& r = placement.bounds;
    std::string text = std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                       std::to_string(r.Width()) + "x" + std::to_string(r.Height());
    if (placement.maximised) {
        text += " maximised";
    }
    if (placement.minimumWidth > 0 || placement.minimumHeight > 0) {
        text += " min " + std::to_string(placement.minimumWidth) + "x" +
                std::to_string(placement.minimumHeight);
    }
    return text;
}

namespace {

// Reads a number and then the separator after it, if one is given.
bool ReadNumber(std::string_view* text, int* value, char separator) {
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), *value);
    if (error != std::errc()) {
        return false;
    }
    text->remove_prefix(static_cast<std::size_t>(end - text->data()));
    if (separator == 0) {
        return true;
    }
    if (text->empty() || text->front() != separator) {
        return false;
    }
    text->remove_prefix(1);
    return true;
}

bool ReadSize(std::string_view* text, int* width, int* height) {
    return ReadNumber(text, width, 'x') && ReadNumber(text, height, 0);
}

}  // namespace

bool JFrameParsePlacement(const char* text, JFramePlacement* placement) {
    std::string_view rest(text);
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    if (!ReadNumber(&rest, &left, ',') || !ReadNumber(&rest, &top, ' ') ||
        !ReadSize(&rest, &width, &height)) {
        return false;
    }
    JFramePlacement read;
    read.bounds = JRect{left, top, left + width, top + height};
    for (std::string_view word; !rest.empty();) {
        rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
        word = rest.substr(0, rest.find(' '));
        rest.remove_prefix(word.size());
        if (word == "maximised") {
            read.maximised = true;
        } else if (word == "min") {
            rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
            if (!ReadSize(&rest, &read.minimumWidth, &read.minimumHeight)) {
                return false;
            }
        }
    }
    *placement = read;
    return true;
}

namespace {

std::deque<std::string>& DroppedFiles() {
    static std::deque<std::string> files;
    return files;
}

}  // namespace

void JQueueDroppedFile(const char* path) {
    DroppedFiles().emplace_back(path != nullptr ? path : "");
}

bool JTakeDroppedFile(std::string* path) {
    if (DroppedFiles().empty()) {
        return false;
    }
    *path = std::move(DroppedFiles().front());
    DroppedFiles().pop_front();
    return true;
}
