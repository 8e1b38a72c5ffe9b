#include "framework/platform/draw/palette.h"

void JPaletteEditBegin() {}

void JPaletteAddColour(JColour) {}

void JPaletteRemoveColour(JColour) {}

void JPaletteCommit() {}

bool JNearestPaletteIndex(JColour, std::uint8_t*) {
    return false;
}
