// The custom button: a push button whose face the application draws (the
// playback buttons), inside a 3-pixel frame that looks pressed while the
// mouse is held on it. A press and a release over it call the action.
#pragma once

#include <cstdint>

#include "framework/ui/controls.h"

using JCustomAction = void (*)(JControl* button);
// Draws the face into `content` (window content coordinates).
using JCustomDraw = void (*)(JControl* button, const JRect& content, std::intptr_t data,
                             bool pressed);
using JCustomMeasure = void (*)(JControl* button, std::intptr_t data, int* width, int* height);

const ControlKind* JCustomButtonKind();
void JCustomButtonSetAction(JControl* button, JCustomAction action);
void JCustomButtonSetHooks(JControl* button, JCustomDraw draw, JCustomMeasure measure,
                           std::intptr_t data);
void JCustomButtonSetDefault(JControl* button, bool isDefault);
bool JCustomButtonPressed(JControl* button);
