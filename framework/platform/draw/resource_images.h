// Bitmaps, icons and cursors compiled into the program. They are drawn as
// text art in resources/bitmaps, resources/icons and resources/cursors (the
// format is described in resources/compile_images.cpp), which the build turns
// into tables of pixels, one table per kind, each addressed by resource id.
//
// Bitmaps load like every other bitmap resource, through JLoadPicture,
// JLoadMask or JLoadBitmapResource (bitmaps.h); icons and cursors have
// transparent pixels and load as an image with its mask.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/platform/draw/bitmaps.h"
#include "framework/platform/draw/surface.h"

struct JMaskedImageResource {
    std::uint16_t id;
    int width;
    int height;
    int hotX;  // cursors: the pixel at the pointer's position
    int hotY;
    const std::uint32_t* pixels;  // 0x00RRGGBB, rows top-down; 0 where transparent
    const std::uint8_t* opaque;   // one byte a pixel: 1 opaque, 0 transparent
};

// The compiled tables, sorted by id; defined by the generated source.
const JBitmapResource* JCompiledBitmaps(std::size_t* count);
const JMaskedImageResource* JCompiledIcons(std::size_t* count);
const JMaskedImageResource* JCompiledCursors(std::size_t* count);

// The compiled bitmap of an id, or null.
const JBitmapResource* JCompiledBitmap(std::uint16_t id);

// The program's icon in full colour with soft edges, as the desktop's task
// list and window switcher show it; drawn by the build from the shapes in
// resources/desktop/pindle_icon.txt.
struct JProgramIcon {
    int width;
    int height;
    const std::uint32_t* pixels;  // 0xAARRGGBB, rows top-down
};
JProgramIcon JCompiledProgramIcon();

// An icon or cursor as the drawing layer shows it: copy the mask with the AND
// mode (kCopyAnd), then the image with the OR mode (kCopyOr), and the
// background stays where the image is transparent.
struct JMaskedImage {
    JSurface image;  // black where transparent
    JSurface mask;   // black where opaque, white where transparent
    int hotX = 0;
    int hotY = 0;
};

// False (leaving the record alone) when the resources hold no such image.
bool JLoadIcon(std::uint16_t id, JMaskedImage* icon);
bool JLoadCursor(std::uint16_t id, JMaskedImage* cursor);
