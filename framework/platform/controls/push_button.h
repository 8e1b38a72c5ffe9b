// The push button: a raised face with its label, drawn pressed while the
// mouse is held down on it. It takes the focus when clicked; Space presses
// the focused button, and in a dialog-style window Return presses the focused
// button or else the default button (dialog_keys.h). A press sends Command
// (the button's id, kNotifyClicked) to the parent.
#pragma once

#include "framework/platform/controls/control_window.h"

constexpr const char* kPushButtonClass = "button";
constexpr std::uint32_t kBsDefault = kWsControlBit0;  // the default button's heavier frame

// The label is the spec's text; kWsTabStop is added.
JWnd JCreatePushButton(const JControlSpec& spec);
void JPushButtonSetDefault(JWnd button, bool isDefault);
bool JPushButtonIsDefault(JWnd button);
bool JPushButtonIsPressed(JWnd button);  // drawn pressed right now
