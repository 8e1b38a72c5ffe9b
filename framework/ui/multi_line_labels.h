// The multi-line label: text drawn by the framework in the control font,
// broken at line feeds and, when given a width, wrapped at blanks so that no
// line is wider (a single word wider than that keeps its own line).
#pragma once

#include "framework/ui/controls.h"

const ControlKind* JMultiLineLabelKind();
// Breaks the text into lines (a wrap width of 0 breaks at line feeds only),
// then takes its natural size and redraws.
void JMultiLineLabelSetText(JControl* label, const char* text, int wrapWidth);
int JMultiLineLabelLineCount(JControl* label);
const char* JMultiLineLabelLine(JControl* label, int index);  // null past the end
