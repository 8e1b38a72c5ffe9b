// What the framework-drawn controls share: the system colours they are
// drawn in, the two shared pen states, and the drawing of one control
// within its window's paint.
#pragma once

#include "framework/ui/controls.h"

// Taken from the platform's system colours.
JColour JUiWhite();
JColour JUiBlack();
JColour JUiFace();
JColour JUiShadow();
JColour JUiLight();
JColour JUiSelection();
JColour JUiSelectionText();

// "MS Sans Serif" at size 15, both; labels may use the second.
PenState* JControlPen();
PenState* JTextPen();
void JControlDrawingStartup();

// Selects the control pen, clips to the control and calls its draw slot.
void JDrawControl(JControl* control);

// A one-pixel ring just inside `rect`: top and left in one colour, bottom
// and right in the other.
void JUiRing(const JRect& rect, JColour topLeft, JColour bottomRight);
JRect JUiInset(const JRect& rect, int by);
// Text measured in the control font: width, and ascent plus descent (an
// empty text is 0 wide and 3 high).
void JUiMeasureText(const char* text, int* width, int* height);
// Left-aligned text whose cell starts at (x, top).
void JUiDrawText(int x, int top, const char* text, JColour colour, bool enabled);
