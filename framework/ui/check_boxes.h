// The check box: a square box with a tick (or a dash when mixed) and a
// label. A press and a release over it invert it; a release outside it
// changes nothing.
#pragma once

#include "framework/ui/controls.h"

using JCheckCallback = void (*)(JControl* check, int checked);

const ControlKind* JCheckBoxKind();
void JCheckSetLabel(JControl* check, const char* label);
// A mixed box takes the value even when it equals the checked state.
void JCheckSet(JControl* check, int value, bool notify);
int JCheckGet(JControl* check);
void JCheckSetMixed(JControl* check, bool mixed);
bool JCheckMixed(JControl* check);
void JCheckSetCallback(JControl* check, JCheckCallback callback);
// The square's rectangle (right and bottom excluded), for drawing and tests.
JRect JCheckSquare(JControl* check);
bool JCheckPressed(JControl* check);
