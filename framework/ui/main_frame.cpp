#include "framework/ui/main_frame.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "framework/core/string_lists.h"
#include "framework/ui/event_loop.h"

namespace {

struct FrameState {
    MainFrame frame;
    std::vector<std::pair<JFrameListener, std::intptr_t>> listeners;
};

FrameState& State() {
    static FrameState state;
    return state;
}

void Tell(int code) {
    // A copy: a listener may remove itself.
    const auto listeners = State().listeners;
    for (const auto& [listener, context] : listeners) {
        listener(code, context);
    }
}

void ReadBounds() {
    MainFrame& frame = State().frame;
    const JRect screen = JFrameBounds();  // the content on the screen
    const JRect client = JFrameClientRect();
    frame.content = JRectOffset(client, screen.left, screen.top);
    frame.outerLeft = screen.left;
    frame.outerTop = screen.top;
}

JResult FrameProc(JWnd window, const JMessage& message) {
    MainFrame& frame = State().frame;
    switch (message.type) {
        case JMsg::Size:
            ReadBounds();
            Tell(kFrameContentResized);
            return 0;
        case JMsg::Move:
            ReadBounds();
            Tell(kFrameMoved);
            return 0;
        case JMsg::ActivateApp:
            frame.active = message.code != 0;
            Tell(kFrameActivationChanged);
            return 0;
        case JMsg::Close:
            // Closing the frame is quitting the application when it says how.
            if (JHasApplicationHandler(kEventQuitApplication)) {
                JCallApplicationHandler(kEventQuitApplication, nullptr);
                return 0;
            }
            return JDefWindowProc(window, message);
        case JMsg::FileDropped:
            // A file dropped from a file manager opens as if it had been
            // named on the command line.
            for (std::string path; JTakeDroppedFile(&path);) {
                JHandleFileArgument(path);
            }
            return 0;
        default:
            return JDefWindowProc(window, message);
    }
}

}  // namespace

bool JMainFrameCreate() {
    JWindowClass main;
    main.name = "JMainWindow";
    main.proc = FrameProc;
    main.iconId = 1;
    main.background = JColourFromRgb(0x808080);  // the application workspace
    if (!JRegisterClass(main)) {
        return false;
    }
    char title[80];
    JLoadString(100, title, sizeof title, "Test Application");
    char modeText[8];
    JLoadString(101, modeText, sizeof modeText, "0");
    const int mode = modeText[0] - '0';
    MainFrame& frame = State().frame;
    frame.usableArea = JUsableScreenArea();
    const int width = std::max(frame.usableArea.Width(), 64);
    const int height = std::max(frame.usableArea.Height(), 64);
    JWindowSpec spec;
    spec.className = "JMainWindow";
    spec.title = title;
    spec.style = kWsFrame | (mode == 1 ? 0 : kWsSizing);
    // Modes 1 and 2 start beyond the right edge, to be placed from the
    // settings before they are shown.
    const int left = mode == 0 ? frame.usableArea.left : frame.usableArea.Width() + 500;
    spec.bounds = JRect{left, frame.usableArea.top, left + width, frame.usableArea.top + height};
    frame.platform = JCreateWindow(spec);
    if (frame.platform == kNoWindow) {
        return false;
    }
    ReadBounds();
    return true;
}

const MainFrame& JMainFrame() {
    return State().frame;
}

void JMainFrameShow() {
    JShowWindow(State().frame.platform);
}

void JMainFramePlace(const JRect& content) {
    JMoveWindow(State().frame.platform, content);
    ReadBounds();
}

void JMainFrameAddListener(JFrameListener listener, std::intptr_t context) {
    State().listeners.emplace_back(listener, context);
}

void JMainFrameRemoveListener(JFrameListener listener, std::intptr_t context) {
    auto& listeners = State().listeners;
    listeners.erase(
        std::remove(listeners.begin(), listeners.end(), std::make_pair(listener, context)),
        listeners.end());
}

void JMainFrameNotify(int code) {
    Tell(code);
}

JRect JDeskRect() {
    const JRect client = JFrameClientRect();
    return JRect{0, 0, client.Width(), client.Height()};
}
