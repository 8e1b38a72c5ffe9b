#include "framework/ui/custom_buttons.h"

#include "framework/ui/control_drawing.h"

namespace {

constexpr int kBorder = 3;

struct CustomButton : JKindRecord {
    JCustomAction action = nullptr;
    JCustomDraw draw = nullptr;
    JCustomMeasure measure = nullptr;
    std::intptr_t data = 0;
    bool pressed = false;
    bool tracking = false;
    bool isDefault = false;
};

CustomButton* ButtonOf(JControl* control) {
    return JKindDataOf<CustomButton>(control);
}

void Create(JControl* control) {
    control->kindData = std::make_unique<CustomButton>();
}

void NaturalSize(JControl* control, int* width, int* height) {
    CustomButton* button = ButtonOf(control);
    int contentWidth = 16;
    int contentHeight = 16;
    if (button->measure != nullptr) {
        button->measure(control, button->data, &contentWidth, &contentHeight);
    }
    const int grow = button->isDefault ? 2 : 0;
    *width = contentWidth + grow + 2 * kBorder;
    *height = contentHeight + grow + 2 * kBorder;
}

void Draw(JControl* control) {
    const CustomButton* button = ButtonOf(control);
    JRect rect = control->Rect();
    JFillArea(rect, JUiFace());
    if (button->isDefault) {
        JFrameArea(rect, JUiBlack());
        rect = JUiInset(rect, 1);
    }
    if (button->pressed) {
        // Pressed: a dark frame, the face shifted down and right.
        JFrameArea(rect, JUiBlack());
        JFrameArea(JUiInset(rect, 1), JUiShadow());
    } else {
        JUiRing(rect, JUiLight(), JUiBlack());
        JUiRing(JUiInset(rect, 1), JUiFace(), JUiShadow());
    }
    JRect content = JUiInset(control->Rect(), kBorder + (button->isDefault ? 1 : 0));
    if (button->pressed) {
        content = JRectOffset(content, 1, 1);
    }
    if (button->draw != nullptr) {
        button->draw(control, content, button->data, button->pressed);
    }
}

void MouseDown(JControl* control, const JMouseEvent& event) {
    if (!control->Enabled() || (event.modifiers & kUiNotPlainClick) != 0) {
        return;
    }
    ButtonOf(control)->pressed = true;
    ButtonOf(control)->tracking = true;
    JControlRedraw(control);
}

void MouseMoved(JControl* control, int x, int y) {
    CustomButton* button = ButtonOf(control);
    const bool inside = control->Rect().Contains(x, y);
    if (button->tracking && inside != button->pressed) {
        button->pressed = inside;
        JControlRedraw(control);
    }
}

void MouseUp(JControl* control, const JMouseEvent& event) {
    CustomButton* button = ButtonOf(control);
    if (!button->tracking) {
        return;
    }
    MouseMoved(control, event.x, event.y);
    button->tracking = false;
    const bool pressed = button->pressed;
    button->pressed = false;
    JControlRedraw(control);
    if (pressed && button->action != nullptr) {
        button->action(control);
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("custom button");
    kind.create = Create;
    kind.draw = Draw;
    kind.naturalSize = NaturalSize;
    kind.mouseDown = MouseDown;
    kind.mouseMoved = MouseMoved;
    kind.mouseUp = MouseUp;
    return kind;
}

}  // namespace

const ControlKind* JCustomButtonKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JCustomButtonSetAction(JControl* button, JCustomAction action) {
    ButtonOf(button)->action = action;
}

void JCustomButtonSetHooks(JControl* button, JCustomDraw draw, JCustomMeasure measure,
                           std::intptr_t data) {
    ButtonOf(button)->draw = draw;
    ButtonOf(button)->measure = measure;
    ButtonOf(button)->data = data;
}

void JCustomButtonSetDefault(JControl* button, bool isDefault) {
    ButtonOf(button)->isDefault = isDefault;
    JControlRedraw(button);
}

bool JCustomButtonPressed(JControl* button) {
    return ButtonOf(button)->pressed;
}
