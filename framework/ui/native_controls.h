// What the kinds built on native platform controls share: the child
// window's spec, attaching it to the control hidden, and sizing.
#pragma once

#include <algorithm>

#include "framework/ui/control_drawing.h"
#include "framework/ui/controls.h"

JControlSpec JNativeSpec(const JControl* control, const char* text);
// Keeps the native window as the control's, hidden until the control shows.
void JAttachNative(JControl* control, JWnd native);
