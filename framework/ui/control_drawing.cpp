#include "framework/ui/control_drawing.h"

#include <cstring>

namespace {

struct SharedPens {
    PenState* control = nullptr;
    PenState* text = nullptr;
};

SharedPens& Pens() {
    static SharedPens pens;
    return pens;
}

PenState* MakeTextPen() {
    PenState* before = JCurrentPenState();
    PenState* pen = JPenStateNew();
    JSelectPenState(pen);
    JSetFontFace(kDefaultFontFace);
    JSetFontSize(kDefaultFontSize);
    JSetFontStyle(0);
    if (before != nullptr) {
        JSelectPenState(before);
    }
    return pen;
}

}  // namespace

// The chrome's colours, all from the system colour table.
JColour JUiWhite() {
    return JSystemColour(JSysColour::Light3D);
}
JColour JUiBlack() {
    return JSystemColour(JSysColour::DarkShadow);
}
JColour JUiFace() {
    return JSystemColour(JSysColour::Face);
}
JColour JUiShadow() {
    return JSystemColour(JSysColour::Shadow);
}
JColour JUiLight() {
    return JSystemColour(JSysColour::Light);
}
JColour JUiSelection() {
    return JSystemColour(JSysColour::Highlight);
}
JColour JUiSelectionText() {
    return JSystemColour(JSysColour::HighlightText);
}

void JControlDrawingStartup() {
    Pens().control = MakeTextPen();
    Pens().text = MakeTextPen();
}

PenState* JControlPen() {
    return Pens().control;
}

PenState* JTextPen() {
    return Pens().text;
}

void JDrawControl(JControl* control) {
    const DrawingState saved = JSaveDrawingState();
    if (JControlPen() != nullptr) {
        JSelectPenState(JControlPen());
    }
    const JRect rect = control->Rect();
    JSetClipRects(&rect, 1);
    control->kind->draw(control);
    JRestoreDrawingState(saved);
}

void JUiRing(const JRect& rect, JColour topLeft, JColour bottomRight) {
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    JSetForeColour(topLeft);
    JDrawLine(rect.left, bottom - 1, rect.left, rect.top);
    JDrawLine(rect.left, rect.top, right - 1, rect.top);
    JSetForeColour(bottomRight);
    JDrawLine(right, rect.top, right, bottom);
    JDrawLine(rect.left, bottom, right, bottom);
}

JRect JUiInset(const JRect& rect, int by) {
    return JRect{rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

void JUiMeasureText(const char* text, int* width, int* height) {
    if (text == nullptr || text[0] == '\0') {
        *width = 0;
        *height = 3;
        return;
    }
    const JTextExtent extent = JControlMeasure(text);
    *width = extent.width;
    *height = extent.ascent + extent.descent;
}

void JUiDrawText(int x, int top, const char* text, JColour colour, bool enabled) {
    if (text == nullptr || text[0] == '\0') {
        return;
    }
    const JTextExtent extent = JControlMeasure(text);
    JSetForeColour(colour);
    if (enabled) {
        JDrawText(x, top + extent.ascent, text);
    } else {
        JDrawDisabledText(x, top + extent.ascent, text);
    }
}
