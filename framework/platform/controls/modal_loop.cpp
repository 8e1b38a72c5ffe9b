#include "framework/platform/controls/modal_loop.h"

#include <algorithm>

#include "framework/platform/draw/system_colours.h"
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

JWnd JCreateModalDialog(const char* className, JWindowProc proc, const char* title,
                        std::uint32_t extraStyle, int width, int height) {
    if (!JIsClassRegistered(className)) {
        JWindowClass windowClass;
        windowClass.name = className;
        windowClass.proc = proc;
        windowClass.background = JSystemColour(JSysColour::Face);
        JRegisterClass(windowClass);
    }
    const std::uint32_t style = kWsModalWindow | kWsDialog | extraStyle;
    const JRect borders = JBordersForStyle(style);
    const int outerWidth = width + borders.left + borders.right;
    const int outerHeight = height + borders.top + borders.bottom;
    const JRect frame = JFrameClientRect();
    JWindowSpec spec;
    spec.className = className;
    spec.title = title != nullptr ? title : "";
    spec.style = style;
    spec.parent = JFrameWindow();
    spec.bounds.left = std::max(0, (frame.Width() - outerWidth) / 2);
    spec.bounds.top = std::max(0, (frame.Height() - outerHeight) / 3);
    spec.bounds.right = spec.bounds.left + outerWidth;
    spec.bounds.bottom = spec.bounds.top + outerHeight;
    return JCreateWindow(spec);
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
