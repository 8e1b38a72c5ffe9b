// Pieces the program's windows are built from: packed layout boxes, plain
// labels, and text measured as the controls draw it.
#pragma once

#include "framework/ui/controls.h"

// A box that packs its children in a row or a column, shown, without a frame.
JControl* NewBox(JControl* parent, int orientation, int alignment, int spacing);
// A label without a frame, shown and sized to its text.
JControl* NewLabel(JControl* parent, const char* text);
// The width of a text in the controls' font.
int TextWidth(const char* text);
