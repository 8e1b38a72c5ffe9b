#include "framework/ui/event_loop.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/core/memory.h"
#include "framework/platform/platform.h"
#include "framework/ui/controls.h"
#include "framework/ui/timers.h"

namespace {

constexpr int kMessageBudget = 64;
constexpr std::uint32_t kLongestSleep = 50;
constexpr std::uint32_t kPointerPollInterval = 100;

struct Handler {
    JApplicationHandler handler = nullptr;
    std::intptr_t context = 0;
};

struct LoopState {
    int budget = kMessageBudget;
    int depth = 0;
    bool running = false;
    bool commandLineDone = false;
    bool menuBarMarked = false;
    std::uint32_t lastPointerPoll = 0;
    JWindow* pointerWindow = nullptr;
    Handler handlers[4];
};

LoopState& Loop() {
    static LoopState state;
    return state;
}

void Dispatch(const JMessage& message) {
    if (message.type == JMsg::Quit) {
        Loop().running = false;
        return;
    }
    const JWnd top = JTopLevelOf(message.window);
    if ((JWindowStyle(top) & kWsDialog) != 0 && JIsDialogMessage(top, message)) {
        return;
    }
    JTranslateMessage(message);
    JDispatchMessage(message);
}

// Tells windows when the pointer enters or leaves them.
void PollPointer() {
    LoopState& loop = Loop();
    const std::uint32_t now = JTickCount();
    if (now - loop.lastPointerPoll < kPointerPollInterval) {
        return;
    }
    loop.lastPointerPoll = now;
    const JPoint point = JPointerPosition();
    JWindow* under = JWindowFromPlatform(JWindowFromPoint(point));
    JWindow* before = loop.pointerWindow;
    if (under == before) {
        return;
    }
    loop.pointerWindow = under;
    bool beforeLive = false;
    for (int i = 0; i < JWindowCount(); ++i) {
        beforeLive = beforeLive || JWindowAt(i) == before;
    }
    if (beforeLive) {
        JWindowCall(before, kSlotMouseLeft, JHandlerEvent{});
    }
    if (under != nullptr) {
        JWindowCall(under, kSlotMouseEntered, JHandlerEvent{});
    }
}

std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (const char* c = line; c != nullptr && *c != '\0'; ++c) {
        if (*c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (*c == ' ' && !quoted) {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += *c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

void HandleFileArgument(int event, const std::string& path) {
    FileSpec* file = JFileSpecFromPath(path.c_str());
    if (file == nullptr) {
        return;
    }
    JCallApplicationHandler(event, file);
    JFileSpecFree(file);
}

}  // namespace

void JIdleWait(std::uint32_t milliseconds) {
    JSleep(milliseconds);
}

void JEventStep(JWindow* modal, bool maySleep) {
    LoopState& loop = Loop();
    ++loop.depth;
    JTempMark();
    if (loop.menuBarMarked) {
        loop.menuBarMarked = false;
        JInvalidateMenuBarStrip();
    }
    JMessage message;
    const JWnd filter = modal != nullptr ? modal->platform : kNoWindow;
    if (JPeekMessage(&message, filter, kPeekRemove)) {
        Dispatch(message);
        --loop.budget;
    } else {
        PollPointer();
        loop.budget = 0;
        if (maySleep) {
            const std::int32_t untilTimer = JTimeToNextTimer();
            const std::int32_t wait = untilTimer < 0
                                          ? static_cast<std::int32_t>(kLongestSleep)
                                          : std::min<std::int32_t>(untilTimer, kLongestSleep);
            if (wait > 0) {
                JIdleWait(static_cast<std::uint32_t>(wait));
            }
        }
    }
    if (loop.budget <= 0) {
        loop.budget = kMessageBudget;
        if (modal == nullptr) {
            JRunDueTimer();
        }
    }
    JTempRelease();
    if (--loop.depth == 0) {
        JReleaseDestroyed();
    }
}

void JRunMainLoop() {
    LoopState& loop = Loop();
    loop.running = true;
    if (!loop.commandLineDone) {
        loop.commandLineDone = true;
        JHandleCommandLine();
    }
    while (loop.running && JFrameWindow() != kNoWindow) {
        JEventStep(nullptr, true);
    }
    loop.running = false;
}

void JRunModal(JWindow* window, bool restricted) {
    // The window's record must outlive the steps that destroy it: releases
    // wait until the loop is over.
    LoopState& loop = Loop();
    ++loop.depth;
    while (!window->Destroyed() && JFrameWindow() != kNoWindow) {
        JEventStep(restricted ? window : nullptr, true);
    }
    if (--loop.depth == 0) {
        JReleaseDestroyed();
    }
}

void JQuit() {
    Loop().running = false;
}

bool JMainLoopRunning() {
    return Loop().running;
}

void JSetApplicationHandler(int event, JApplicationHandler handler, std::intptr_t context) {
    if (event >= 0 && event < 4) {
        Loop().handlers[event] = Handler{handler, context};
    }
}

bool JHasApplicationHandler(int event) {
    return event >= 0 && event < 4 && Loop().handlers[event].handler != nullptr;
}

void JCallApplicationHandler(int event, const FileSpec* file) {
    if (!JHasApplicationHandler(event)) {
        return;
    }
    const Handler handler = Loop().handlers[event];
    handler.handler(file, handler.context);
}

void JHandleCommandLine() {
    const std::vector<std::string> words = SplitCommandLine(JCommandLine());
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "/p" && i + 1 < words.size()) {
            HandleFileArgument(kEventPrintDocument, words[i + 1]);
            JCallApplicationHandler(kEventQuitApplication, nullptr);
            return;
        }
        if (word.rfind("--", 0) == 0 || word.empty()) {
            continue;
        }
        HandleFileArgument(kEventOpenDocument, word);
    }
}

void JHandleFileArgument(const std::string& path) {
    HandleFileArgument(kEventOpenDocument, path);
}

void JMarkMenuBarForRedraw() {
    Loop().menuBarMarked = true;
}

int JEventBudget() {
    return Loop().budget;
}
