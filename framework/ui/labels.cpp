#include "framework/ui/labels.h"

#include <string>

#include "framework/ui/control_drawing.h"

namespace {

struct Label : JKindRecord {
    std::string text;
    bool framed = true;
    bool textPen = false;
    int textWidth = 0;
    int textHeight = 3;
};

Label* LabelOf(JControl* control) {
    return JKindDataOf<Label>(control);
}

void Create(JControl* control) {
    control->kindData = std::make_unique<Label>();
}

void NaturalSize(JControl* control, int* width, int* height) {
    const Label* label = LabelOf(control);
    const int frame = label->framed ? 4 : 0;
    *width = label->textWidth + frame;
    *height = label->textHeight + frame;
}

void Draw(JControl* control) {
    const Label* label = LabelOf(control);
    if (label->textPen) {
        JSelectPenState(JTextPen());
    }
    const int inset = label->framed ? 2 : 0;
    if (label->framed) {
        JFrameArea(control->Rect(), JUiBlack());
    }
    JUiDrawText(control->left + inset, control->top + inset, label->text.c_str(), JUiBlack(),
                control->Enabled());
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("label");
    kind.create = Create;
    kind.draw = Draw;
    kind.naturalSize = NaturalSize;
    return kind;
}

}  // namespace

const ControlKind* JLabelKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JLabelSetText(JControl* label, const char* text) {
    Label* record = LabelOf(label);
    record->text = text != nullptr ? text : "";
    JUiMeasureText(record->text.c_str(), &record->textWidth, &record->textHeight);
    JControlRedraw(label);
}

const char* JLabelText(JControl* label) {
    return LabelOf(label)->text.c_str();
}

void JLabelSetFramed(JControl* label, bool framed) {
    LabelOf(label)->framed = framed;
    label->kind->setSize(label, label->width, label->height);
}

void JLabelUseTextPen(JControl* label, bool textPen) {
    LabelOf(label)->textPen = textPen;
    JControlRedraw(label);
}
