// The scroll bar: a native vertical platform scroll bar from 0 to a
// maximum. The platform reports a part (line, page, to the end, thumb) and
// the control calls that part's handler, which moves the bar as it sees fit.
#pragma once

#include "framework/ui/controls.h"

using JScrollHandler = void (*)(JControl* bar, int part, int amount);

const ControlKind* JScrollBarKind();
// Negative is taken as 0; a value above the new maximum is lowered to it.
void JScrollSetMaximum(JControl* bar, int maximum);
void JScrollSetValue(JControl* bar, int value);
int JScrollValue(JControl* bar);
// Part: kScrollLine, kScrollPage, kScrollEnd or kScrollThumb.
void JScrollSetHandler(JControl* bar, int part, JScrollHandler handler);
