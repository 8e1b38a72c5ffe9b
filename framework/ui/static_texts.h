// Static text: a line of text drawn by the framework in the control font.
#pragma once

#include "framework/ui/controls.h"

const ControlKind* JStaticTextKind();
void JStaticTextSet(JControl* control, const char* text);
const char* JStaticTextGet(JControl* control);
// 0 left-aligned, 1 centred, 2 right-aligned; the size is applied again.
void JStaticTextSetStyle(JControl* control, int style);
