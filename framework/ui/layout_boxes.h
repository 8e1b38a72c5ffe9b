// The layout box: a container that stacks its children in a row or a
// column, one spacing apart, and gives out spare room between them (and
// around them, when spread around). Hidden children take no room.
#pragma once

#include "framework/ui/controls.h"

constexpr int kBoxColumn = 0;
constexpr int kBoxRow = 1;
constexpr int kAlignStart = 1;
constexpr int kAlignCentre = 2;
constexpr int kAlignEnd = 3;
// Where a hidden child of a visible box is parked.
constexpr int kParkedPosition = 5000;

const ControlKind* JLayoutBoxKind();
void JBoxSetFramed(JControl* box, bool framed);
void JBoxSetLayout(JControl* box, int orientation, int alignment);
void JBoxSetAlignment(JControl* box, int alignment);
void JBoxSetOrientation(JControl* box, int orientation);
void JBoxSetPacked(JControl* box, bool packed);
void JBoxSetSpreadAround(JControl* box, bool spreadAround);
void JBoxSetSpacing(JControl* box, int spacing);
void JBoxSetFill(JControl* box, JColour colour);
void JBoxSetFilled(JControl* box, bool filled);
JControl* JBoxChildAt(JControl* box, int index);  // null past the end
int JBoxChildCount(JControl* box);
void JBoxInnerSize(JControl* box, int* width, int* height);

// Shows or hides the native windows (edit fields, buttons) inside a
// container as the container shows or hides.
void JContainerShowNative(const std::vector<JControl*>& children, bool shown);
