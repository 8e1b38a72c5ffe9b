// The colour button: a swatch of the current colour; a press opens a grid
// of colours over it, starting on the cell nearest the current colour, and
// a release on a different cell makes that colour current. With Ctrl the
// grid offers 64 shades near the current colour instead.
#pragma once

#include <vector>

#include "framework/ui/controls.h"

using JColourCallback = void (*)(JControl* button, JColour colour, int pattern);

const ControlKind* JColourButtonKind();
void JColourButtonSetColour(JControl* button, JColour colour, int pattern);  // no callback
void JColourButtonGetColour(JControl* button, JColour* colour, int* pattern);
void JColourButtonSetMode(JControl* button, bool colours);  // false: fill patterns
void JColourButtonSetBlackWhite(JControl* button, bool blackWhite);
void JColourButtonSetCallback(JControl* button, JColourCallback callback);

// The colours offered for a display of `depth` bits per pixel with
// `paletteEntries` free palette entries (0: unknown), sorted.
std::vector<JColour> JOfferedColours(int depth, int paletteEntries);
// The grid's colours for a press: black and white, the shades near
// `current` (withShades), or the offered colours.
std::vector<JColour> JColourGridList(JControl* button, bool withShades);
// The cell nearest `colour`: scanning from the last cell, the first with
// a strictly smaller sum of component differences wins.
int JNearestColourCell(const std::vector<JColour>& cells, JColour colour);
void JColourGridShape(int count, int* columns, int* rows);

// The open grid (null when none) and its highlighted cell.
JWindow* JColourGridWindow();
int JColourGridHot();
constexpr int kColourCellPitch = 18;  // a 16-pixel swatch and a 2-pixel gap
constexpr int kColourGridMargin = 3;
