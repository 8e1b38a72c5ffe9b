// The progress bar: a sunken bar filled from the left in proportion to its
// value over its maximum. A value past the maximum fills it and no more.
#pragma once

#include <cstdint>

#include "framework/ui/controls.h"

const ControlKind* JProgressBarKind();
void JProgressSetMaximum(JControl* bar, std::int32_t maximum);
void JProgressSetValue(JControl* bar, std::int32_t value);
void JProgressAdvance(JControl* bar, std::int32_t amount);
std::int32_t JProgressValue(JControl* bar);
// The pixels filled now, from the inner area's left edge.
int JProgressFilledWidth(JControl* bar);
// New bars take the thick frame when this is set.
void JProgressSetThickByDefault(bool thick);
