#include "framework/platform/draw/display.h"

#include "framework/platform/draw/backend.h"

namespace {

int HundredthsPerPixel(int millimetres, int pixels) {
    return millimetres > 0 && pixels > 0 ? (millimetres * 100 + pixels / 2) / pixels : 26;
}

int PixelsPerMetre(int millimetres, int pixels) {
    return millimetres > 0 && pixels > 0 ? (pixels * 1000 + millimetres / 2) / millimetres : 3780;
}

}  // namespace

JDisplayInfo JDisplayInformation() {
    const JDisplayMode mode = JBackendCurrent().display();
    JDisplayInfo info;
    info.width = mode.width;
    info.height = mode.height;
    info.depth = mode.depth < 2 ? 1 : mode.depth;
    info.hundredthsMmPerPixelX = HundredthsPerPixel(mode.widthMillimetres, mode.width);
    info.hundredthsMmPerPixelY = HundredthsPerPixel(mode.heightMillimetres, mode.height);
    info.pixelsPerMetreX = PixelsPerMetre(mode.widthMillimetres, mode.width);
    info.pixelsPerMetreY = PixelsPerMetre(mode.heightMillimetres, mode.height);
    info.usableArea = mode.usableArea;
    return info;
}

int JDisplayDepth() {
    return JDisplayInformation().depth;
}

JRect JUsableScreenArea() {
    return JDisplayInformation().usableArea;
}
