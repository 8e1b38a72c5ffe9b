// The border box: one child inside a border whose four sides each have a
// style. Styles 0 to 7 are drawn borders (0, 1, 3, 1, 2, 2, 1 and 1 pixels
// wide); a larger style is a plain margin of that many pixels.
#pragma once

#include "framework/ui/controls.h"

const ControlKind* JBorderBoxKind();
void JBorderBoxSetSides(JControl* box, int left, int top, int right, int bottom);
void JBorderBoxInnerRect(JControl* box, JRect* inner);
void JBorderBoxSetFill(JControl* box, JColour colour);
void JBorderBoxSetFilled(JControl* box, bool filled);
int JBorderWidth(int style);
