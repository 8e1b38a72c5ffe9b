#include "framework/ui/push_buttons.h"

#include <string>

#include "framework/ui/native_controls.h"

namespace {

struct PushButton : JKindRecord {
    std::string label;
    JButtonAction action = nullptr;
};

void Create(JControl* control) {
    control->kindData = std::make_unique<PushButton>();
    JAttachNative(control, JCreatePushButton(JNativeSpec(control, "")));
}

void NaturalSize(JControl* control, int* width, int* height) {
    int textWidth = 0;
    int textHeight = 0;
    JUiMeasureText(JKindDataOf<PushButton>(control)->label.c_str(), &textWidth, &textHeight);
    *width = std::max(75, textWidth + 16);
    *height = 23;
}

void Command(JControl* control, int notification) {
    if (notification == kNotifyClicked) {
        JButtonPress(control);
    }
}

ControlKind MakeKind() {
    ControlKind kind = JControlKindDefaults("push button");
    kind.create = Create;
    kind.naturalSize = NaturalSize;
    kind.platformCommand = Command;
    return kind;
}

}  // namespace

const ControlKind* JPushButtonKind() {
    static const ControlKind kind = MakeKind();
    return &kind;
}

void JButtonSetLabel(JControl* button, const char* label) {
    auto* record = JKindDataOf<PushButton>(button);
    record->label = label != nullptr ? label : "";
    JSetWindowTitle(button->platform, record->label.c_str());
    JControlRedraw(button);
}

const char* JButtonLabel(JControl* button) {
    return JKindDataOf<PushButton>(button)->label.c_str();
}

void JButtonSetDefault(JControl* button, bool isDefault) {
    JPushButtonSetDefault(button->platform, isDefault);
}

void JButtonSetAction(JControl* button, JButtonAction action) {
    JKindDataOf<PushButton>(button)->action = action;
}

void JButtonPress(JControl* button) {
    const JButtonAction action = JKindDataOf<PushButton>(button)->action;
    if (button->Enabled() && !button->Deleted() && action != nullptr) {
        action(button);
    }
}
