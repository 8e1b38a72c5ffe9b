#include "framework/platform/draw/surface.h"

#include <algorithm>

void JSurfaceResize(JSurface* surface, int width, int height, std::uint32_t fill) {
    surface->width = std::max(width, 0);
    surface->height = std::max(height, 0);
    surface->pixels.assign(static_cast<std::size_t>(surface->width) * surface->height, fill);
}
