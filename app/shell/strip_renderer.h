// Turns the canvas into colour on screen. The rows of a rectangle of the
// logical screen are converted a strip of up to 32 rows at a time into an
// off-screen picture of 32-bit pixels, and each strip is copied into the
// current drawing port. Every pixel shows its colour's own 8-bit components,
// unchanged: 255 stays 255.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "app/codec/document.h"
#include "framework/platform/draw/draw_port.h"

constexpr int kStripRows = 32;

struct StripRenderer {
    JSurface strip;  // kStripRows high, as wide as the widest rectangle drawn
    DrawPort port;   // draws on `strip`
    // The 0x00RRGGBB of every pixel value, background included; made for the
    // colour count and background colour noted beside it.
    std::vector<std::uint32_t> shownColours;
    std::size_t tabledColours = 0;
    Rgb tabledBackground;

    StripRenderer() {
        port.kind = DrawPortKind::Picture;
        port.surface = &strip;
    }
    // The port points at the strip of its own record.
    StripRenderer(const StripRenderer&) = delete;
    StripRenderer& operator=(const StripRenderer&) = delete;
};

std::uint32_t ShownColour(const Rgb& colour);

// The shown colour of each pixel of screen row y from left to right
// (exclusive) into `out`; outside the canvas the screen shows background.
void ConvertScreenRow(StripRenderer& renderer, const GifDocument& document, int y, int left,
                      int right, std::uint32_t* out);

// Draws a rectangle of the logical screen into the current port, the
// screen's corner at port point `origin`. The caller clips the rectangle to
// what can be seen.
void RenderScreenRect(StripRenderer& renderer, const GifDocument& document, const FrameRect& rect,
                      JPoint origin);
