#include "framework/ui/check_boxes.h"

#include <string>

#include "framework/ui/control_drawing.h"

namespace {

struct CheckBox : JKindRecord {
    int checked = 0;
    bool mixed = false;
    JCheckCallback callback = nullptr;
    std::string label;
    int boxSize = 16;
    int labelGap = 4;
    int labelTop = 0;
    int labelWidth = 0;
    int labelHeight = 3;
    bool pressed = false;
    bool tracking = false;
};

CheckBox* CheckOf(JControl* control) {
    return JKindDataOf<CheckBox>(control);
}

bool Inside(const JControl* control, int x, int y) {
    return control->Rect().Contains(x, y);
}

void Create(JControl* control) {
    control->kindData = std::make_unique<CheckBox>();
}

void NaturalSize(JControl* control, int* width, int* height) {
    const CheckBox* check = CheckOf(control);
    const bool hasLabel = !check->label.empty();
    *width = check->boxSize + 4 + (hasLabel ? check->labelWidth + 4 : 0);
    *height = std::max(check->boxSize, hasLabel ? check->labelHeight : 0) + 4;
}

void SetSize(JControl* control, int width, int height) {
    JDefaultSetSize(control, width, height);
    CheckBox* check = CheckOf(control);
    check->labelTop = (control->height - check->labelHeight) / 2;
}

void DrawMark(const CheckBox& check, const JRect& square) {
    const int left = square.left + 3;
    const int top = square.top + 3;
    const int right = square.right - 1 - 3;
    const int bottom = square.bottom - 1 - 3;
    JSetForeColour(JUiBlack());
    if (check.mixed) {
        const int middle = (top + bottom) / 2;
        JDrawLine(left, middle, right, middle);
        JDrawLine(left, middle + 1, right, middle + 1);
    } else if (check.checked != 0) {
        const int third = (right - left) / 3;
        for (int i = 0; i < 3; ++i) {
            JDrawLine(left, bottom - third - i, left + third, bottom - i);
            JDrawLine(left + third, bottom - i, right, top + third - i);
        }
    }
}

void Draw(JControl* control) {
    const CheckBox* check = CheckOf(control);
    const JRect square = JCheckSquare(control);
    JUiRing(square, JUiShadow(), JUiWhite());
    JUiRing(JUiInset(square, 1), JUiBlack(), JUiLight());
    JFillArea(JUiInset(square, 2), check->pressed ? JUiFace() : JUiWhite());
    DrawMark(*check, square);
    if (!check->label.empty()) {
        JUiDrawText(square.right + check->labelGap, control->top + check->labelTop,
                    check->label.c_str(), JUiBlack(), control->Enabled());
    }
}

void MouseDown(JControl* control, const JMouseEvent& event) {
    if (!control->Enabled() || (event.modifiers & kUiNotPlainClick) != 0) {
        return;
    }
    CheckBox* check = CheckOf(control);
    check->pressed = true;
    check->tracking = true;
    JControlRedraw(control);
}

void MouseMoved(JControl* control, int x, int y) {
    CheckBox* check = CheckOf(control);
    if (!check->tracking) {
        return;
    }
    const bool inside = Inside(control, x, y);
    if (inside != check->pressed) {
        check->pressed = inside;
        JControlRedraw(control);
    }
}

void MouseUp(JControl* control, const JMouseEvent& event) {
    CheckBox* check = CheckOf(control);
    if (!check->tracking) {
        return;
    }
    MouseMoved(control, event.x, event.y);
    check->tracking = false;
    const bool pressed = check->pressed;
    check->pressed = false;
    JControlRedraw(control);
    if (pressed) {
        check->checked = check->checked != 0 ? 0 : 1;
        check->mixed = false;
        if (check->callback != nullptr) {
            check->callback(control, check->checked);  // last: it may delete the box
        }
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("check box");
    kind.create = Create;
    kind.draw = Draw;
    kind.naturalSize = NaturalSize;
    kind.setSize = SetSize;
    kind.mouseDown = MouseDown;
    kind.mouseMoved = MouseMoved;
    kind.mouseUp = MouseUp;
    return kind;
}

}  // namespace

const ControlKind* JCheckBoxKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

JRect JCheckSquare(JControl* control) {
    const int size = CheckOf(control)->boxSize;
    const int left = control->left + 2;
    const int top = control->top + control->height / 2 - size / 2;
    return JRect{left, top, left + size, top + size};
}

void JCheckSetLabel(JControl* control, const char* label) {
    CheckBox* check = CheckOf(control);
    check->label = label != nullptr ? label : "";
    JUiMeasureText(check->label.c_str(), &check->labelWidth, &check->labelHeight);
    check->labelTop = (control->height - check->labelHeight) / 2;
    JControlRedraw(control);
}

void JCheckSet(JControl* control, int value, bool notify) {
    CheckBox* check = CheckOf(control);
    value = value != 0 ? 1 : 0;
    if (check->mixed) {
        check->mixed = false;
    } else if (value == check->checked) {
        return;
    }
    check->checked = value;
    JControlRedraw(control);
    if (notify && check->callback != nullptr) {
        check->callback(control, value);
    }
}

int JCheckGet(JControl* control) {
    return CheckOf(control)->checked;
}

void JCheckSetMixed(JControl* control, bool mixed) {
    CheckBox* check = CheckOf(control);
    if (check->mixed != mixed) {
        check->checked = 0;
        check->mixed = mixed;
        JControlRedraw(control);
    }
}

bool JCheckMixed(JControl* control) {
    return CheckOf(control)->mixed;
}

void JCheckSetCallback(JControl* control, JCheckCallback callback) {
    CheckOf(control)->callback = callback;
}

bool JCheckPressed(JControl* control) {
    return CheckOf(control)->pressed;
}
