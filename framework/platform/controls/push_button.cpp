#include "framework/platform/controls/push_button.h"

namespace {

struct ButtonState {
    bool pressed = false;   // drawn pushed in
    bool tracking = false;  // the mouse went down on it and is still down
    bool spaceDown = false;
    bool isDefault = false;  // from kBsDefault at creation, then JPushButtonSetDefault
};

JControlTable<ButtonState>& Buttons() {
    static JControlTable<ButtonState> table;
    return table;
}

bool IsDefault(JWnd button) {
    const ButtonState* state = Buttons().Find(button);
    return state != nullptr && state->isDefault;
}

void SetPressed(JWnd button, ButtonState* state, bool pressed) {
    if (state->pressed != pressed) {
        state->pressed = pressed;
        JInvalidateRect(button, nullptr);
    }
}

// Raised, with a black frame around it when it is the default or has the
// focus; pushed in, a flat shadow frame with the label a pixel down and right.
void Paint(JWnd button) {
    const ButtonState* state = Buttons().Find(button);
    const bool pressed = state != nullptr && state->pressed;
    JPaintControl(button, [&](const JRect& client) {
        JFillArea(client, JSysColour::Face);
        JRect face = client;
        if (IsDefault(button) || JFocusWindow() == button) {
            JFrameArea(face, JSysColour::WindowFrame);
            face = JRect{face.left + 1, face.top + 1, face.right - 1, face.bottom - 1};
        }
        if (pressed) {
            JFrameArea(face, JSysColour::Shadow);
        } else {
            JDrawBevel(face, true);
        }
        const int shift = pressed ? 1 : 0;
        const JRect label = JRectOffset(face, shift, shift);
        JDrawTextIn(label, JWindowTitle(button), JTextAlign::Centre, JSysColour::ButtonText,
                    JIsWindowEnabled(button));
        if (JFocusWindow() == button) {
            JDrawFocusFrame(
                JRect{label.left + 3, label.top + 3, label.right - 3, label.bottom - 3});
        }
    });
}

void MouseDown(JWnd button, ButtonState* state) {
    JSetFocus(button);
    JSetCapture(button);
    state->tracking = true;
    SetPressed(button, state, true);
}

void MouseMove(JWnd button, ButtonState* state, const JMessage& message) {
    if (state->tracking) {
        SetPressed(button, state, JWindowClientRect(button).Contains(message.x, message.y));
    }
}

void MouseUp(JWnd button, ButtonState* state) {
    if (!state->tracking) {
        return;
    }
    state->tracking = false;
    const bool clicked = state->pressed;
    SetPressed(button, state, false);
    if (JCaptureWindow() == button) {
        JReleaseCapture();
    }
    if (clicked) {
        JNotifyParent(button, kNotifyClicked);
    }
}

void Key(JWnd button, ButtonState* state, const JMessage& message) {
    if (message.key != kKeySpace || (message.modifiers & (kModCtrl | kModAlt)) != 0) {
        return;
    }
    if (message.type == JMsg::KeyDown) {
        state->spaceDown = true;
        SetPressed(button, state, true);
    } else if (state->spaceDown) {
        state->spaceDown = false;
        SetPressed(button, state, false);
        JNotifyParent(button, kNotifyClicked);
    }
}

JResult ButtonProc(JWnd button, const JMessage& message) {
    ButtonState* state = Buttons().Find(button);
    switch (message.type) {
        case JMsg::Create:
            Buttons().Add(button)->isDefault = (JWindowStyle(button) & kBsDefault) != 0;
            return 0;
        case JMsg::Destroy:
            Buttons().Remove(button);
            return 0;
        case JMsg::Paint:
            Paint(button);
            return 0;
        case JMsg::GetDialogCode:
            return kDlgButton | (IsDefault(button) ? kDlgDefaultButton : 0);
        case JMsg::SetFocus:
        case JMsg::KillFocus:
        case JMsg::Enable:
            if (state != nullptr && message.type == JMsg::KillFocus) {
                state->spaceDown = false;
                SetPressed(button, state, false);
            }
            JInvalidateRect(button, nullptr);
            return 0;
        default:
            break;
    }
    if (state == nullptr) {
        return JDefWindowProc(button, message);
    }
    switch (message.type) {
        case JMsg::MouseDown:
            MouseDown(button, state);
            return 0;
        case JMsg::MouseMove:
            MouseMove(button, state, message);
            return 0;
        case JMsg::MouseUp:
            MouseUp(button, state);
            return 0;
        case JMsg::CaptureLost:
            state->tracking = false;
            SetPressed(button, state, false);
            return 0;
        case JMsg::KeyDown:
        case JMsg::KeyUp:
            Key(button, state, message);
            return 0;
        default:
            return JDefWindowProc(button, message);
    }
}

}  // namespace

JWnd JCreatePushButton(const JControlSpec& spec) {
    JWindowClass windowClass;
    windowClass.name = kPushButtonClass;
    windowClass.proc = ButtonProc;
    windowClass.background = JSystemColour(JSysColour::Face);
    return JCreateControlWindow(windowClass, spec, kWsTabStop);
}

void JPushButtonSetDefault(JWnd button, bool isDefault) {
    ButtonState* state = Buttons().Find(button);
    if (state != nullptr && state->isDefault != isDefault) {
        state->isDefault = isDefault;
        JInvalidateRect(button, nullptr);
    }
}

bool JPushButtonIsDefault(JWnd button) {
    return IsDefault(button);
}

bool JPushButtonIsPressed(JWnd button) {
    const ButtonState* state = Buttons().Find(button);
    return state != nullptr && state->pressed;
}
