// The spacer: an empty control that keeps the size it is given, to hold
// room in a layout box.
#pragma once

#include "framework/ui/controls.h"

const ControlKind* JSpacerKind();
