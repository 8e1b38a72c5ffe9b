// What a window does with a message its procedure leaves alone.
#include "framework/platform/windows/window_system.h"

namespace {

void (*SystemMenuHook)(JWnd window, JPoint framePoint) = nullptr;

void PostSysCommand(JWnd window, int command, int x, int y) {
    JMessage message = JMakeMessage(window, JMsg::SysCommand, command);
    message.x = x;
    message.y = y;
    JPostMessage(message);
}

void NonClientPress(JWnd window, const JMessage& message) {
    const std::uint32_t style = JWindowStyle(window);
    switch (message.code) {
        case kHitCaption:
            if (message.clicks == 2 && JIsMinimised(window)) {
                PostSysCommand(window, kScRestore, 0, 0);
            } else if (message.clicks == 2 && (style & kWsMaximiseBox) != 0) {
                PostSysCommand(window, JIsMaximised(window) ? kScRestore : kScMaximise, 0, 0);
            } else {
                BeginTracking(window, kHitCaption, JPoint{message.x, message.y});
            }
            break;
        // A caption box acts when the button is released over it.
        case kHitClose:
            BeginBoxTracking(window, kHitClose, kScClose);
            break;
        case kHitMaximise:
            BeginBoxTracking(window, kHitMaximise, JIsMaximised(window) ? kScRestore : kScMaximise);
            break;
        case kHitMinimise:
            BeginBoxTracking(window, kHitMinimise, JIsMinimised(window) ? kScRestore : kScMinimise);
            break;
        case kHitSystemMenu:
            PostSysCommand(window, kScSystemMenu, message.x, message.y);
            break;
        case kHitLeft:
        case kHitRight:
        case kHitTop:
        case kHitBottom:
        case kHitTopLeft:
        case kHitTopRight:
        case kHitBottomLeft:
        case kHitBottomRight:
            BeginTracking(window, static_cast<JHit>(message.code), JPoint{message.x, message.y});
            break;
        default:
            break;
    }
}

// The next window to activate after the active one: the back-most one, so
// that repeated presses go round them all.
void ActivateNextWindow() {
    for (int i = JTopLevelCount() - 1; i >= 0; --i) {
        const JWnd candidate = JTopLevelAt(i);
        if (candidate != JActiveWindow() && JIsWindowVisible(candidate) &&
            (JWindowStyle(candidate) & (kWsNoActivate | kWsTopMost)) == 0) {
            JActivateWindow(candidate);
            return;
        }
    }
}

void SystemCommand(JWnd window, const JMessage& message) {
    switch (message.code) {
        case kScClose:
            JSendMessage(window, JMsg::Close);
            break;
        case kScMaximise:
            JMaximiseWindow(window, true);
            break;
        case kScRestore:
            if (JIsMinimised(window)) {
                JMinimiseWindow(window, false);
            } else {
                JMaximiseWindow(window, false);
            }
            break;
        case kScMinimise:
            JMinimiseWindow(window, true);
            break;
        case kScMove:
        case kScSize:
            BeginKeyboardTracking(window, message.code == kScMove);
            break;
        case kScNextWindow:
            ActivateNextWindow();
            break;
        case kScSystemMenu:
            if (SystemMenuHook != nullptr) {
                SystemMenuHook(window, JPoint{message.x, message.y});
            }
            break;
        default:
            break;
    }
}

// Ctrl+F4 closes a document window and Ctrl+F6 goes to the next one, as the
// system menus say.
void DocumentKeys(JWnd window, const JMessage& message) {
    if (message.modifiers != kModCtrl) {
        return;
    }
    const JWnd top = JTopLevelOf(window);
    if (top == kNoWindow || (JWindowStyle(top) & kWsSystemMenu) == 0) {
        return;
    }
    if (message.key == kKeyF1 + 3) {
        PostSysCommand(top, kScClose, 0, 0);
    } else if (message.key == kKeyF1 + 5) {
        PostSysCommand(top, kScNextWindow, 0, 0);
    }
}

}  // namespace

void JSetSystemMenuHook(void (*show)(JWnd window, JPoint framePoint)) {
    SystemMenuHook = show;
}

JResult JDefWindowProc(JWnd window, const JMessage& message) {
    switch (message.type) {
        case JMsg::Paint: {
            JPaintInfo paint;
            JBeginPaint(window, &paint);
            JEndPaint(window, paint);
            return 0;
        }
        case JMsg::NcMouseDown:
            NonClientPress(window, message);
            return 0;
        case JMsg::SysCommand:
            SystemCommand(window, message);
            return 0;
        case JMsg::KeyDown:
            DocumentKeys(window, message);
            return 0;
        case JMsg::Close: {
            const bool quit = window == JFrameWindow();
            JDestroyWindow(window);
            if (quit) {
                JPostQuitMessage(0);  // after the destruction, which empties the queue
            }
            return 0;
        }
        default:
            return 0;
    }
}
