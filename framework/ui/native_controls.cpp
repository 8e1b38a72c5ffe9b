#include "framework/ui/native_controls.h"

JControlSpec JNativeSpec(const JControl* control, const char* text) {
    static int nextId = 1000;
    JControlSpec spec;
    spec.parent = control->owner->platform;
    spec.bounds = control->Rect();
    spec.id = nextId++;
    spec.text = text;
    return spec;
}

void JAttachNative(JControl* control, JWnd native) {
    control->platform = native;
    if (!control->Visible()) {
        JHideWindow(native);
    }
    if (!control->Enabled()) {
        JEnableWindow(native, false);
    }
}
