// The system colours: one table that every piece of window chrome, menu and
// control takes its colours from, so that changing an entry changes the look
// everywhere. It starts with the classic desktop scheme.
#pragma once

#include <cstdint>

#include "framework/platform/draw/colour.h"

enum class JSysColour : std::uint8_t {
    Face,        // buttons, dialogs, frames
    Light3D,     // the lit outer edge of raised things (white)
    Light,       // the softer lit edge inside window frames
    Shadow,      // the shaded inner edge
    DarkShadow,  // the outer shaded edge (black)
    ButtonText,
    Window,  // inside lists and edit fields
    WindowText,
    WindowFrame,       // one-pixel outlines: drop-down lists, default buttons
    ActiveCaption,     // the caption's left end ...
    ActiveCaptionEnd,  // ... and its right end
    InactiveCaption,
    InactiveCaptionEnd,
    CaptionText,
    InactiveCaptionText,
    Menu,
    MenuText,
    Highlight,  // selected items
    HighlightText,
    GreyText,   // disabled text
    ScrollBar,  // the track, dithered with Light3D
    Desktop,
    Count,
};

JColour JSystemColour(JSysColour which);
std::uint32_t JSystemRgb(JSysColour which);  // the surface's 8-bit form
void JSetSystemColour(JSysColour which, JColour colour);
void JResetSystemColours();  // back to the classic scheme
