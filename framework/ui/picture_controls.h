// The picture control: a bitmap resource shown at the control's top-left
// corner, drawn by the framework. Its natural size is the bitmap's.
#pragma once

#include "framework/ui/controls.h"

const ControlKind* JPictureKind();
// Shows bitmap resource 4000 + number, releasing the picture shown before;
// a number without a bitmap shows nothing.
void JPictureSetNumber(JControl* picture, int number);
int JPictureNumber(JControl* picture);
