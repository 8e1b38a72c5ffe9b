#include "framework/platform/controls/modal_loop.h"

#include "framework/platform/system/clock.h"
#include "framework/platform/windows/dialog_keys.h"
#include "framework/platform/windows/window.h"

namespace {

JModalIdleHook& IdleHook() {
    static JModalIdleHook hook = nullptr;
    return hook;
}

}  // namespace

void JSetModalIdleHook(JModalIdleHook hook) {
    IdleHook() = hook;
}

int JRunModalLoop(JWnd dialog, const int* answer, int quitAnswer) {
    while (*answer == 0 && JIsWindow(dialog)) {
        JMessage message;
        if (!JPeekMessage(&message)) {
            if (IdleHook() != nullptr) {
                IdleHook()(dialog);
            }
            JWaitForMessage(50);  // wakes at once on input
            continue;
        }
        if (message.type == JMsg::Quit) {
            JPostQuitMessage(message.code);
            return quitAnswer;
        }
        if (!JIsDialogMessage(dialog, message)) {
            JTranslateMessage(message);
            JDispatchMessage(message);
        }
    }
    return *answer != 0 ? *answer : quitAnswer;
}
