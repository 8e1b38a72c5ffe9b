#include "framework/ui/static_texts.h"

#include <string>

#include "framework/ui/control_drawing.h"

namespace {

struct StaticText : JKindRecord {
    std::string text;
    int style = 0;
};

void Create(JControl* control) {
    control->kindData = std::make_unique<StaticText>();
}

void NaturalSize(JControl* control, int* width, int* height) {
    JUiMeasureText(JKindDataOf<StaticText>(control)->text.c_str(), width, height);
}

void Draw(JControl* control) {
    const StaticText* record = JKindDataOf<StaticText>(control);
    int width = 0;
    int height = 0;
    JUiMeasureText(record->text.c_str(), &width, &height);
    int x = control->left;
    if (record->style == 1) {
        x += (control->width - width) / 2;
    } else if (record->style == 2) {
        x += control->width - width;
    }
    JUiDrawText(x, control->top + (control->height - height) / 2, record->text.c_str(), JUiBlack(),
                control->Enabled());
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("static text");
    kind.create = Create;
    kind.naturalSize = NaturalSize;
    kind.draw = Draw;
    return kind;
}

}  // namespace

const ControlKind* JStaticTextKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JStaticTextSet(JControl* control, const char* text) {
    JKindDataOf<StaticText>(control)->text = text != nullptr ? text : "";
    JControlRedraw(control);
}

const char* JStaticTextGet(JControl* control) {
    return JKindDataOf<StaticText>(control)->text.c_str();
}

void JStaticTextSetStyle(JControl* control, int style) {
    JKindDataOf<StaticText>(control)->style = style;
    control->kind->setSize(control, control->width, control->height);
}
