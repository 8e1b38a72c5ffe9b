// The push button: a native platform button whose press calls the action.
#pragma once

#include "framework/ui/controls.h"

using JButtonAction = void (*)(JControl* button);

const ControlKind* JPushButtonKind();
void JButtonSetLabel(JControl* button, const char* label);
const char* JButtonLabel(JControl* button);
void JButtonSetDefault(JControl* button, bool isDefault);
void JButtonSetAction(JControl* button, JButtonAction action);
// Calls the action when the button is enabled and has one.
void JButtonPress(JControl* button);
