#include <algorithm>
#include <deque>

#include "framework/platform/draw/frame.h"
#include "framework/platform/system/clock.h"
#include "framework/platform/windows/messages.h"
#include "framework/platform/windows/window_system.h"

namespace {

struct QueueState {
    std::deque<JMessage> messages;
    std::vector<JInputHook> hooks;
    int paintsBegun = 0;
};

QueueState& Queue() {
    static QueueState state;
    return state;
}

bool MatchesFilter(const JMessage& message, JWnd filter) {
    if (filter == kNoWindow) {
        return true;
    }
    return message.type != JMsg::Quit && JIsDescendant(filter, message.window);
}

bool TakeQueued(JMessage* message, JWnd filter, bool remove) {
    auto& messages = Queue().messages;
    auto found = std::find_if(messages.begin(), messages.end(),
                              [filter](const JMessage& m) { return MatchesFilter(m, filter); });
    if (found == messages.end()) {
        return false;
    }
    *message = *found;
    if (remove) {
        messages.erase(found);
    }
    return true;
}

}  // namespace

// Counted by JBeginPaint, so that a paint message nobody painted can be
// validated instead of coming back for ever.
void NotePaintBegun() {
    ++Queue().paintsBegun;
}

void QueueInputMessage(JMessage message) {
    auto& hooks = Queue().hooks;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        if ((*it)(message)) {
            return;
        }
    }
    Queue().messages.push_back(message);
}

void DropMessagesFor(JWnd window) {
    auto& messages = Queue().messages;
    messages.erase(std::remove_if(messages.begin(), messages.end(),
                                  [window](const JMessage& m) { return m.window == window; }),
                   messages.end());
}

JMessage JMakeMessage(JWnd window, JMsg type, int code, int value) {
    JMessage message;
    message.window = window;
    message.type = type;
    message.code = code;
    message.value = value;
    message.time = JTickCount();
    return message;
}

bool JPostMessage(const JMessage& message) {
    if (message.type != JMsg::Quit && !JIsWindow(message.window)) {
        return false;
    }
    Queue().messages.push_back(message);
    return true;
}

JResult JSendMessage(const JMessage& message) {
    return JCallWindowProc(JWindowProcOf(message.window), message.window, message);
}

JResult JSendMessage(JWnd window, JMsg type, int code, int value) {
    return JSendMessage(JMakeMessage(window, type, code, value));
}

bool JPeekMessage(JMessage* message, JWnd filter, unsigned flags) {
    if ((flags & kPeekPaintOnly) == 0) {
        const bool remove = (flags & kPeekRemove) != 0;
        do {
            if (TakeQueued(message, filter, remove)) {
                return true;
            }
        } while (TranslateNextInput());
    }
    const JWnd invalid = FindWindowToPaint(filter);
    if (invalid != kNoWindow) {
        *message = JMakeMessage(invalid, JMsg::Paint);
        return true;
    }
    JComposeFrame();
    return false;
}

void JTranslateMessage(const JMessage& message) {
    if (message.type != JMsg::KeyDown || (message.modifiers & (kModCtrl | kModAlt)) != 0) {
        return;
    }
    const std::uint16_t key = message.key;
    if (key == kKeyBackspace || key == kKeyTab || key == kKeyReturn || key == kKeyEscape) {
        JMessage character = message;
        character.type = JMsg::Char;
        Queue().messages.push_front(character);
    }
}

JResult JDispatchMessage(const JMessage& message) {
    if (message.type != JMsg::Paint) {
        return JSendMessage(message);
    }
    const int paintsBefore = Queue().paintsBegun;
    const JResult result = JSendMessage(message);
    if (Queue().paintsBegun == paintsBefore) {
        JValidateRect(message.window, nullptr);
    }
    return result;
}

JResult JCallWindowProc(JWindowProc proc, JWnd window, const JMessage& message) {
    if (proc == nullptr || !JIsWindow(window)) {
        return 0;
    }
    return proc(window, message);
}

void JPostQuitMessage(int exitCode) {
    JMessage quit;
    quit.type = JMsg::Quit;
    quit.code = exitCode;
    quit.time = JTickCount();
    Queue().messages.push_back(quit);
}

bool JPumpMessages() {
    JMessage message;
    while (JPeekMessage(&message, kNoWindow, kPeekRemove)) {
        if (message.type == JMsg::Quit) {
            return false;
        }
        JTranslateMessage(message);
        JDispatchMessage(message);
    }
    return true;
}

void JFlushMessages() {
    Queue().messages.clear();
    JFrameDropInput();
}

bool JWaitForMessage(std::uint32_t milliseconds) {
    if (!Queue().messages.empty() || FindWindowToPaint(kNoWindow) != kNoWindow) {
        return true;
    }
    return JFrameWaitForInput(milliseconds);
}

void JAddInputHook(JInputHook hook) {
    if (hook != nullptr) {
        Queue().hooks.push_back(hook);
    }
}

void JRemoveInputHook(JInputHook hook) {
    auto& hooks = Queue().hooks;
    hooks.erase(std::remove(hooks.begin(), hooks.end(), hook), hooks.end());
}
