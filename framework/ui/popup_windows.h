// What the pop-up choice's list and the colour button's grid share: a
// borderless framework window opened over a control, that takes the mouse
// until it closes. A press, drag and release chooses in one gesture; a plain
// click on the control leaves the pop-up open for a second click.
#pragma once

#include "framework/ui/controls.h"

// The control's rectangle in the coordinates pop-up windows are placed in.
JRect JControlDeskRect(const JControl* control);
// Moves `bounds` (content, desk coordinates) into the frame's client area.
JRect JKeepOnDesk(JRect bounds);
// A pop-up window with its content at `bounds`, shown and holding the mouse.
JWindow* JOpenPopupWindow(const JRect& bounds);
// The mouse is held by the pop-up again (after a click left it open).
void JPopupHoldMouse(JWindow* popup);
