// What the framework keeps about the display.
#pragma once

#include "framework/platform/draw/geometry.h"

struct JDisplayInfo {
    int width = 0;
    int height = 0;
    int depth = 32;  // bits per pixel; 1 for monochrome
    int hundredthsMmPerPixelX = 26;
    int hundredthsMmPerPixelY = 26;
    int pixelsPerMetreX = 3780;
    int pixelsPerMetreY = 3780;
    bool usesPalette = false;  // never on this platform: every surface holds true colour
    int freePaletteEntries = 0;
    JRect usableArea;  // the screen without panels and task bars
};

JDisplayInfo JDisplayInformation();
int JDisplayDepth();
JRect JUsableScreenArea();
