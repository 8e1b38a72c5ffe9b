// The frame palette. Every display here shows true colour, so these do
// nothing, as a display without a palette allows; they keep the framework's
// calls in one place should a palette display appear.
#pragma once

#include <cstdint>

#include "framework/platform/draw/colour.h"

void JPaletteEditBegin();
void JPaletteAddColour(JColour colour);
void JPaletteRemoveColour(JColour colour);
void JPaletteCommit();
// False (no palette).
bool JNearestPaletteIndex(JColour colour, std::uint8_t* index);
