// The label: one line of text, optionally framed, drawn by the framework.
#pragma once

#include "framework/ui/controls.h"

const ControlKind* JLabelKind();
// Measures the new text and redraws; the size stays as it is.
void JLabelSetText(JControl* label, const char* text);
const char* JLabelText(JControl* label);
// Applies the size again (0 becomes the natural size).
void JLabelSetFramed(JControl* label, bool framed);
// Draws in the second shared text pen instead of the control pen.
void JLabelUseTextPen(JControl* label, bool textPen);
