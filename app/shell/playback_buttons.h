// The seven playback buttons of a document's frame controls, left to right:
// fast reverse, reverse, one frame back, stop, one frame on, forward, fast
// forward. Each shows its bitmap (517 to 523) or, where the resources lack
// it, a plain drawing of the same symbol.
#pragma once

#include <array>
#include <cstdint>

#include "app/shell/playback.h"
#include "framework/ui/controls.h"

constexpr int kPlaybackButtonCount = 7;
constexpr std::uint16_t kFirstPlaybackBitmap = 517;
constexpr int kPlaybackSymbolSize = 18;  // the bitmaps' width and height

using PlaybackButtons = std::array<JControl*, kPlaybackButtonCount>;

// Adds the buttons, shown, to a container (a row box) when `row` is given,
// else to the window one after another from (left, top). They act on
// `playback`, which must outlive them (both go with the document's windows).
PlaybackButtons AddPlaybackButtons(JWindow* window, JControl* row, Playback& playback, int left = 0,
                                   int top = 0);

// What button 0 to 6 does.
void PressPlaybackButton(Playback& playback, int button);

// Draws the symbol of button 0 to 6 with its top-left corner at (x, y) in
// the current port: the bitmap's dark pixels in `ink`, or the plain drawing.
void DrawPlaybackSymbol(int button, int x, int y, JColour ink);
